#pragma once

class QWidget;

// Windows laid out for 96 DPI (15 twips per pixel) kept at their look on other screens.
namespace tunvale::platform {

// The screen's horizontal logical pixels per inch; 96 without a screen.
int GetDpi();

// A window's place and size in twips and its font size in points.
struct TwipsWindow {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    double fontSize = 9;
};

// Rescales a window laid out at 15 twips per pixel for `dpi`: each of the four sides becomes
// (value / 15, rounded) x (1440 / dpi, rounded), and the font 9 points scaled to keep its pixel size,
// to 3 decimals (at 120 DPI 4800 twips become 3840 and the font 7.2 points). Always true.
bool ScaleForDpi(TwipsWindow& window, int dpi);

// The same for a widget, whose geometry is in pixels already: only its font size changes.
bool ScaleForDpi(QWidget& window, int dpi);

} // namespace tunvale::platform
