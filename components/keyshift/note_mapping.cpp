#include "components/keyshift/note_mapping.h"

#include "app/notation/notation_chars.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace tunvale::keyshift {

namespace {

// The mapping, one row per step and recorded accidental. Each cell is the result with no sign in
// effect, "/", the result with a sharp in effect. A result is the degree to write; "#" in front
// writes a sharp, "n" a natural; "'" after it moves into the octave above, "," into the one below;
// "!" is the range warning.
struct MappingRow {
    int shift;
    int recorded;
    std::string_view cells;
};

constexpr std::array<MappingRow, 20> kMappingRows = { {
    { 2, 0, "2/n2 3/n3 #4/4 5/n5 6/n6 7/n7 #1'/1'" },
    { 2, 1, "#2/2 4/3 5/n5 #5/5 #6/6 1'/7 2'/n2'" },
    { 2, -1, "#1/1 #2/2 4/3 #4/4 #5/5 #6/6 1'/7" },
    { 2, 2, "3/n3 #4/4 #5/5 6/n6 7/n7 #1'/1' #2'/2'" },
    { 2, -2, "1/7, 2/n2 3/n3 4/3 5/n5 6/n6 7/n7" },
    { -2, 0, "#6,/6, 1/7, 2/n2 #2/2 4/3 5/n5 6/n6" },
    { -2, 1, "7,/n7, #1/1 #2/2 3/n3 #4/4 #5/5 #6/6" },
    { -2, -1, "!/! 7,/n7, #1/1 2/n2 3/n3 #4/4 #5/5" },
    { -2, 2, "1/7, 2/n2 3/n3 4/3 5/n5 6/n6 7/n7" },
    { -2, -2, "#5,/5, #6,/6, 1/#7, #1/1 #2/2 4/3 5/n5" },
    { 1, 0, "#1/1 #2/2 4/3 #4/4 #5/5 #6/6 1'/7" },
    { 1, 1, "2/n2 3/n3 #4/4 5/n5 6/n6 7/n7 #1'/1'" },
    { 1, -1, "1/7, 2/n2 3/n3 4/3 5/n5 6/n6 7/n7" },
    { 1, 2, "#2/2 4/3 5/n5 #5/5 #6/6 1'/7 2'/n2'" },
    { 1, -2, "7,/n7, #1/1 #2/2 3/n3 #4/4 #5/5 #6/6" },
    { -1, 0, "7,/n7, #1/1 #2/2 3/n3 #4/4 #5/5 #6/6" },
    { -1, 1, "1/7, 2/n2 3/n3 4/3 5/n5 6/n6 7/n7" },
    { -1, -1, "#6,/6, 1/7, 2/n2 #2/2 4/3 5/n5 6/n6" },
    { -1, 2, "#1/1 #2/2 4/3 #4/4 #5/5 #6/6 1'/7" },
    { -1, -2, "6,/n6, 7,/n7, #1/1 2/n2 3/n3 #4/4 #5/5" },
} };

constexpr NoteMove parseResult(std::string_view text)
{
    NoteMove move;
    if (text == "!") {
        move.warning = true;
        return move;
    }
    if (text.front() == '#' || text.front() == 'n') {
        move.sign = text.front() == '#' ? Sign::Sharp : Sign::Natural;
        text.remove_prefix(1);
    }
    move.Degree = text.front() - '0';
    if (text.size() > 1)
        move.octave = text[1] == '\'' ? 1 : -1;
    return move;
}

// [row][degree - 1][running]
using MappingTable = std::array<std::array<std::array<NoteMove, 2>, 7>, 20>;

constexpr MappingTable buildTable()
{
    MappingTable table {};
    for (size_t row = 0; row < kMappingRows.size(); ++row) {
        std::string_view cells = kMappingRows[row].cells;
        for (size_t degree = 0; degree < 7; ++degree) {
            const size_t space = cells.find(' ');
            const std::string_view cell = cells.substr(0, space);
            const size_t slash = cell.find('/');
            table[row][degree][0] = parseResult(cell.substr(0, slash));
            table[row][degree][1] = parseResult(cell.substr(slash + 1));
            cells.remove_prefix(space == std::string_view::npos ? cells.size() : space + 1);
        }
    }
    return table;
}

constexpr MappingTable kMapping = buildTable();

// Rows of the note font, low to high.
constexpr std::array<int, 7> kRowsUpward = { 3, 2, 1, 0, 4, 5, 6 };

} // namespace

NoteMove MappingCell(int shift, int recorded, int degree, int running)
{
    for (size_t row = 0; row < kMappingRows.size(); ++row) {
        if (kMappingRows[row].shift == shift && kMappingRows[row].recorded == recorded && degree >= 1
            && degree <= 7 && (running == 0 || running == 1))
            return kMapping[row][size_t(degree - 1)][size_t(running)];
    }
    return NoteMove { 1, Sign::None, 0, true };
}

int ShiftOctave(int code, bool up)
{
    const int row = (code - notation::NoteGlyph::First) % 294 / 42;
    const int place = int(std::find(kRowsUpward.begin(), kRowsUpward.end(), row) - kRowsUpward.begin());
    const int target = place + (up ? 1 : -1);
    if (target < 0 || target >= int(kRowsUpward.size()))
        return 0;
    return (kRowsUpward[size_t(target)] - row) * 42 + (up ? -7 : 7);
}

std::optional<ShiftedNote> MapShiftedNote(int code, int shift, int recorded, int running)
{
    const int degree = (code - notation::NoteGlyph::First) % 7 + 1;
    const NoteMove move = MappingCell(shift, recorded, degree, running);
    if (move.warning)
        return std::nullopt;
    int step = move.Degree - degree;
    if (move.octave != 0) {
        const int delta = ShiftOctave(code, move.octave > 0);
        if (delta == 0)
            return std::nullopt;
        step = delta + move.Degree - degree + (move.octave > 0 ? 7 : -7);
    }
    return ShiftedNote { code + step, move.sign };
}

} // namespace tunvale::keyshift
