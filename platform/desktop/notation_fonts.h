#pragma once

#include <QStringList>

namespace tunvale::platform {

// The notation font families, each in the data folder as fonts/<family>.ttf.
const QStringList& notationFontFamilies();

// The name lyrics and titles are stored with; it is shown through an installed Song-style font.
inline const QString kSongFontName = QStringLiteral("宋体");
// The sans-serif of a few windows' text; shown through WenQuanYi Micro Hei, else as "宋体" is.
inline const QString kSansFontName = QStringLiteral("微软雅黑");

// Registers the notation fonts of the data folder with Qt and maps "宋体" to an installed Song-style
// font (AR PL UMing, else any Chinese font) and "微软雅黑" to WenQuanYi Micro Hei. A file is registered
// once per process, however often this runs; returns the paths of the font files that are still missing
// or unreadable.
QStringList loadNotationFonts();

// At start-up: loads the fonts and tells the user once about missing files. The program goes on
// either way; its notation then shows in whatever font Qt falls back to.
void loadNotationFontsAtStartUp();

} // namespace tunvale::platform
