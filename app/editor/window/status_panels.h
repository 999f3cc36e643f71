#pragma once

#include <QStatusBar>

#include <array>

class QLabel;

// The main window's status bar with its ten panels, numbered 1 to 10 as the handlers address them.
// Panel 9 takes the room that is left; panel 10 holds the longer hints.
namespace tunvale::editor {

class StatusPanels : public QStatusBar
{
    Q_OBJECT

public:
    static constexpr int kPanelCount = 10;

    explicit StatusPanels(QWidget* parent = nullptr);

    void setPanelText(int panel, const QString& text);
    QString panelText(int panel) const;
    void setPanelEnabled(int panel, bool enabled);
    bool panelEnabled(int panel) const;
    QLabel* panel(int panel) const;

signals:
    // A click on an enabled panel of an enabled bar.
    void panelClicked(int panel);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::array<QLabel*, kPanelCount> panels_ {};
};

} // namespace tunvale::editor
