#include "components/sequor/core/parser_tables.h"

#include "app/notation/notation_chars.h"

namespace tunvale::sequor {

bool IsBarMark(int code) { return code == SegmentJoinMark || notation::IsBarLine(code); }

int NoteBlockOf(int code)
{
    const auto note = notation::NoteGlyph::decode(code);
    return note ? note->NoteBlock : -1;
}

} // namespace tunvale::sequor
