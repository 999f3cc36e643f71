#include "app/drums/bar_strip.h"

#include "app/drums/drum_record_mime.h"
#include "platform/desktop/notation_fonts.h"
#include "platform/desktop/prompts.h"

#include <QDragEnterEvent>
#include <QHelpEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include <array>
#include <cmath>

namespace tunvale::drums {

using platform::PromptAnswer;
using platform::Prompts;

namespace {

constexpr int kFastInterval = 150;
constexpr int kSlowInterval = 400;

const QColor kDrumBack(153, 180, 209);
const QColor kPlainBack(191, 205, 219);
const QColor kMarkDrumBack(96, 176, 192);
const QColor kMarkPlainBack(0, 192, 255);
const QColor kPastBack(255, 255, 255);
const QColor kGrey(128, 128, 128);
const QColor kTrack(0, 128, 0);
const QColor kBevelDark(0, 0, 0);
const QColor kBevelLightBottom(171, 171, 171);
const QColor kBevelLightRight(100, 100, 100);

QColor backOf(LabelLook look)
{
    switch (look) {
    case LabelLook::Drum:
        return kDrumBack;
    case LabelLook::Plain:
        return kPlainBack;
    case LabelLook::MarkDrum:
        return kMarkDrumBack;
    case LabelLook::MarkPlain:
        return kMarkPlainBack;
    case LabelLook::Past:
        break;
    }
    return kPastBack;
}

// Mouse pointers by their numbers.
Qt::CursorShape cursorOf(int pointer)
{
    static constexpr std::array<Qt::CursorShape, 16> shapes = { Qt::ArrowCursor, Qt::ArrowCursor,
        Qt::CrossCursor, Qt::IBeamCursor, Qt::ArrowCursor, Qt::SizeAllCursor, Qt::SizeBDiagCursor,
        Qt::SizeVerCursor, Qt::SizeFDiagCursor, Qt::SizeHorCursor, Qt::UpArrowCursor, Qt::WaitCursor,
        Qt::ForbiddenCursor, Qt::BusyCursor, Qt::WhatsThisCursor, Qt::SizeAllCursor };
    return pointer >= 0 && pointer < int(shapes.size()) ? shapes[std::size_t(pointer)] : Qt::ArrowCursor;
}

int buttonBits(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

int buttonsBits(Qt::MouseButtons buttons)
{
    return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0)
        | (buttons & Qt::MiddleButton ? 4 : 0);
}

int shiftBits(Qt::KeyboardModifiers keys)
{
    return (keys & Qt::ShiftModifier ? 1 : 0) | (keys & Qt::ControlModifier ? 2 : 0)
        | (keys & Qt::AltModifier ? 4 : 0);
}

QAction* addItem(QMenu* menu, const char* name, const QString& caption)
{
    QAction* item = menu->addAction(caption);
    item->setObjectName(QString::fromLatin1(name));
    return item;
}

} // namespace

BarStrip::BarStrip(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("CtrlSlider1"));
    setAutoFillBackground(true);
    setMouseTracking(true);
    setAcceptDrops(true);
    setFixedHeight(int(std::lround(HeightTwips / twipsPerPixel())));
    QFont font(platform::kSongFontName);
    font.setPointSizeF(14.25);
    setFont(font);
    Timer1.setInterval(kFastInterval);
    connect(&Timer1, &QTimer::timeout, this, &BarStrip::stepArrow);
    buildMenus();
}

