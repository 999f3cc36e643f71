#pragma once

#include <QObject>

namespace tunvale::editor {

class MainForm;

// One feature of the main window: it connects its own menu items and toolbar commands and implements
// its subsystem's window interface over the window's widgets. The window makes every part at its
// load, owns them and releases them before its widgets.
class MainFormPart : public QObject
{
    Q_OBJECT

public:
    explicit MainFormPart(MainForm& form);
    ~MainFormPart() override;

    // The window is about to close: false keeps it open (the user cancelled).
    virtual bool readyToClose();
    // The window closes: what runs stops.
    virtual void windowClosing();
    // Another score is now in the window: what was kept for the previous one goes.
    virtual void scoreReplaced();

protected:
    MainForm& form_;
};

} // namespace tunvale::editor
