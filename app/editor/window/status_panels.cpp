#include "app/editor/window/status_panels.h"

#include <QEvent>
#include <QHelpEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

namespace tunvale::editor {

namespace {
// What an empty panel is wide: two characters of the status bar's font.
const QString kEmptyPanel = QStringLiteral("中中");

// A panel as wide as its text (an empty one two characters wide), as the panels of a status bar that
// size to their contents are. Panels 1 to 8 never give way below their texts, which are short; the hint
// panel gives way when the window has no room for every text, and then ends its text with "…" and
// shows it whole as its tool tip.
class Panel final : public QLabel
{
public:
    Panel(bool givesWay, QWidget* parent)
        : QLabel(parent)
        , givesWay_(givesWay)
    {
    }
    QSize sizeHint() const override
    {
        const QSize text = QLabel::sizeHint();
        if (!this->text().isEmpty())
            return text;
        return { fontMetrics().horizontalAdvance(kEmptyPanel) + 2 * frameWidth(), text.height() };
    }
    QSize minimumSizeHint() const override
    {
        const int width = givesWay_ || text().isEmpty() ? 0 : QLabel::sizeHint().width();
        return { width, QLabel::minimumSizeHint().height() };
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        if (!cut()) {
            QLabel::paintEvent(event);
            return;
        }
        QPainter painter(this);
        drawFrame(&painter);
        // A framed label sets its text half an "x" in from the frame.
        const QRect room = contentsRect().adjusted(fontMetrics().horizontalAdvance(QChar(u'x')) / 2, 0, 0, 0);
        style()->drawItemText(&painter, room, int(alignment()), palette(), isEnabled(),
            fontMetrics().elidedText(text(), Qt::ElideRight, room.width()), foregroundRole());
    }
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::ToolTip && toolTip().isEmpty() && cut()) {
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text(), this);
            return true;
        }
        return QLabel::event(event);
    }

private:
    bool cut() const { return !text().isEmpty() && width() < QLabel::sizeHint().width(); }

    bool givesWay_;
};
} // namespace

StatusPanels::StatusPanels(QWidget* parent)
    : QStatusBar(parent)
{
    setSizeGripEnabled(false);
    for (int i = 0; i < kPanelCount; ++i) {
        const int number = i + 1;
        const bool stretches = number == int(StatusPanel::RepeatScale);
        auto* label = new Panel(stretches || number == int(StatusPanel::Hint), this);
        label->setObjectName(QStringLiteral("Panel%1").arg(number));
        label->setFrameShape(QFrame::StyledPanel);
        label->setFrameShadow(QFrame::Sunken);
        label->setTextFormat(Qt::PlainText);
        label->installEventFilter(this);
        label->setSizePolicy(
            stretches ? QSizePolicy::Expanding : QSizePolicy::Preferred, QSizePolicy::Preferred);
        addPermanentWidget(label, stretches ? 1 : 0);
        panels_[i] = label;
    }
}

QLabel* StatusPanels::panel(StatusPanel panel) const
{
    const int number = int(panel);
    if (number < 1 || number > kPanelCount)
        return nullptr;
    return panels_[std::size_t(number - 1)];
}

void StatusPanels::setEditPanelsEnabled(bool enabled)
{
    for (int number = int(StatusPanel::Caret); number <= int(StatusPanel::FontSize); ++number)
        setPanelEnabled(StatusPanel(number), enabled);
}

void StatusPanels::setPanelText(StatusPanel number, const QString& text)
{
    if (QLabel* label = panel(number))
        label->setText(text);
}

QString StatusPanels::panelText(StatusPanel number) const
{
    const QLabel* label = panel(number);
    return label ? label->text() : QString();
}

void StatusPanels::setPanelEnabled(StatusPanel number, bool enabled)
{
    if (QLabel* label = panel(number))
        label->setEnabled(enabled);
}

bool StatusPanels::panelEnabled(StatusPanel number) const
{
    const QLabel* label = panel(number);
    return label && label->isEnabled();
}

bool StatusPanels::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        for (int i = 0; i < kPanelCount; ++i) {
            if (watched == panels_[i] && panels_[i]->isEnabled()) {
                emit panelClicked(i + 1);
                break;
            }
        }
    }
    return QStatusBar::eventFilter(watched, event);
}

} // namespace tunvale::editor
