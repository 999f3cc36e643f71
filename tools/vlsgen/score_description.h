#pragma once

#include "app/notation/drum_record.h"
#include "app/notation/score_header.h"

#include <QString>

#include <vector>

// A readable description of one score file. One "keyword: value" per line, "#" starts a comment:
//
//   output: vls/molihua.vls    where the file goes, relative to the output folder
//   title: 茉莉花               the first paragraph (may be empty)
//   key: F                     with "time: 2/4", the key line "1=F 2/4" (C D E F G A B)
//   tempo: 72  instrument: 73  volume: 100     header values (defaults 120, 0, 98)
//   notes: 3 5 | 6 - ||        a notation line in the ASCII jianpu of jianpu_text.h
//   lyrics: 好 一 朵 - 美      a lyric line under the last notes line: one syllable per note, - for
//                              a note that continues the syllable before (see LyricsUnderNotes)
//   drum: 1-8 进行曲 2/4 116  a drum pattern for bars 1 to 8 (name, time, tempo), then its tracks:
//   track: 36 110 64 x...x...  General MIDI drum key, volume, pan, one x or . per sixteenth step
//   order: 1,2,2,3             the play order, 1-based segment numbers as in the ini files
//   body: song.rtf             the rich text from an RTF file beside the description instead of title,
//                              key, notes and lyrics (for fonts the jianpu lines cannot write)
//
// Lines keep their order in the score; the header switches keep the new score's defaults.
namespace tunvale::vlsgen {

struct ScoreLine {
    enum class Kind { Notes, Lyrics };
    Kind kind;
    QString text; // notation-font characters for Notes
};

struct ScoreDescription {
    QString output;
    QString title;
    int keyLetter = -1; // 0..6 for C..B, -1 for no key
    int timeSig = -1; // TimeSigCode 0..7, -1 for none
    notation::ScoreHeader header;
    std::vector<ScoreLine> lines;
    notation::DrumStore drums; // one record per bar, from bar 1
    QString order; // empty: each segment once
    QString body; // an RTF file for the rich text; empty: title, key and lines
};

struct DescriptionResult {
    ScoreDescription description;
    QString error; // "line N: ..." when the text could not be read
};

DescriptionResult ReadScoreDescription(const QString& text);

} // namespace tunvale::vlsgen
