#pragma once

#include "app/editor/window/main_form.h"

#include <QSize>
#include <QStringList>

#include <memory>

class QWidget;

// The program's start: the values every part reads, the kind of start the arguments ask for, the
// windows, where the window goes and the registration of the open score.
namespace tunvale::editor {

// The main window's size at a start, before the place of the last one ([WinPos]) is applied.
inline constexpr QSize kStartWindowSize { 1000, 720 };

// The values set before any window: drum templates, A4 page and scroll-bar sizes in twips, the typing
// font sizes, the saved flag.
void SetStartValues();

// Shows the window normal, at the screen's top left corner where the platform lets a program place its
// windows, raised and active. False when the window was hidden before (then it is not moved).
bool RestoreWindow(QWidget& window);

// Shows the window where the last one stood ([WinPos] of "MyNote.ini"), `offsetTwips` further right and
// down: the stored rectangle is the window's frame, title bar and border included. A window not shown
// yet is placed before it shows.
void PlaceWindow(QWidget& window, int offsetTwips);

// What [FileN] maps an open score to: this process's id in decimal.
QString ProcessIdText();

// Registers the open score in [FileN] unless another live window shows it; an empty path and the
// template are never registered.
void RegisterOpenScore();

struct StartResult {
    std::unique_ptr<MainForm> window; // shown; none when the program ends at once
    int exitCode = 0;
};

// Starts the program for its arguments (without the program's name).
StartResult StartProgram(const QStringList& args, MainFormServices services = {});

} // namespace tunvale::editor
