#include "app/dialogs/notation_palettes.h"

#include "app/notation/notation_chars.h"

namespace tunvale::dialogs {

namespace {

using notation::AccidentalGlyph;
using notation::NoteGlyph;

// The palette's long grace notes are eighths, its short ones sixteenths.
constexpr int kGraceFirstDuration = 1;

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
        return QString(QChar(char16_t(AccidentalGlyph::First + AccidentalGlyph::Sharp))) + keyName;
    case KeyPrefix::Flat:
        return QString(QChar(char16_t(AccidentalGlyph::First + AccidentalGlyph::Flat))) + keyName;
    case KeyPrefix::None:
        break;
    }
    return { keyName };
}

QChar GracePaletteChar(int type, PaletteCell cell)
{
    return { char16_t(NoteGlyph { 0, cell.row, kGraceFirstDuration + type, cell.column + 1 }.code()) };
}

std::optional<PaletteCell> GracePaletteCell(QChar c)
{
    const std::optional<NoteGlyph> note = NoteGlyph::decode(c.unicode());
    if (!note || note->NoteBlock != 0 || note->DurIndex < kGraceFirstDuration
        || note->DurIndex > kGraceFirstDuration + 1)
        return std::nullopt;
    return PaletteCell { note->OctaveRow, note->Degree - 1 };
}

std::vector<int> GraceCodes(const std::vector<PaletteCell>& notes, const GraceGroup& group)
{
    const std::size_t movedByAfterGrace = notes.size() == 1 ? 0 : 1;
    std::vector<int> codes;
    for (std::size_t e = 0; e < notes.size(); ++e) {
        int block = 2 * group.type;
        if (e == 1)
            block += 4;
        if (group.underSlur)
            block += 1;
        if (group.afterGrace && e == movedByAfterGrace)
            block += 4;
        codes.push_back(NoteGlyph { block, notes[e].row, group.YYInitDur, notes[e].column + 1 }.code());
    }
    return codes;
}

} // namespace tunvale::dialogs
