#pragma once

#include "app/notation/drum_record.h"

#include <QString>

#include <cstdint>

namespace tunvale::notation {

// Named access to the fields of any record of one drum store. Select the store with DrumType first;
// the selection refers to the store itself, so a store that grows or shrinks afterwards needs no new
// selection.
//
// Every index is checked: the record index (0..size - 1 of an array store, 0 for a single record),
// the track `ch` (0..7), the step `x` (0..31), the XJLong offset (its four bytes must lie in the
// record) and the sTimetmp byte (0..3). Out of range, or with no store selected, a getter gives 0,
// false or "" and a setter changes nothing.
class DrumAccessor
{
public:
    enum Store { XjDrums, DrumTemplates, AuditionDrum, DrumClip, DrumEdit, DrumScratch };

    explicit DrumAccessor(DrumStores& stores = ProcessDrumStores());

    // Selects store 0..5 (see Store); any other value keeps the current selection.
    void DrumType(int store);
    // The number of records in the selected store (0 with no selection).
    int recordCount() const;

    std::uint8_t DrumVer(int index) const;
    void setDrumVer(int index, std::uint8_t value);

    // The name with NULs removed and blanks trimmed at both ends.
    QString DrumName(int index) const;
    // Stores the name in GBK, cut after the last whole character that fits in 32 bytes.
    void setDrumName(int index, const QString& name);

    bool DrumChannel(int index, int ch) const;
    void setDrumChannel(int index, int ch, bool on);

    std::uint8_t DrumVolume(int index, int ch) const;
    void setDrumVolume(int index, int ch, std::uint8_t value);

    std::uint8_t DrumSounds(int index, int ch) const;
    void setDrumSounds(int index, int ch, std::uint8_t value);

    std::uint8_t DrumTrack(int index) const;
    void setDrumTrack(int index, std::uint8_t value);

    std::uint8_t DrumTimeSignature(int index) const;
    void setDrumTimeSignature(int index, std::uint8_t value);

    // The step count of the record's TimeSigCode; its text goes into `text` (see TimeSigSteps).
    int DrumTime(int index, QString& text) const;

    std::uint8_t DrumSpeed(int index) const;
    void setDrumSpeed(int index, std::uint8_t value);

    bool DrumRhythms(int index, int x, int ch) const;
    void setDrumRhythms(int index, int x, int ch, bool on);

    std::uint8_t DrumSoundImage(int index, int ch) const;
    void setDrumSoundImage(int index, int ch, std::uint8_t value);

    std::uint8_t BarsOfSong(int index) const;
    void setBarsOfSong(int index, std::uint8_t value);

    std::uint8_t HaveDrum(int index) const;
    void setHaveDrum(int index, std::uint8_t value);

    // The little-endian 32-bit value at byte 95 + `no` of the record.
    std::int32_t XJLong(int index, int no) const;
    void setXJLong(int index, int no, std::int32_t value);

    std::uint8_t sTimetmp(int index, int i) const;
    void setsTimetmp(int index, int i, std::uint8_t value);

    // The byte as eight "0"/"1" characters, most significant bit first.
    static QString D2B(std::uint8_t value);

private:
    const DrumRecord* record(int index) const;
    DrumRecord* record(int index);

    DrumStores& stores_;
    int selected_ = -1;
};
using clsDrum = DrumAccessor;

} // namespace tunvale::notation
