#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// Lays the export text out in play order: the segments between segment marks are repeated and
// re-ordered as the song's order says, and the score bars are listed in the same order for the drums.
namespace tunvale::sequor {

inline const QString OrderSection = QStringLiteral("演唱顺序");
inline const QString NoOrderMessage = QStringLiteral("请先设置好歌曲的“演唱顺序”!");

// One radix-64 digit per segment mark; "0" in front when the text does not begin with a mark and "0"
// behind when it does not end with one.
QString MakeOrderKey(const QString& text);

// The order stored under `key` in [演唱顺序] of "Note.ini", else of "MyNote.ini"; each file is the first
// one found in `folders` in turn (the program folder when empty). "" when neither holds it.
QString ReadOrderString(const QString& key, const QStringList& folders = {});

// How many pieces the segment marks cut the text into (a mark at either end cuts off nothing).
int PieceCount(const QString& text);

// The 0-based pieces an order names, each item read once; items that are no number or name no piece are
// left out.
std::vector<int> OrderPieces(const QString& order, int pieceCount);

// The length of the text in play order (AssemblePlayText), without building it.
qsizetype PlayTextLength(const QString& text, const std::vector<int>& pieces);

// A bar of the play text that holds no written bar.
inline constexpr int NoScoreBar = -1;

// The score bars in play order, entry i for bar i of the play text. Bar 0 begins at the first character
// when the text does not begin with a bar line, else at the first bar line; every further bar line
// begins the next bar.
std::vector<int> BuildBarPlayList(const QString& text, const std::vector<int>& pieces);

// The text in play order: the pieces joined by SegmentJoinMark, with one at either end exactly where
// the text had a segment mark.
QString AssemblePlayText(const QString& text, const std::vector<int>& pieces);

// A selection exported on its own plays as written: every segment mark becomes a plain bar line, so its
// key is "00".
QString SelectionPlayText(const QString& selection);

} // namespace tunvale::sequor
