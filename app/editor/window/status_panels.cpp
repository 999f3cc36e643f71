#include "app/editor/window/status_panels.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>

#include <algorithm>

namespace tunvale::editor {

namespace {
// Widths in characters of panels 1 to 8 and 10; panel 9 stretches.
constexpr int kWidths[StatusPanels::kPanelCount] = { 8, 12, 8, 14, 12, 14, 16, 9, 0, 56 };

// A panel that has its width, or its text's when that is longer, while there is room, and gives way
// in a narrow window; a counter never gives way below its text.
class Panel final : public QLabel
{
public:
    Panel(int width, bool counter, QWidget* parent)
        : QLabel(parent)
        , width_(width)
        , counter_(counter)
    {
    }
    QSize sizeHint() const override
    {
        const QSize text = QLabel::sizeHint();
        return { std::max(width_, text.width()), text.height() };
    }
    QSize minimumSizeHint() const override
    {
        const QSize text = QLabel::sizeHint();
        return { counter_ && !this->text().isEmpty() ? text.width() : 0, QLabel::minimumSizeHint().height() };
    }

private:
    int width_;
    bool counter_;
};

bool IsCounter(int number)
{
    return number == int(StatusPanel::Caret) || number == int(StatusPanel::Bar)
        || number == int(StatusPanel::FontSize);
}
} // namespace

StatusPanels::StatusPanels(QWidget* parent)
    : QStatusBar(parent)
{
    setSizeGripEnabled(false);
    const int charWidth = fontMetrics().horizontalAdvance(QChar(0x4E2D)) / 2 + 1;
    for (int i = 0; i < kPanelCount; ++i) {
        const bool stretches = i == 8;
        auto* label = new Panel(kWidths[i] * charWidth, IsCounter(i + 1), this);
        label->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
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
