#pragma once

// A rectangle in twips (1440 per inch), as the layouts of the window and the bar strip compute them
// before they are applied in pixels.
namespace tunvale::platform {

struct TwipsRect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;

    double right() const { return left + width; }
    double bottom() const { return top + height; }
    bool contains(double x, double y) const { return x >= left && x < right() && y >= top && y < bottom(); }
    friend bool operator==(const TwipsRect&, const TwipsRect&) = default;
};

} // namespace tunvale::platform
