#pragma once

#include <QCursor>
#include <QIcon>

class QStyle;

// The toolbar's icons, all drawn at run time at the size asked for (sharp at any pixel ratio): Qt's
// standard or theme icons for the file, media, undo and redo buttons, the notation buttons as their
// characters in our notation fonts, the rest drawn with QPainter.
namespace tunvale::editor {

QIcon ToolbarIcon(int index, const QStyle* style);

// The editor's pointer while a format brush is on: a brush with the note it changes, a dot above it
// for the pitch brush, a line under it for the duration brush. The hotspot is the brush's tip.
QCursor FormatBrushCursor(bool pitch);

} // namespace tunvale::editor
