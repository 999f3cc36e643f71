#pragma once

#include "app/notation/drum_accessor.h"
#include "app/notation/drum_record.h"

#include <QString>

#include <array>

// The drum editor's controls as plain values, and the records built from them or shown in them.
namespace tunvale::drums {

// The speeds the editor's speed box takes; a record holds its speed in one byte.
inline constexpr int kMinSpeed = 30;
inline constexpr int kMaxSpeed = 255;
// What a record without a speed plays at.
inline constexpr int kDefaultSpeed = 120;

// A speed as the speed box holds it: 0 or NaN (none) becomes the default, others are held to the box's
// range.
int HeldSpeed(double speed);

struct DrumEditorState {
    struct Track {
        bool on = false;
        // Drum-list index (General MIDI note - 13); a value the list cannot show is kept as it is.
        int sound = 22;
        QString volume = QStringLiteral("75"); // the volume box's text
        int pan = 64;
        std::array<bool, notation::DrumRecord::Steps> steps {};
    };

    QString name;
    bool haveDrum = false;
    std::array<Track, notation::DrumRecord::Tracks> tracks;
    int timeCode = 1; // TimeSigCode; one the list cannot show is kept as it is
    int speed = kDefaultSpeed;
};

// One record as a store of its own, read through the named accessors.
struct OneRecord {
    explicit OneRecord(const notation::DrumRecord& record);
    // The accessor refers to this object's own stores.
    OneRecord(const OneRecord&) = delete;
    OneRecord& operator=(const OneRecord&) = delete;
    notation::DrumStores stores;
    notation::DrumAccessor drum { stores };
};

// A record's name as the editor shows and compares it: NULs dropped, blanks trimmed.
QString RecordName(const notation::DrumRecord& record);

// The record of the controls: the fields the editor shows, every other byte 0. The name is cut after
// the last whole character that fits in its 32 bytes.
notation::DrumRecord BuildDrumRecord(const DrumEditorState& state);
// What the controls show of a record; its speed and volumes are held to their boxes.
DrumEditorState StateOfRecord(const notation::DrumRecord& record);

// An unnamed record without steps: every track at volume 127, sound 35 (a list index like every sound
// byte) and pan 64, with the given track byte, time-signature code and speed.
notation::DrumRecord MakeEmptyDrumRecord(int track, int timeCode, int speed);
// The empty record the editor starts from: "2/4" at speed 125.
notation::DrumRecord MakeEmptyDrumRecord();

void AppendDrumRecord(notation::DrumStore& records, const notation::DrumRecord& record);
// Removes record `index` (nothing outside the store). The last record left is not removed but becomes
// the empty record, so the store never empties; true in that case.
bool DeleteDrumRecord(notation::DrumStore& records, int index);

} // namespace tunvale::drums
