#include "app/editor/window/main_toolbar.h"

#include "app/editor/actions/build_gate.h"
#include "app/editor/actions/toolbar_table.h"
#include "app/editor/window/toolbar_icons.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QToolButton>

namespace tunvale::editor {

namespace {
constexpr const char* kCommand = "tunvaleCommand";
} // namespace

MainToolbar::MainToolbar(QWidget* parent)
    : QToolBar(parent)
{
    setObjectName(QStringLiteral("Toolbar1"));
    setMovable(false);
    setFloatable(false);
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    setIconSize(QSize(16, 16));
    for (const ToolbarEntry& entry : ToolbarTable()) {
        QAction* action = nullptr;
        switch (entry.kind) {
        case ButtonKind::Separator:
            action = addSeparator();
            break;
        case ButtonKind::Placeholder:
            action = addWidget(makePlayControls());
            break;
        case ButtonKind::Button:
        case ButtonKind::DropDown:
        case ButtonKind::MenuOnly: {
            action = addAction(ToolbarIcon(entry.index, style()), entry.hint);
            action->setToolTip(entry.hint);
            if (entry.command)
                action->setProperty(kCommand, entry.command->command);
            if (!entry.menuTexts.isEmpty()) {
                auto* menu = new QMenu(this);
                for (const QString& text : entry.menuTexts) {
                    QAction* item = menu->addAction(text);
                    if (const auto command = DropDownCommand(text))
                        item->setProperty(kCommand, command->command);
                    GuardUnbuilt(item);
                    connect(item, &QAction::triggered, this, [this, text] { emit buttonMenuClicked(text); });
                }
                action->setMenu(menu);
                menus_[entry.index] = menu;
                if (entry.kind == ButtonKind::DropDown)
                    styles_[entry.index] = ButtonStyle::DropDown;
                if (auto* tool = qobject_cast<QToolButton*>(widgetForAction(action))) {
                    tool->setPopupMode(entry.kind == ButtonKind::MenuOnly ? QToolButton::InstantPopup
                                                                          : QToolButton::MenuButtonPopup);
                }
            }
            if (entry.kind != ButtonKind::MenuOnly) {
                GuardUnbuilt(action);
                connect(action, &QAction::triggered, this,
                    [this, index = entry.index] { emit buttonClicked(index); });
            }
            break;
        }
        }
        action->setObjectName(QStringLiteral("Toolbar1.Buttons(%1)").arg(entry.index));
        buttons_[entry.index] = action;
    }
}

QWidget* MainToolbar::makePlayControls()
{
    auto* box = new QWidget(this);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(2, 0, 2, 0);
    row->setSpacing(0);

    ComSounds = new QComboBox(box);
    ComSounds->setObjectName(QStringLiteral("ComSounds"));
    ComSounds->setMinimumContentsLength(6);
    ComSounds->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);

    // The box shows the bar's value and takes no typing: the bar's arrows and the wheel change it.
    auto spinBox = [box](const QString& name, const QString& text, const QString& tip) {
        auto* edit = new QLineEdit(text, box);
        edit->setObjectName(name);
        edit->setToolTip(tip);
        edit->setReadOnly(true);
        edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 8);
        edit->setAlignment(Qt::AlignRight);
        return edit;
    };
    auto spinBar = [box](const QString& name, int low, int high, int value) {
        auto* bar = new QScrollBar(Qt::Vertical, box);
        bar->setObjectName(name);
        // A scroll bar's up arrow and the wheel turned up lower its value; the bar holds the negated
        // value, so that they raise the tempo and the volume.
        bar->setRange(-high, -low);
        bar->setValue(-value);
        bar->setFixedWidth(16);
        return bar;
    };
    Text_Speed
        = spinBox(QStringLiteral("Text_Speed"), QStringLiteral("120"), QStringLiteral("音速(拍/分钟)"));
    VScroll1[0] = spinBar(QStringLiteral("VScroll1(0)"), 10, 300, 120);
    Text_Volume = spinBox(QStringLiteral("Text_Volume"), QStringLiteral("98"), QStringLiteral("音量：0-127"));
    VScroll1[1] = spinBar(QStringLiteral("VScroll1(1)"), 0, 127, 98);

    row->addWidget(ComSounds);
    row->addSpacing(4);
    row->addWidget(Text_Speed);
    row->addWidget(VScroll1[0]);
    row->addSpacing(4);
    row->addWidget(Text_Volume);
    row->addWidget(VScroll1[1]);
    Text_Speed->installEventFilter(this);
    Text_Volume->installEventFilter(this);
    const int height = ComSounds->sizeHint().height();
    Text_Speed->setFixedHeight(height);
    Text_Volume->setFixedHeight(height);
    VScroll1[0]->setFixedHeight(height);
    VScroll1[1]->setFixedHeight(height);
    return box;
}

