#pragma once

// Temporary stand-ins for the character set and play-order functions that are being written
// elsewhere; replaced by the real ones as soon as they are on main.
#include <QString>

#include <vector>

namespace tunvale::notation::seam {

constexpr char16_t kNoteFirst = 0x4E00;
constexpr char16_t kNoteLast = 0x5E13;
constexpr char16_t kTripletNoteFirst = 0x5730;
constexpr char16_t kGraceNoteLast = 0x5BC7;
constexpr char16_t kTempoFirst = 0x5F80;
constexpr char16_t kTempoLast = 0x5F8D;
constexpr char16_t kTempoBack = 0x5F8E;
constexpr char16_t kKeyShiftFirst = 0x5F8F;
constexpr char16_t kKeyShiftBack = 0x5F9B;
constexpr char16_t kFermata = 0x5FEB;
constexpr char16_t kAccidentalFirst = 0x6226;
constexpr char16_t kAccidentalLast = 0x629D;
constexpr char16_t kRapFirst = 0x629E;
constexpr char16_t kRapLast = 0x62A9;
constexpr char16_t kDotFirst = 0x62C2;
constexpr char16_t kDotLast = 0x62CD;
constexpr char16_t kRestFirst = 0x62CE;
constexpr char16_t kRestLast = 0x62D9;
constexpr char16_t kTripletRestFirst = 0x62DA;
constexpr char16_t kTripletRestLast = 0x62FD;
constexpr char16_t kKeyMarker = 0x634F;
constexpr char16_t kHeaderMarker = 0x6350;
constexpr char16_t kSpacer = 0x6351;
constexpr char16_t kDash = 0x6353;
constexpr char16_t kArcDash = 0x6356;

inline int noteBlock(char16_t c) { return (c - kNoteFirst) / 294; }
inline int octaveRow(char16_t c) { return (c - kNoteFirst) % 294 / 42; }
inline int durIndex(char16_t c) { return (c - kNoteFirst) % 42 / 7; }
inline int degree(char16_t c) { return (c - kNoteFirst) % 7 + 1; }

int fontClassOf(const QString& family);
bool isBarLine(char16_t c);
bool isSegMark(char16_t c);
bool isNotationLine(const QString& font, const QString& text);
QString playOrderKey(const QString& notationText);
std::vector<int> defaultPlayOrder(const QString& key);

} // namespace tunvale::notation::seam