void BarStrip::buildMenus()
{
    ABC = new QMenu(this);
    ABC->setObjectName(QStringLiteral("ABC"));
    connect(addItem(ABC, "SendtoE", QStringLiteral("编辑")), &QAction::triggered, this,
        [this] { emit SendEdit(geometry_.HotXj); });
    ABC->addSeparator();
    connect(addItem(ABC, "D_CDrum", QStringLiteral("复制")), &QAction::triggered, this, [this] {
        emit CopyDrum(geometry_.HotXj);
        haveCopy_ = true;
    });
    connect(addItem(ABC, "D_PDrum", QStringLiteral("粘贴(&P)")), &QAction::triggered, this,
        &BarStrip::pasteOnHotBar);
    connect(addItem(ABC, "D_PDrumSection", QStringLiteral("粘贴到所选区间")), &QAction::triggered, this,
        [this] { emit PestDrumSection(geometry_.nPlay1, geometry_.nPlay2); });
    connect(addItem(ABC, "D_PDrumAll", QStringLiteral("粘贴到所有")), &QAction::triggered, this,
        [this] { emit PestDrumAll(); });
    ABC->addSeparator();
    connect(
        addItem(ABC, "DelDrum", QStringLiteral("删除")), &QAction::triggered, this, &BarStrip::deleteHotBar);
    connect(addItem(ABC, "DelSection", QStringLiteral("删除所选区间")), &QAction::triggered, this,
        &BarStrip::clearRange);
    connect(addItem(ABC, "DelAll", QStringLiteral("删除所有...")), &QAction::triggered, this,
        &BarStrip::clearAll);
    ABC->addSeparator();
    QMenu* range = ABC->addMenu(QStringLiteral("区间设置"));
    range->menuAction()->setObjectName(QStringLiteral("D_DrumAudition20"));
    connect(addItem(range, "Vls1Audition", QStringLiteral("设置起点   Ctrl+鼠标左击")), &QAction::triggered,
        this, [this] { setPlayRange(1); });
    connect(addItem(range, "Vls2Audition", QStringLiteral("设置终点   Ctrl+鼠标右击")), &QAction::triggered,
        this, [this] { setPlayRange(2); });
    range->addSeparator();
    connect(addItem(range, "ClsPlay12", QStringLiteral("撤销    \u3000\u3000 Shift+鼠标单击")),
        &QAction::triggered, this, [this] { setPlayRange(0); });
    ABC->addSeparator();
    QAction* shortHints = addItem(ABC, "TooTal", QStringLiteral("简洁提示（默认）"));
    shortHints->setCheckable(true);
    shortHints->setChecked(true);
    connect(shortHints, &QAction::triggered, this, [this] { emit SetShowBiaoTi(); });

    CDE = new QMenu(this);
    CDE->setObjectName(QStringLiteral("CDE"));
    speedItem_ = addItem(CDE, "SetSpeed", QStringLiteral("慢速"));
    connect(speedItem_, &QAction::triggered, this, [this] {
        const bool fast = Timer1.interval() == kFastInterval;
        Timer1.setInterval(fast ? kSlowInterval : kFastInterval);
        speedItem_->setText(fast ? QStringLiteral("快速") : QStringLiteral("慢速"));
    });
    CDE->addSeparator();
    connect(addItem(CDE, "ToLeft", QStringLiteral("至最前")), &QAction::triggered, this, [this] {
        geometry_.toFirst();
        update();
        emit XjClick(0);
    });
    connect(addItem(CDE, "ToRight", QStringLiteral("至最后")), &QAction::triggered, this, [this] {
        if (!geometry_.toLast())
            return;
        update();
        emit XjClick(geometry_.MyXj);
    });
}

QColor BarStrip::BackColor() const { return palette().color(QPalette::Window); }

void BarStrip::setBackColor(const QColor& color)
{
    QPalette p = palette();
    p.setColor(QPalette::Window, color);
    setPalette(p);
}

void BarStrip::setIsPlaying(bool playing) { isPlaying_ = playing; }

int BarStrip::MousePointer() const
{
    const auto& labels = geometry_.labels();
    const int e = geometry_.HotLab;
    return e >= 0 && e < int(labels.size()) ? labels[std::size_t(e)].mousePointer : 0;
}

void BarStrip::setMousePointer(int pointer)
{
    const int e = geometry_.HotLab;
    if (e >= 0 && e < int(geometry_.labels().size()))
        geometry_.label(e).mousePointer = pointer;
}

void BarStrip::setBackStyle(int style) { setAutoFillBackground(style != 0); }

void BarStrip::setXJToolTipText(const QString& text)
{
    const int e = geometry_.HotLab;
    if (e >= 0 && e < int(geometry_.labels().size()))
        geometry_.label(e).toolTip = text;
}

