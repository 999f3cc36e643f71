#pragma once

#include "app/notation/drum_record.h"
#include "components/sequor/core/export_options.h"
#include "components/sequor/core/loaded_order.h"
#include "components/sequor/core/score_event.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// The export from text to Standard MIDI File (format 1, 120 ticks per quarter note): play order,
// parse, then the conductor track and the music tracks, written once the whole file is built.
namespace tunvale::sequor {

struct ExportInput {
    QString text; // the notation lines joined, a FontRunMark before each grace-font or symbol-font run
    int OldSpeed1 = 120; // beats per minute
    QString JeiPai1 = QStringLiteral("4/4");
    int OldYDiao1 = 0; // key shift in semitones from C
    int ComSoundsListIndex1 = 0; // melody program
    int Text_VolumeText1 = 98; // melody volume
    std::span<const notation::DrumRecord> drums; // one record per score bar
    ExportOptions options;
    QStringList folders; // where "Note.ini" and "MyNote.ini" are looked up; empty: the program folder
    std::optional<LoadedOrder> loadedOrder;
    std::optional<std::uint32_t> seed; // of the percussion draws; none: a fresh one per export
};

// The text in play order and what the parser made of it.
struct ConvertedScore {
    QString key;
    std::vector<int> order; // 0-based pieces
    std::vector<int> BarPlayList;
    ParsedScore parsed;
};

// The score in play order; nothing when no order is found for its key, or when the order would play
// more than notation::MaxPlayedEvents characters (then `refusal`, when given, says so).
std::optional<ConvertedScore> ConvertScore(const ExportInput& input, QString* refusal = nullptr);

struct ExportResult {
    enum Status { Written, NoOrder, Failed };
    Status status = Failed;
    QString message; // the no-order message or the reason of the failure
    int error = 0; // the system's error number of a write that failed
    std::optional<ConvertedScore> converted;
    int TrackCount = 0;
};

// The whole file, or the reason it cannot be made.
struct MidFile {
    QByteArray bytes;
    QString error;
    int TrackCount = 0;
};
MidFile BuildMidFile(const ExportInput& input, const ConvertedScore& converted);

// Converts and writes `path` in one go; a failure leaves an existing file as it was.
ExportResult ExportMidi(const ExportInput& input, const QString& path);

} // namespace tunvale::sequor
