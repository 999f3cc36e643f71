#pragma once

#include "app/notation/code_event.h"
#include "platform/richtext/rich_text_snapshot_builder.h"

#include <QString>

#include <string>
#include <vector>

// Scores for compiler tests written in a few words instead of note codes.
//
// A notation paragraph is a list of tokens separated by blanks:
//   1..7 note of the middle octave, a quarter; suffixes: e halves the duration (ee a sixteenth),
//        ' one octave up, , one octave down, t triplet member, ~ arc end that closes a tie
//   0    rest, a quarter (same e suffix)
//   -  . dash, dot          |  plain bar line         ^  segment mark "^"
//   (    "("                 sp spacer               /  the display line wraps here
//   @X   character X in the symbol font (ornament letters, dynamics, accent)
//   gNK:note  grace note of a group of N notes whose deciding kind is K, e.g. g10:1
//   U+XXXX    that code in the main font
namespace tunvale::testing {

class NotationScore
{
public:
    NotationScore& notation(const QString& tokens);
    NotationScore& text(const QString& text); // a title or lyric paragraph
    NotationScore& header(const QString& keyText); // a notation-font line with the key marker
    platform::RichTextSnapshot build() const { return builder_.build(); }

private:
    void startParagraph();

    platform::RichTextSnapshotBuilder builder_;
    bool first_ = true;
};

// "code:length:velocity" of every event that takes time, joined by blanks; lengths as %g.
std::string Sounding(const std::vector<notation::CodeEvent>& events);

// The CharCode of every event as the tokens above would spell the main-font ones, for scan checks.
QString CharCodes(const std::vector<notation::CodeEvent>& events);

} // namespace tunvale::testing