void BarStrip::Refresh() { update(); }

void BarStrip::setEnabled(bool enabled)
{
    enabled_ = enabled;
    QWidget::setEnabled(enabled);
}

void BarStrip::setPlayXJ(int bar)
{
    if (geometry_.setPlayXJ(bar))
        update();
}

bool BarStrip::GetValueLong(const std::vector<bool>& XjDrum0, int OnXj1)
{
    valuesGiven_ = true;
    geometry_.GetValueLong(XjDrum0, OnXj1);
    update();
    return true;
}

void BarStrip::setMyXj(int bar)
{
    if (geometry_.setMyXj(bar))
        update();
}

double BarStrip::twipsPerPixel() const { return 1440.0 / logicalDpiX(); }

QPointF BarStrip::twipsAt(QPointF pixels) const { return pixels * twipsPerPixel(); }

QPointF BarStrip::toPixels(double x, double y) const { return QPointF(x, y) / twipsPerPixel(); }

QRectF BarStrip::pixelRect(const TwipsRect& r) const
{
    const double tpp = twipsPerPixel();
    return { r.left / tpp, r.top / tpp, r.width / tpp, r.height / tpp };
}

QPoint BarStrip::labelCentre(int e) const { return pixelRect(geometry_.labelRect(e)).center().toPoint(); }

QPoint BarStrip::arrowCentre(Arrow arrow) const
{
    if (arrow != Arrow::Left && arrow != Arrow::Right)
        return {};
    return pixelRect(geometry_.arrows()[std::size_t(arrow)]).center().toPoint();
}

QPoint BarStrip::pointerCentre() const { return pixelRect(geometry_.pointer()).center().toPoint(); }

int BarStrip::labelOfBar(int bar) const
{
    for (int e = 0; e <= geometry_.LastLab && e < int(geometry_.labels().size()); ++e) {
        const TwipsRect r = geometry_.labelRect(e);
        const bool visible = geometry_.labelAt(r.left + r.width / 2, r.top + r.height / 2) == e;
        if (visible && geometry_.barOf(e) == bar)
            return e;
    }
    return -1;
}

QSize BarStrip::sizeHint() const { return { 200, height() }; }

void BarStrip::resizeEvent(QResizeEvent*)
{
    const double tpp = twipsPerPixel();
    geometry_.resize(width() * tpp, height() * tpp);
    // Qt delivers the resize of a hidden strip only when it shows, after the window pushed its bars.
    if (valuesGiven_)
        geometry_.DrawBars(isPlaying_);
}

