#pragma once

// Where the palette's grid canvas stands in its viewport, and the value of its scroll bar. The bar runs
// inverted: its value is the row count at the top and VisibleRows at the bottom. The wheel moves the
// canvas by a fixed step and snaps it to the bar's position whenever the bar's rounded value changes.
// Lengths are twips; the canvas top is 0 or negative.
namespace tunvale::symbolpick {

class PaletteScroll
{
public:
    static constexpr int ViewportHeight = 4905;
    static constexpr int WheelStep = 200;

    // A freshly drawn grid of `rows` rows: canvas at the top, the bar at its top value.
    void reset(int rows);

    int rows() const { return rows_; }
    int canvasHeight() const { return canvasHeight_; }
    double top() const { return top_; }
    int value() const { return value_; }
    // The bar's range: bottom() <= value() <= rows().
    int bottom() const;

    // The user moved the bar: the canvas snaps to the row position of `value`. Nothing happens when the
    // value is the current one.
    void setValue(int value);
    // The wheel turned towards the user (the content moves up) or away from the user.
    void wheelTowardsUser();
    void wheelAwayFromUser();

private:
    void followCanvas();

    int rows_ = 0;
    int canvasHeight_ = 0;
    double top_ = 0;
    int value_ = 0;
};

} // namespace tunvale::symbolpick
