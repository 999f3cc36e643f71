#pragma once

#include "app/editor/actions/toolbar_table.h"

#include <QToolBar>

#include <array>

class QComboBox;
class QLineEdit;
class QMenu;
class QScrollBar;
class QToolButton;

// The main toolbar: entries 1 to 46 of the toolbar table, their drop-down menus, and at entry 13 the
// instrument list with the tempo and volume boxes. Buttons and drop-down items start unbuilt
// (build_gate.h) and open once the command they run is defined.
namespace tunvale::editor {

// How a button behaves, by the numbers its handlers use: a plain button, a check button that stays
// pressed once clicked, a button with a drop-down arrow.
enum class ButtonStyle { Default = 0, Check = 1, DropDown = 5 };

class MainToolbar : public QToolBar
{
    Q_OBJECT

public:
    explicit MainToolbar(QWidget* parent = nullptr);

    // The entry's action (separators included); nullptr outside 1 to 46.
    QAction* button(int index) const;
    QAction* button(ToolbarButton which) const { return button(int(which)); }
    QToolButton* toolButton(int index) const;
    // The drop-down menu of a button; nullptr when it has none.
    QMenu* dropDown(int index) const;
    // The drop-down item with this exact text, on whichever button it is.
    QAction* dropDownItem(const QString& text) const;

    // Opens the gate of every button and drop-down item that runs `command`.
    void markCommandDefined(const QString& command);

    // A button's Value: 1 pressed, 0 not. A button other than a check button is pressed only while
    // its Value is 1.
    int buttonValue(int index) const;
    void setButtonValue(int index, int value);
    // A drop-down button becomes a check button and back; its drop-down goes and comes with the arrow.
    void setButtonStyle(int index, ButtonStyle style);
    ButtonStyle buttonStyle(int index) const;
    void setButtonVisible(int index, bool visible);

    // The value of the tempo (0) or volume (1) bar.
    int spinValue(int index) const;
    void setSpinValue(int index, int value);

    // The controls at entry 13.
    QComboBox* ComSounds = nullptr;
    QLineEdit* Text_Speed = nullptr;
    QLineEdit* Text_Volume = nullptr;
    std::array<QScrollBar*, 2> VScroll1 {};

signals:
    void buttonClicked(int index);
    void buttonMenuClicked(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* makePlayControls();

    std::array<QAction*, 47> buttons_ {};
    std::array<QMenu*, 47> menus_ {};
    std::array<ButtonStyle, 47> styles_ {};
};

} // namespace tunvale::editor