bool MainToolbar::eventFilter(QObject* watched, QEvent* event)
{
    // The wheel over a box turns its bar.
    if (event->type() == QEvent::Wheel) {
        if (watched == Text_Speed || watched == Text_Volume) {
            QCoreApplication::sendEvent(VScroll1[watched == Text_Speed ? 0 : 1], event);
            return true;
        }
    }
    return QToolBar::eventFilter(watched, event);
}

int MainToolbar::spinValue(int index) const { return -VScroll1[std::size_t(index)]->value(); }

void MainToolbar::setSpinValue(int index, int value) { VScroll1[std::size_t(index)]->setValue(-value); }

QAction* MainToolbar::button(int index) const
{
    return index >= 1 && index <= kToolbarButtonCount ? buttons_[index] : nullptr;
}

QToolButton* MainToolbar::toolButton(int index) const
{
    QAction* action = button(index);
    return action ? qobject_cast<QToolButton*>(widgetForAction(action)) : nullptr;
}

QMenu* MainToolbar::dropDown(int index) const
{
    return index >= 1 && index <= kToolbarButtonCount ? menus_[index] : nullptr;
}

QAction* MainToolbar::dropDownItem(const QString& text) const
{
    for (QMenu* menu : menus_) {
        if (!menu)
            continue;
        for (QAction* item : menu->actions()) {
            if (item->text() == text)
                return item;
        }
    }
    return nullptr;
}

void MainToolbar::markCommandDefined(const QString& command)
{
    for (int i = 1; i <= kToolbarButtonCount; ++i) {
        if (buttons_[i]->property(kCommand).toString() == command)
            MarkBuilt(buttons_[i]);
        if (!menus_[i])
            continue;
        bool anyBuilt = false;
        for (QAction* item : menus_[i]->actions()) {
            if (item->property(kCommand).toString() == command)
                MarkBuilt(item);
            anyBuilt = anyBuilt || IsBuilt(item);
        }
        // A button that only opens its menu is of use once one of its items is.
        if (ToolbarTable()[i - 1].kind == ButtonKind::MenuOnly)
            buttons_[i]->setEnabled(anyBuilt);
    }
}

int MainToolbar::buttonValue(int index) const
{
    QAction* action = button(index);
    return action && action->isChecked() ? 1 : 0;
}

void MainToolbar::setButtonValue(int index, int value)
{
    QAction* action = button(index);
    if (!action)
        return;
    if (value)
        action->setCheckable(true);
    action->setChecked(value != 0);
    if (!value && styles_[index] != ButtonStyle::Check)
        action->setCheckable(false);
}

void MainToolbar::setButtonStyle(int index, ButtonStyle style)
{
    QAction* action = button(index);
    if (!action || styles_[index] == style)
        return;
    styles_[index] = style;
    action->setMenu(style == ButtonStyle::DropDown ? menus_[index] : nullptr);
    // The arrow is drawn by the popup mode, whether the button has a menu or not.
    if (QToolButton* tool = toolButton(index))
        tool->setPopupMode(
            style == ButtonStyle::DropDown ? QToolButton::MenuButtonPopup : QToolButton::DelayedPopup);
    action->setCheckable(style == ButtonStyle::Check);
    if (style != ButtonStyle::Check)
        action->setChecked(false);
    // The buttons move at once, so that their places can be used right after.
    layout()->activate();
}

ButtonStyle MainToolbar::buttonStyle(int index) const
{
    return index >= 1 && index <= kToolbarButtonCount ? styles_[index] : ButtonStyle::Default;
}

void MainToolbar::setButtonVisible(int index, bool visible)
{
    if (QAction* action = button(index))
        action->setVisible(visible);
}

} // namespace tunvale::editor
