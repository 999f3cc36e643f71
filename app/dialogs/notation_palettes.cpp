#include "app/dialogs/notation_palettes.h"

#include "app/notation/notation_chars.h"

namespace tunvale::dialogs {

namespace {

constexpr int kBlock = 294;
constexpr int kOctave = 42;
constexpr int kDuration = 7;
constexpr int kSharp = 0x6226;
constexpr int kFlat = 0x6227;
// The first grace-palette character: block 0, middle octave, an eighth, degree 1.
constexpr int kGraceFirst = notation::NoteGlyph::First + kDuration;

} // namespace

QChar KeyPaletteChar(PaletteCell cell)
{
    return { char16_t(notation::KeyNameGlyph::First + cell.row * kKeyColumns + cell.column) };
}

bool KeyPrefixAllowed(int column, KeyPrefix prefix)
{
    if (prefix == KeyPrefix::Flat)
        return column != 0 && column != 3;
    if (prefix == KeyPrefix::Sharp)
        return column != 2 && column != 6;
    return true;
}

QString KeyText(QChar keyName, KeyPrefix prefix)
{
    switch (prefix) {
    case KeyPrefix::Sharp:
        return QString(QChar(char16_t(kSharp))) + keyName;
    case KeyPrefix::Flat:
        return QString(QChar(char16_t(kFlat))) + keyName;
    case KeyPrefix::None:
        break;
    }
    return { keyName };
}

QChar GracePaletteChar(int type, PaletteCell cell)
{
    return { char16_t(kGraceFirst + kDuration * type + kOctave * cell.row + cell.column) };
}

std::optional<PaletteCell> GracePaletteCell(QChar c)
{
    const int n = c.unicode() - kGraceFirst;
    if (n < 0 || n >= kOctave * kGraceRows || (n % kOctave) / kDuration > 1)
        return std::nullopt;
    return PaletteCell { n / kOctave, n % kDuration };
}

std::vector<int> GraceCodes(const std::vector<PaletteCell>& notes, const GraceGroup& group)
{
    std::vector<int> codes;
    for (std::size_t e = 0; e < notes.size(); ++e) {
        int code = notation::NoteGlyph::First + kOctave * notes[e].row + kDuration * group.YYInitDur
            + notes[e].column + 2 * kBlock * group.type;
        if (e == 1)
            code += 4 * kBlock;
        if (group.underSlur)
            code += kBlock;
        codes.push_back(code);
    }
    if (group.afterGrace && !codes.empty())
        codes[codes.size() == 1 ? 0 : 1] += 4 * kBlock;
    return codes;
}

} // namespace tunvale::dialogs
