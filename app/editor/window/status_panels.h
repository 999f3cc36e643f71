#pragma once

#include <QStatusBar>

#include <array>

class QLabel;

// The main window's status bar with its ten panels, numbered 1 to 10 as the handlers address them.
// Each panel is as wide as its text; panel 9 takes the room that is left; panel 10 holds the longer
// hints and is the one that gives way when the window is too narrow for every text.
namespace tunvale::editor {

// The panels by their numbers.
enum class StatusPanel {
    Status = 1,
    PlayTime = 2,
    Recording = 3,
    Caret = 4,
    Bar = 5,
    DrumRange = 6,
    Brush = 7,
    FontSize = 8,
    RepeatScale = 9,
    Hint = 10,
};

class StatusPanels : public QStatusBar
{
    Q_OBJECT

public:
    static constexpr int kPanelCount = 10;

    explicit StatusPanels(QWidget* parent = nullptr);

    void setPanelText(StatusPanel panel, const QString& text);
    QString panelText(StatusPanel panel) const;
    void setPanelEnabled(StatusPanel panel, bool enabled);
    bool panelEnabled(StatusPanel panel) const;
    QLabel* panel(StatusPanel panel) const;
    // Panels 4 to 8, which a playback switches off.
    void setEditPanelsEnabled(bool enabled);

signals:
    // A click on an enabled panel of an enabled bar, by the panel's number.
    void panelClicked(int panel);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::array<QLabel*, kPanelCount> panels_ {};
};

} // namespace tunvale::editor