void BarStrip::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const double tpp = twipsPerPixel();
    auto line
        = [&](const TwipsLine& l) { p.drawLine(QLineF(l.x1 / tpp, l.y1 / tpp, l.x2 / tpp, l.y2 / tpp)); };
    const auto& labels = geometry_.labels();
    for (int e = 0; e <= geometry_.LastLab && e < int(labels.size()); ++e) {
        const StripLabel& label = labels[std::size_t(e)];
        // Labels outside the slots lie under the side boxes.
        const TwipsRect box = geometry_.labelRect(e);
        if (!label.shown || box.right() <= geometry_.leftBox().right()
            || box.left >= geometry_.rightBox().left)
            continue;
        const int left = int(std::lround(box.left / tpp));
        const int right = int(std::lround(box.right() / tpp));
        const int top = int(std::lround(box.top / tpp));
        const int textColour = e == geometry_.RedLab ? 1 : label.look == LabelLook::Past ? 2 : 0;
        p.drawPixmap(left, top, labelPixmap(label, textColour, right - left));
        p.setPen(kGrey);
        p.drawLine(left, top, left, top + int(std::lround(box.height / tpp)) - 1);
    }
    const Bevel& bevel = geometry_.bevel();
    if (bevel.shown) {
        p.setPen(kBevelDark);
        line(bevel.darkBottom);
        line(bevel.darkRight);
        p.setPen(kBevelLightBottom);
        line(bevel.lightBottom);
        p.setPen(kBevelLightRight);
        line(bevel.lightRight);
    }
    p.fillRect(pixelRect(geometry_.track()), kTrack);
    if (geometry_.XjCount > 0) {
        // The pointer: a needle with its head on the track.
        const QRectF r = pixelRect(geometry_.pointer());
        QPainterPath needle;
        needle.moveTo(r.left(), r.top());
        needle.lineTo(r.right(), r.top());
        needle.lineTo(r.right(), r.top() + r.height() * 0.6);
        needle.lineTo(r.center().x(), r.bottom());
        needle.lineTo(r.left(), r.top() + r.height() * 0.6);
        needle.closeSubpath();
        p.fillPath(needle, QColor(160, 0, 0));
    }
    for (const TwipsRect& box : { geometry_.leftBox(), geometry_.rightBox() })
        p.fillRect(pixelRect(box), BackColor());
    p.setPen(kGrey);
    line(geometry_.leftLine());
    line(geometry_.rightLine());
    for (int i = 0; i < 2; ++i) {
        const QRectF r = pixelRect(geometry_.arrows()[std::size_t(i)]).adjusted(1, 1, -1, -1);
        const bool pressed = arrowPressed_ && int(arrowIndex_) == i;
        p.setPen(pressed ? palette().color(QPalette::Dark) : palette().color(QPalette::Light));
        p.setBrush(pressed ? palette().color(QPalette::Mid) : palette().color(QPalette::Button));
        p.drawRoundedRect(r, 2, 2);
        const QPointF c = r.center() + (pressed ? QPointF(0.5, 0.5) : QPointF());
        const double s = r.width() * 0.3;
        const double dir = i == 0 ? -1 : 1;
        const std::array<QPointF, 3> head = { QPointF(c.x() + dir * s, c.y()),
            QPointF(c.x() - dir * s * 0.6, c.y() - s), QPointF(c.x() - dir * s * 0.6, c.y() + s) };
        p.setPen(Qt::NoPen);
        p.setBrush(palette().color(QPalette::ButtonText));
        p.drawPolygon(head.data(), int(head.size()));
    }
}

