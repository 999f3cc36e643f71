#pragma once

#include "platform/richtext/rich_text_snapshot.h"

#include <QString>

namespace tunvale::frame {

// The two texts the MIDI export converts.
struct MidiText {
    QString JPWord; // every notation line, in score order, without line ends
    QString JPWord2; // the part of it the selection covers; "" when the selection covers no notation
};

// Joins the notation lines of `score` into the export text: a FontRunMark goes in front of each
// symbol-font character, each main grace-font character and the first character of each grace group
// (the group counters run over the whole text). "掍F" becomes "F", and spacers and "(" are dropped at
// both ends. The selection is the positions selStart <= p < selEnd of the snapshot.
MidiText PrepareMidiText(const platform::RichTextSnapshot& score, int selStart, int selEnd);

} // namespace tunvale::frame
