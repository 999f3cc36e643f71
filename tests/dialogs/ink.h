#pragma once

#include <QImage>
#include <QRect>

namespace tunvale::testing {

// The smallest rectangle holding every pixel that is not white; empty for a blank image.
QRect InkBounds(const QImage& image);

} // namespace tunvale::testing