const QPixmap& BarStrip::labelPixmap(const StripLabel& label, int textColour, int width)
{
    // A label is drawn once per number, look and colour: a row scrolled or repainted mostly shows
    // labels it showed before, and long numbers cost no more than short ones.
    const qreal ratio = devicePixelRatioF();
    if (ratio != labelRatio_ || labels_.size() > 1024) {
        labels_.clear();
        labelRatio_ = ratio;
    }
    const quint64 key = ((quint64(label.caption) * 8 + quint64(label.look)) * 4 + quint64(textColour)) * 4096
        + quint64(width);
    auto found = labels_.find(key);
    if (found != labels_.end())
        return *found;
    const int height = int(std::lround(StripGeometry::LabelHeight / twipsPerPixel()));
    QPixmap pixmap(QSize(width, height) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(backOf(label.look));
    QPainter p(&pixmap);
    p.setFont(font());
    p.setPen(textColour == 1 ? QColor(255, 0, 0) : textColour == 2 ? kGrey : QColor(0, 0, 0));
    p.drawText(QRect(0, 0, width, height), Qt::AlignCenter, QString::number(label.caption));
    return *labels_.insert(key, pixmap);
}

void BarStrip::updateCursor(QPointF twips)
{
    if (geometry_.onPointer(twips.x(), twips.y())) {
        setCursor(Qt::SizeHorCursor);
    } else if (geometry_.arrowAt(twips.x(), twips.y()) || geometry_.onSideBox(twips.x(), twips.y())) {
        setCursor(Qt::PointingHandCursor);
    } else {
        const int e = geometry_.labelAt(twips.x(), twips.y());
        setCursor(cursorOf(e >= 0 ? geometry_.labels()[std::size_t(e)].mousePointer : 0));
    }
}

void BarStrip::mousePressEvent(QMouseEvent* event)
{
    const QPointF t = twipsAt(event->position());
    const int button = buttonBits(event->button());
    if (const auto arrow = geometry_.arrowAt(t.x(), t.y())) {
        pressArrow(*arrow, button, event->globalPosition().toPoint());
        return;
    }
    if (geometry_.onSideBox(t.x(), t.y()))
        return;
    if (geometry_.onPointer(t.x(), t.y())) {
        if (button == 1) {
            dragging_ = true;
            dragOffset_ = t.x() - geometry_.pointer().left;
        }
        return;
    }
    const int e = geometry_.labelAt(t.x(), t.y());
    if (e >= 0) {
        pressedLabel_ = e;
        pressLabel(e, button, shiftBits(event->modifiers()),
            t - QPointF(geometry_.labels()[std::size_t(e)].left, geometry_.labels()[std::size_t(e)].top));
    }
}

void BarStrip::pressLabel(int e, int button, int shift, QPointF twips)
{
    geometry_.hover(e);
    const int n = geometry_.barOf(e);
    if (n > geometry_.XjCount - 1 || isPlaying_)
        return;
    if (shift == 2) {
        setPlayRange(button);
    } else if (shift == 1) {
        setPlayRange(0);
    } else if (shift == 0 && button == 1) {
        geometry_.pointAt(e);
        update();
        emit XjClick(n);
    } else if (shift == 0 && button == 2) {
        openBarMenu(e, mapToGlobal(labelCentre(e)));
    }
    emit XjMouseDown(n, button, shift, twips.x(), twips.y());
}

void BarStrip::openBarMenu(int e, const QPoint& at)
{
    const int n = geometry_.barOf(e);
    const bool drums = n >= 0 && n < int(geometry_.flags().size()) && geometry_.flags()[std::size_t(n)];
    const bool range = geometry_.nPlay1 >= 0 && geometry_.nPlay2 > 0;
    auto item = [this](const char* name) { return ABC->findChild<QAction*>(QString::fromLatin1(name)); };
    item("D_CDrum")->setEnabled(drums);
    item("D_PDrum")->setEnabled(haveCopy_);
    item("D_PDrumSection")->setEnabled(range && haveCopy_);
    item("D_PDrumAll")->setEnabled(haveCopy_);
    item("DelDrum")->setEnabled(drums);
    item("DelSection")->setEnabled(range);
    item("ClsPlay12")->setEnabled(geometry_.nPlay1 != -1 || geometry_.nPlay2 != -1);
    ABC->popup(at);
}

void BarStrip::pasteOnHotBar()
{
    geometry_.setFlag(geometry_.HotXj, true);
    geometry_.recolour(geometry_.HotLab);
    update();
    emit PestDrum(geometry_.HotXj);
}

void BarStrip::deleteHotBar()
{
    geometry_.setFlag(geometry_.HotXj, false);
    geometry_.recolour(geometry_.HotLab);
    update();
    emit DelaDrum(geometry_.HotXj);
}

void BarStrip::clearRange()
{
    if (Prompts::current().ask({ QStringLiteral("要清空简谱区间鼓点？"), platform::kProgramTitle,
            platform::PromptIcon::Question, platform::PromptButtons::YesNo, PromptAnswer::Yes })
        != PromptAnswer::Yes)
        return;
    geometry_.clearFlags(geometry_.nPlay1, geometry_.nPlay2);
    for (int e = 0; e <= geometry_.LastLab; ++e)
        geometry_.recolour(e);
    update();
    emit DellDrumSection(geometry_.nPlay1, geometry_.nPlay2);
}

void BarStrip::clearAll()
{
    if (Prompts::current().ask({ QStringLiteral("要清空简谱所有鼓点？"), platform::kProgramTitle,
            platform::PromptIcon::Question, platform::PromptButtons::YesNo, PromptAnswer::Yes })
        != PromptAnswer::Yes)
        return;
    geometry_.clearFlags(0, geometry_.XjCount - 1);
    for (int e = 0; e <= geometry_.LastLab; ++e)
        geometry_.recolour(e);
    update();
    emit DelAllDrum();
}

void BarStrip::setPlayRange(int mode)
{
    geometry_.SetPlayRange(mode);
    update();
    emit DrumSection(geometry_.nPlay1, geometry_.nPlay2);
}

void BarStrip::pressArrow(Arrow arrow, int button, const QPoint& at)
{
    if (isPlaying_)
        return;
    if (button == 1) {
        arrowIndex_ = arrow;
        arrowPressed_ = true;
        update();
        stepArrow();
        Timer1.start();
    } else if (button == 2) {
        CDE->popup(at);
    }
}

void BarStrip::stepArrow()
{
    const ArrowStep step = geometry_.StepXj(arrowIndex_);
    if (step.beep)
        Prompts::current().beep();
    emit SetOnXj(step.bar);
}

void BarStrip::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF t = twipsAt(event->position());
    if (dragging_) {
        if (buttonsBits(event->buttons()) == 1) {
            geometry_.dragPointer(t.x() - dragOffset_ - geometry_.pointer().left);
            update();
        }
        return;
    }
    updateCursor(t);
    const int e = geometry_.labelAt(t.x(), t.y());
    if (e < 0)
        return;
    geometry_.hover(e);
    const StripLabel& label = geometry_.labels()[std::size_t(e)];
    emit XjMouseMove(geometry_.HotXj, buttonsBits(event->buttons()), shiftBits(event->modifiers()),
        t.x() - label.left, t.y() - label.top);
}

