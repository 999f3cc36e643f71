#pragma once

#include <QChar>
#include <QString>

#include <optional>
#include <vector>

// What the key picker and the grace-note dialog offer and give back, without their windows.
namespace tunvale::dialogs {

// A cell of a palette: 0-based row and column.
struct PaletteCell {
    int row = 0;
    int column = 0;
    friend bool operator==(const PaletteCell&, const PaletteCell&) = default;
};

// The key names in three rows (low, middle, high) of seven (C, D, E, F, G, A, B).
inline constexpr int kKeyRows = 3;
inline constexpr int kKeyColumns = 7;
QChar KeyPaletteChar(PaletteCell cell);

// The key picker's prefixes: 0 none, 1 sharp, 2 flat.
enum class KeyPrefix { None = 0, Sharp = 1, Flat = 2 };
// Which prefixes a key takes: no flat before C and F, no sharp before E and B.
bool KeyPrefixAllowed(int column, KeyPrefix prefix);
// The key text: the key name after its prefix.
QString KeyText(QChar keyName, KeyPrefix prefix);

// The grace notes of type `type` (0 long, 1 short): seven rows of octaves (middle, three down, three
// up) of the seven degrees, each an eighth (long) or a sixteenth (short).
inline constexpr int kGraceRows = 7;
inline constexpr int kGraceColumns = 7;
QChar GracePaletteChar(int type, PaletteCell cell);
// The cell of a palette character of either type; none for any other character.
std::optional<PaletteCell> GracePaletteCell(QChar c);

// The codes of a grace group of the palette cells `notes` (one to four): each note in the octave and
// degree of its cell, with the duration of the main note, in the block of the grace type, four blocks
// on for the second note, one more under a slur; an after-grace group moves its first note (a single
// one) or its second note four blocks further.
struct GraceGroup {
    int YYInitDur = 0; // duration index of the main note
    int type = 1; // 0 long, 1 short
    bool underSlur = false;
    bool afterGrace = false;
};
std::vector<int> GraceCodes(const std::vector<PaletteCell>& notes, const GraceGroup& group);

} // namespace tunvale::dialogs
