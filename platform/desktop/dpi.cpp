#include "platform/desktop/dpi.h"

#include "platform/text/runtime_numbers.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace tunvale::platform {

namespace {

double scaledFontSize(int dpi) { return RoundHalfEven(9.0 / (1.0 + (dpi - 96) / 96.0), 3); }

} // namespace

int GetDpi()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? qRound(screen->logicalDotsPerInchX()) : 96;
}

bool ScaleForDpi(TwipsWindow& window, int dpi)
{
    if (dpi <= 0)
        return true;
    const double twipsPerPixel = RoundHalfEven(1440.0 / dpi);
    for (double* side : { &window.height, &window.width, &window.left, &window.top })
        *side = RoundHalfEven(*side / 15.0) * twipsPerPixel;
    window.fontSize = scaledFontSize(dpi);
    return true;
}

bool ScaleForDpi(QWidget& window, int dpi)
{
    if (dpi <= 0)
        return true;
    QFont font = window.font();
    font.setPointSizeF(scaledFontSize(dpi));
    window.setFont(font);
    return true;
}

} // namespace tunvale::platform
