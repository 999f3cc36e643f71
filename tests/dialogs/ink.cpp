#include "tests/dialogs/ink.h"

namespace tunvale::testing {

QRect InkBounds(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    QRect bounds;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            if ((line[x] & 0xffffff) != 0xffffff)
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

} // namespace tunvale::testing
