#pragma once

class QPainter;
class QTextBlock;
class QTextLine;

// Very large characters drawn as outlines. Some PDF viewers leave out text above about 1440 points,
// so the printed page gives characters of such sizes as filled shapes instead of text.
namespace tunvale::dialogs {

// Whether the paragraph holds a character too large to print as text.
bool NeedsOutlines(const QTextBlock& block);

// Draws `line` of `block` as QTextLine::draw does at the painter's origin: each run's background,
// its glyphs filled in its colour (the painter's pen where it has none) and its underline.
void DrawOutlinedLine(QPainter& painter, const QTextBlock& block, const QTextLine& line);

} // namespace tunvale::dialogs
