#pragma once

#include <QString>

#include <optional>
#include <vector>

// Small pure helpers of the play commands: the tonic of the key mark, times as the status bar shows
// them, the scroll step that follows the played line, and the bars of a marked drum range.
namespace tunvale::playback {

// The key mark of a score text: the marker U+634F and the key after it (accidental and letter, or the
// letter alone), taken from the marker's line; empty when the text has no marker.
QString GetKeyText(const QString& scoreText);

struct Tonic {
    int ScoreKey = 31;
    bool refused = false; // flat C, sharp E, flat F or sharp B: the user is told, C is played
};

// The tonic of a key text as GetKeyText gives it: 19 (low C) to 54 (high B), 31 for anything else.
Tonic TonicFromKey(const QString& keyText);

inline const QString KeyErrorText = QStringLiteral("音调错误，请重新设置(仍以1=C播放）！");

// Seconds with at least two integer digits and two decimals ("00.00"), halves away from zero.
QString FormatPlaySeconds(double seconds);

// "演奏时长:" and the seconds.
QString PlayTimeText(double seconds);

// The caption of the breakpoint play item while idle.
QString BreakpointCaption(double startPlayTime, double totalPlayTime);

// Lines to scroll the playback view so that a played line end on `row` (0 the top row of the view)
// comes to rows 1 to 3; positive moves the text up.
int ScrollLinesForRow(int row);

// The bars of a drum range marked from `a` to `b` (either order), or none when an end is missing.
std::optional<std::vector<int>> DrumRangeBars(int a, int b);

inline const QString RangeIncompleteText = QStringLiteral("区间设置不完整。");

} // namespace tunvale::playback
