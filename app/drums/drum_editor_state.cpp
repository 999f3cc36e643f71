#include "app/drums/drum_editor_state.h"

#include "platform/text/name_bytes.h"
#include "platform/text/runtime_numbers.h"

#include <algorithm>
#include <cmath>

namespace tunvale::drums {

using notation::DrumRecord;

int HeldSpeed(double speed)
{
    const double whole = platform::RoundHalfEven(speed);
    if (whole == 0 || std::isnan(whole))
        return kDefaultSpeed;
    return int(std::clamp(whole, double(kMinSpeed), double(kMaxSpeed)));
}

OneRecord::OneRecord(const DrumRecord& record)
{
    stores.DrumEdit = record;
    drum.DrumType(notation::DrumAccessor::DrumEdit);
}

QString RecordName(const DrumRecord& record) { return OneRecord(record).drum.DrumName(0); }

DrumRecord BuildDrumRecord(const DrumEditorState& state)
{
    DrumRecord record;
    platform::TextToNameBytes(state.name, record.DrumName);
    record.HaveDrum = state.haveDrum ? 1 : 0;
    for (int t = 0; t < DrumRecord::Tracks; ++t) {
        const DrumEditorState::Track& track = state.tracks[std::size_t(t)];
        const double volume = platform::RoundHalfEven(platform::Val(track.volume));
        record.DrumVolume[std::size_t(t)] = std::uint8_t(std::clamp(volume, 0.0, 127.0));
        record.DrumSounds[std::size_t(t)] = std::uint8_t(track.sound);
        record.DrumSoundImage[std::size_t(t)] = std::uint8_t(std::clamp(track.pan, 0, 127));
        if (track.on)
            record.DrumChannel |= std::uint8_t(0x80 >> t);
        for (int s = 0; s < DrumRecord::Steps; ++s) {
            if (track.steps[std::size_t(s)])
                record.DrumRhythms[std::size_t(t) * 4 + std::size_t(s / 8)] |= std::uint8_t(0x80 >> (s % 8));
        }
    }
    record.DrumTimeSignature = std::uint8_t(state.timeCode);
    record.DrumSpeed = std::uint8_t(HeldSpeed(state.speed));
    return record;
}

DrumEditorState StateOfRecord(const DrumRecord& record)
{
    const OneRecord one(record);
    const notation::DrumAccessor& drum = one.drum;
    DrumEditorState state;
    state.name = drum.DrumName(0);
    state.haveDrum = drum.HaveDrum(0) != 0;
    for (int t = 0; t < DrumRecord::Tracks; ++t) {
        DrumEditorState::Track& track = state.tracks[std::size_t(t)];
        track.on = drum.DrumChannel(0, t);
        track.sound = drum.DrumSounds(0, t);
        // The volume box takes 0..127.
        track.volume = QString::number(std::min<int>(drum.DrumVolume(0, t), 127));
        track.pan = drum.DrumSoundImage(0, t);
        for (int s = 0; s < DrumRecord::Steps; ++s)
            track.steps[std::size_t(s)] = drum.DrumRhythms(0, s, t);
    }
    state.timeCode = drum.DrumTimeSignature(0);
    state.speed = HeldSpeed(drum.DrumSpeed(0));
    return state;
}

DrumRecord MakeEmptyDrumRecord(int track, int timeCode, int speed)
{
    DrumRecord record;
    record.DrumVolume.fill(127);
    record.DrumSounds.fill(35);
    record.DrumSoundImage.fill(64);
    record.DrumTrack = std::uint8_t(track);
    record.DrumTimeSignature = std::uint8_t(timeCode);
    record.DrumSpeed = std::uint8_t(speed);
    return record;
}

DrumRecord MakeEmptyDrumRecord() { return MakeEmptyDrumRecord(0, 1, 125); }

void AppendDrumRecord(notation::DrumStore& records, const DrumRecord& record) { records.push_back(record); }

bool DeleteDrumRecord(notation::DrumStore& records, int index)
{
    if (index < 0 || index >= int(records.size()))
        return false;
    if (records.size() == 1) {
        records[0] = MakeEmptyDrumRecord();
        return true;
    }
    records.erase(records.begin() + index);
    return false;
}

} // namespace tunvale::drums
