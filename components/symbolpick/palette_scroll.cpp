#include "components/symbolpick/palette_scroll.h"

#include "components/symbolpick/palette_model.h"
#include "platform/text/runtime_numbers.h"

#include <algorithm>

namespace tunvale::symbolpick {

void PaletteScroll::reset(int rows)
{
    rows_ = rows;
    canvasHeight_ = PaletteModel::canvasHeight(rows);
    top_ = 0;
    value_ = rows;
}

int PaletteScroll::bottom() const { return std::min(rows_, PaletteModel::VisibleRows); }

void PaletteScroll::setValue(int value)
{
    value = std::clamp(value, bottom(), rows_);
    if (value == value_ || rows_ == 0)
        return;
    value_ = value;
    top_ = -double(canvasHeight_ - 5) * (rows_ - value_) / rows_;
}

void PaletteScroll::wheelTowardsUser()
{
    if (canvasHeight_ < ViewportHeight)
        return;
    top_ -= WheelStep;
    // The test allows the canvas 90 twips below the viewport's bottom, the clamp puts it 90 above.
    if (top_ < ViewportHeight + 90 - canvasHeight_)
        top_ = ViewportHeight - canvasHeight_ - 90;
    followCanvas();
}

void PaletteScroll::wheelAwayFromUser()
{
    if (canvasHeight_ < ViewportHeight)
        return;
    top_ = std::min(top_ + WheelStep, 0.0);
    followCanvas();
}

void PaletteScroll::followCanvas()
{
    const double exact = rows_ + rows_ * top_ / (canvasHeight_ - 5);
    setValue(static_cast<int>(platform::RoundHalfEven(exact)));
}

} // namespace tunvale::symbolpick
