#pragma once

#include "platform/richtext/rich_text_box.h"

#include <QString>

#include <optional>

// Changing the font size of a stretch of the score: by a percentage or a step in points, each
// character from its own size, so that mixed sizes keep their proportions or their differences; or
// to one size for the whole stretch. Also the shrink-and-raise of a symbol above the line.
namespace tunvale::editor {

struct FontScaling {
    enum class Way { None, Step, Ratio, Size };
    Way way = Way::None;
    double value = 0; // points for Step and Size, a factor for Ratio
};

// The way and value of the font-size dialog's texts: the first non-empty of the step, the percentage
// (a "%" in it ignored) and the absolute size, read as the number it starts with (0 when none).
FontScaling ReadFontScaling(const QString& step, const QString& percent, const QString& size);

// The new size of a character of `size` points by a step or a ratio.
double ScaledSize(double size, const FontScaling& scaling);

// Scales the characters [start, start + length) of `box` by a step or a ratio, stretch by stretch of
// equal size, and leaves the box's selection on the last stretch it changed. Stops at the first
// character whose new size the box refuses and gives its position; the characters before it keep
// their new sizes. Nothing when it succeeded.
std::optional<int> ScaleRange(platform::RichTextBox& box, int start, int length, const FontScaling& scaling);

// `format` with its size scaled by a step or a ratio, or set to a size, kept to the sizes a box takes.
void ScaleFormat(platform::RunFormat& format, const FontScaling& scaling);

// The whole text of `box` as scaling [start, start + length) by a step or a ratio, or to a size, would
// leave it; sizes are kept to those a box takes.
platform::RichContent ScaledText(
    const platform::RichTextBox& box, int start, int length, const FontScaling& scaling);

// The editor's base font size, from which SetScoreFontScale shrinks.
inline constexpr double kEditorBaseFontSize = 24;

// The points of a shrink and raise as the 16-bit number they are stored as, a fraction cut off;
// nothing for no number or one outside that range.
std::optional<int> RaisePointsInRange(double points);

// The size SetScoreFontScale gives: the base size less |points|, at least 1 point.
double ScoreFontScaleSize(int points);

// Shrinks `length` characters from the 1-based `position` to the base size less |points| (at least 1
// point) and raises them by `points` (lowers for a negative number), 20 twips a point. Leaves the
// caret before the first of them. `points` is in the range RaisePointsInRange gives; the caller
// records the undo step.
void SetScoreFontScale(platform::RichTextBox& box, int position, int length, int points);

} // namespace tunvale::editor
