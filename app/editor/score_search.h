#pragma once

#include <QString>

class QWidget;

// "搜索并打开...": the search component finds a score below a folder and the user picks it.
namespace tunvale::editor {

// Where a search starts: the user folder's "vls" (made when missing) when it holds a score, else the
// shipped samples, so a new user's first search finds something.
QString ScoreSearchFolder();

// Shows the search window above `owner` at ScoreSearchFolder(), waits until it closes and returns the
// path the user picked, or an empty string.
QString SearchForScore(QWidget* owner);

} // namespace tunvale::editor
