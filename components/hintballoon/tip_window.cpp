#include "components/hintballoon/tip_window.h"

#include <QEnterEvent>
#include <QMouseEvent>

namespace tunvale::hintballoon {

namespace {

// The popup of the process and the number of hint objects that use it.
struct TipShared {
    TipWindow* window = nullptr;
    int TipUsers = 0;
};

TipShared& shared()
{
    static TipShared state;
    return state;
}

} // namespace

TipWindow& TipWindow::acquire()
{
    TipShared& s = shared();
    if (!s.window)
        s.window = new TipWindow();
    ++s.TipUsers;
    return *s.window;
}

void TipWindow::release()
{
    TipShared& s = shared();
    if (--s.TipUsers < 1) {
        s.TipUsers = 0;
        delete s.window;
        s.window = nullptr;
    }
}

TipWindow* TipWindow::current() { return shared().window; }

int TipWindow::TipUsers() { return shared().TipUsers; }

TipWindow::TipWindow()
    : popup_(std::make_unique<HintPopup>())
{
    showTimer_.setSingleShot(true);
    hideTimer_.setSingleShot(true);
    connect(&showTimer_, &QTimer::timeout, this, &TipWindow::showPending);
    connect(&hideTimer_, &QTimer::timeout, this, [this] {
        expired_ = current_;
        hide();
    });
}

TipWindow::~TipWindow()
{
    for (const auto& [tool, owner] : owners_)
        tool->removeEventFilter(this);
}

ClsHintballoon* TipWindow::ownerOf(QWidget* tool) const
{
    const auto it = owners_.find(tool);
    return it == owners_.end() ? nullptr : it->second.data();
}

void TipWindow::watch(QWidget* tool, ClsHintballoon* owner)
{
    if (!owners_.contains(tool)) {
        // The hint follows the pointer over the tool whether or not a button is down.
        tool->setMouseTracking(true);
        tool->installEventFilter(this);
        connect(tool, &QObject::destroyed, this, [this](QObject* gone) { owners_.erase(gone); });
    }
    owners_[tool] = owner;
}

void TipWindow::unwatch(QWidget* tool, const ClsHintballoon* owner)
{
    if (ownerOf(tool) != owner)
        return;
    owners_.erase(tool);
    tool->removeEventFilter(this);
    disconnect(tool, &QObject::destroyed, this, nullptr);
    dismiss(tool);
}

void TipWindow::forgetOwner(const ClsHintballoon* owner)
{
    // The object is going: its hint goes without a word to it.
    if (currentOwner_ == owner) {
        currentOwner_ = nullptr;
        hide();
    }
    for (auto it = owners_.begin(); it != owners_.end();) {
        const auto next = std::next(it);
        if (it->second == owner)
            unwatch(static_cast<QWidget*>(it->first), owner);
        it = next;
    }
}

void TipWindow::dismiss(QWidget* tool)
{
    if (pending_ == tool) {
        showTimer_.stop();
        pending_ = nullptr;
    }
    if (current_ == tool)
        hide();
}

bool TipWindow::eventFilter(QObject* watched, QEvent* event)
{
    auto* tool = static_cast<QWidget*>(watched);
    if (!owners_.contains(watched))
        return false;
    switch (event->type()) {
    case QEvent::Enter:
        expired_ = nullptr;
        wait(tool, static_cast<QEnterEvent*>(event)->globalPosition().toPoint());
        break;
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->buttons() == Qt::NoButton && current_ != tool && expired_ != tool)
            wait(tool, mouse->globalPosition().toPoint());
        break;
    }
    case QEvent::Leave:
        expired_ = nullptr;
        dismiss(tool);
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::Hide:
        // A click or a key ends the hint until the pointer comes again.
        expired_ = tool;
        dismiss(tool);
        break;
    default:
        break;
    }
    return false;
}

void TipWindow::wait(QWidget* tool, QPoint pointer)
{
    pointer_ = pointer;
    pending_ = tool;
    // Right after a hint went, the next tool's hint comes quicker.
    const bool recent = current_ || (sinceHidden_.isValid() && sinceHidden_.elapsed() < delays_.show);
    showTimer_.start(std::max(0, recent ? delays_.reShow : delays_.show));
}

void TipWindow::showPending()
{
    QWidget* tool = pending_;
    pending_ = nullptr;
    if (tool)
        present(tool, true);
}

std::optional<HintLook> TipWindow::lookOf(QWidget* tool, ClsHintballoon* owner)
{
    const ToolRecord* record = owner->tool(tool);
    if (!record || !record->shown)
        return std::nullopt;
    QString text;
    if (record->text) {
        text = *record->text;
    } else {
        emit owner->NeedText(tool, text);
        record = owner->tool(tool); // the handler may have changed the tools
        if (!record || !record->shown)
            return std::nullopt;
    }
    if (text.isEmpty())
        return std::nullopt;
    HintLook look = record->look;
    look.title = look.title.trimmed();
    if (look.title.isEmpty())
        look.icon = ttiNone;
    look.text = text;
    return look;
}

void TipWindow::present(QWidget* tool, bool fresh)
{
    ClsHintballoon* owner = ownerOf(tool);
    const std::optional<HintLook> look = owner ? lookOf(tool, owner) : std::nullopt;
    if (!look) {
        if (current_ == tool)
            hide();
        return;
    }
    const ToolRecord* record = owner->tool(tool);
    const QPoint anchor
        = record->centered ? tool->mapToGlobal(QPoint(tool->width() / 2, tool->height())) : pointer_;
    const bool alreadyUp = current_ == tool && popup_->isVisible();
    popup_->present(*look, anchor, record->centered, fresh && !alreadyUp);
    current_ = tool;
    currentOwner_ = owner;
    if (fresh && !alreadyUp) {
        hideTimer_.start(std::max(0, delays_.autoHide));
        emit owner->Show();
        emit hintShown();
    }
}

void TipWindow::refresh(QWidget* tool)
{
    if (current_ == tool && popup_->isVisible())
        present(tool, false);
}

void TipWindow::hide()
{
    showTimer_.stop();
    hideTimer_.stop();
    const bool wasUp = popup_->isVisible();
    popup_->hide();
    ClsHintballoon* owner = currentOwner_;
    current_ = nullptr;
    currentOwner_ = nullptr;
    if (wasUp) {
        sinceHidden_.start();
        if (owner)
            emit owner->Pop();
    }
}

std::optional<ShownHint> TipWindow::shown() const
{
    if (!current_ || !popup_->isVisible())
        return std::nullopt;
    return ShownHint { current_, currentOwner_, popup_->look(), popup_->rolledIn() };
}

} // namespace tunvale::hintballoon
