#pragma once

#include <QString>

class QWidget;

// "搜索并打开...": the search component finds a score below a folder and the user picks it.
namespace tunvale::editor {

// Shows the search window above `owner` where opening starts (frame::ScoreBrowseFolder), waits until it closes and returns the
// path the user picked, or an empty string.
QString SearchForScore(QWidget* owner);

} // namespace tunvale::editor