void BarStrip::mouseReleaseEvent(QMouseEvent* event)
{
    const QPointF t = twipsAt(event->position());
    if (dragging_) {
        dragging_ = false;
        if (const auto bar = geometry_.releasePointer())
            emit SetOnXj(*bar);
        update();
        return;
    }
    if (arrowPressed_ || Timer1.isActive()) {
        arrowPressed_ = false;
        Timer1.stop();
        update();
        return;
    }
    if (pressedLabel_ >= 0) {
        const StripLabel& label = geometry_.labels()[std::size_t(pressedLabel_)];
        pressedLabel_ = -1;
        emit XjMouseUp(geometry_.HotXj, buttonBits(event->button()), shiftBits(event->modifiers()),
            t.x() - label.left, t.y() - label.top);
    }
}

void BarStrip::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPointF t = twipsAt(event->position());
    const int e = geometry_.labelAt(t.x(), t.y());
    if (e < 0)
        return;
    pressedLabel_ = e;
    geometry_.hover(e);
    if (geometry_.HotXj <= geometry_.XjCount - 1 && !isPlaying_)
        emit SendEdit(geometry_.HotXj);
}

int BarStrip::dropLabel(const QMimeData* data, QPointF twips) const
{
    if (!DrumRecordFromMime(data))
        return -1;
    const int e = geometry_.labelAt(twips.x(), twips.y());
    return e >= 0 && geometry_.isBar(e) ? e : -1;
}

void BarStrip::dragEnterEvent(QDragEnterEvent* event)
{
    if (DrumRecordFromMime(event->mimeData()))
        event->acceptProposedAction();
}

void BarStrip::dragMoveEvent(QDragMoveEvent* event)
{
    if (dropLabel(event->mimeData(), twipsAt(event->position())) >= 0)
        event->acceptProposedAction();
    else
        event->ignore();
}

void BarStrip::dropEvent(QDropEvent* event)
{
    const QPointF t = twipsAt(event->position());
    const int e = dropLabel(event->mimeData(), t);
    if (e < 0) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    geometry_.hover(e);
    const StripLabel& label = geometry_.labels()[std::size_t(e)];
    emit OLEDragDrop(geometry_.HotXj, event->mimeData(), int(event->dropAction()),
        buttonsBits(event->buttons()), shiftBits(event->modifiers()), t.x() - label.left, t.y() - label.top);
}

bool BarStrip::event(QEvent* event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange)
        labels_.clear();
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QPointF t = twipsAt(help->pos());
        QString text;
        if (geometry_.arrowAt(t.x(), t.y()))
            text = QStringLiteral("快进/右击设置");
        else if (const int e = geometry_.labelAt(t.x(), t.y()); e >= 0)
            text = geometry_.labels()[std::size_t(e)].toolTip;
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, this);
        return true;
    }
    return QWidget::event(event);
}

} // namespace tunvale::drums
