#pragma once

#include <QIcon>

#include <functional>

class QColor;
class QPainter;
class QRectF;

namespace tunvale::platform {

// Draws into `box` at the size asked for; `ink` is the pen colour of the icon's mode (grey when disabled),
// and a disabled icon draws its colours in it too.
using IconDrawing
    = std::function<void(QPainter& painter, const QRectF& box, const QColor& ink, bool enabled)>;

// An icon painted on demand at every size and pixel ratio, so nothing is scaled from a bitmap.
QIcon DrawnIcon(IconDrawing draw);

} // namespace tunvale::platform
