#pragma once

#include "platform/richtext/font_tally.h"
#include "platform/richtext/rich_text_box.h"

#include <QString>

#include <functional>
#include <vector>

// The limit on the fonts of the score: a change that would leave it in more than a window lays out in
// time is refused before anything of it is made.
namespace tunvale::editor {

// Said when a change of fonts would leave the score in more fonts than the window lays out in time.
inline const QString kFontsRefused
    = QStringLiteral("乐谱用到的字体将超过 %1 种（字体、字号和粗细的搭配），无法显示，没有更改。")
          .arg(platform::kMostFonts);

// Whether [start, start + length) of `box` may give way to text in `formats`, or take the format
// `change` makes of each of its own (RichTextBox::tooManyFontsWith and tooManyFontsAfter); when not,
// kFontsRefused is said.
bool FontsAllowed(
    const platform::RichTextBox& box, int start, int length, const std::vector<platform::RunFormat>& formats);
bool FontChangeAllowed(const platform::RichTextBox& box, int start, int length,
    const std::function<void(platform::RunFormat&)>& change);

} // namespace tunvale::editor
