#include "components/sequor/core/midi_export.h"
#include "components/sequor/core/midi_track.h"

#include "app/notation/code_event.h"
#include "platform/text/gbk.h"

#include <algorithm>
#include <array>
#include <functional>
#include <random>

namespace tunvale::sequor {

namespace {

using notation::DrumRecord;

inline const QString Marker = QStringLiteral("录制软件：Tunvale");
constexpr int MelodyChannel = 2;
constexpr int OverlayChannel = 3;
constexpr int PercussionChannel = 10;
constexpr int PanController = 10;
constexpr int BreathController = 2;
constexpr int RestPitch = 60;

struct TimeSignature {
    int numerator = 4;
    int BeatUnit = 4;
    int denominatorPower = 2;
};

std::optional<TimeSignature> ReadTimeSignature(const QString& text)
{
    const QStringList parts = text.split(QChar(u'/'));
    if (parts.size() != 2)
        return std::nullopt;
    bool numberOk = false, unitOk = false;
    const int numerator = parts[0].trimmed().toInt(&numberOk);
    const int unit = parts[1].trimmed().toInt(&unitOk);
    static constexpr std::array<int, 4> Units = { 1, 2, 4, 8 };
    const auto power = std::find(Units.begin(), Units.end(), unit) - Units.begin();
    if (!numberOk || !unitOk || numerator < 1 || numerator > 255 || power == std::ssize(Units))
        return std::nullopt;
    return TimeSignature { numerator, unit, int(power) };
}

// Sharps (positive) or flats (negative) of the major key `shift` semitones above C.
int SharpsOrFlats(int shift)
{
    static constexpr std::array<int, 12> Keys = { 0, -5, 2, -3, 4, -1, 6, 1, -4, 3, -2, 5 };
    return Keys[std::size_t((shift % 12 + 12) % 12)];
}

MidiTrack ConductorTrack(const ExportInput& input, const TimeSignature& signature)
{
    const ExportOptions& o = input.options;
    MidiTrack track(1);
    if (!o.MidTitle.isEmpty())
        track.WriteMeta(0x03, platform::GbkEncode(o.MidTitle));
    QByteArray time;
    time += char(signature.numerator);
    time += char(signature.denominatorPower);
    time += QByteArray::fromHex("1808"); // 24 clocks a click, eight 32nds a quarter
    track.WriteMeta(0x58, time);
    QByteArray key;
    key += char(std::int8_t(SharpsOrFlats(input.OldYDiao1)));
    key += char(0); // major
    track.WriteMeta(0x59, key);
    track.WriteMeta(0x06, platform::GbkEncode(Marker));
    track.WriteTempo(input.OldSpeed1, signature.BeatUnit);
    if (!o.MidNotice.isEmpty())
        track.WriteMeta(0x02, platform::GbkEncode(o.MidNotice));
    if (!o.MidComment.isEmpty())
        track.WriteMeta(0x01, platform::GbkEncode(o.MidComment));
    return track;
}

// Plays the records on one track: rests, tempo changes, key changes and notes; `note` writes a record
// with 0 < code < 1000 at the current transpose.
void PlayEvents(MidiTrack& track, const ExportInput& input, int beatUnit, bool transposes,
    const std::function<void(const ScoreEvent&, int transpose)>& note, const ConvertedScore& converted)
{
    const int StartTranspose = transposes ? input.OldYDiao1 : 0;
    int CurrentTranspose = StartTranspose;
    for (const ScoreEvent& e : converted.parsed.ScoreEvents) {
        if (e.Code == RestCode) {
            if (e.Length > 0)
                track.WriteNote(e.Length, RestPitch + CurrentTranspose, 0);
        } else if (e.Code == ScoreTempoCode) {
            track.WriteTempo(input.OldSpeed1, beatUnit);
        } else if (e.Code >= 2040 && e.Code <= 2208) {
            track.WriteTempo(e.Code - 2000, beatUnit);
        } else if (e.Code >= KeyShiftBase && e.Code <= ScoreKeyCode) {
            if (transposes)
                CurrentTranspose = e.Code == ScoreKeyCode ? StartTranspose : e.Code - KeyShiftBase;
        } else if (e.Code > 0 && e.Code < RestCode) {
            note(e, CurrentTranspose);
        }
    }
}

// A pitched note, or a rest of its time when the pitch lies outside 0..127.
void PitchedNote(MidiTrack& track, const ScoreEvent& e, int transpose, double volume)
{
    if (e.Length <= 0)
        return;
    const int pitch = e.Code + transpose;
    if (pitch < 0 || pitch > 127)
        track.WriteNote(e.Length, RestPitch + transpose, 0);
    else
        track.WriteNote(e.Length, pitch, volume * e.VelocityFactor);
}

// Drums of the auto-percussion by note length: long, middle, short and shortest notes.
const std::vector<int> LongDrums = { 46, 49, 52, 57, 59, 66 };
const std::vector<int> MiddleDrums
    = { 47, 50, 51, 53, 55, 60, 61, 63, 64, 69, 73, 75, 83, 86, 28, 38, 39, 40, 41, 43, 44, 45, 48, 65, 87 };
const std::vector<int> ShortDrums
    = { 27, 31, 32, 33, 34, 35, 36, 37, 42, 54, 56, 62, 67, 68, 70, 76, 77, 80, 82, 85 };
const std::vector<int> ShortestDrums = { 60 };

class DrumDraw
{
public:
    explicit DrumDraw(std::uint32_t seed)
        : random_(seed)
    {
    }

    // The drum for a note of `length`: lengths between the lists play the previous drum again.
    int next(double length)
    {
        if (length > 4)
            previous_ = draw(LongDrums);
        else if (length == 3 || length == 4)
            previous_ = draw(MiddleDrums);
        else if (length == 2)
            previous_ = draw(ShortDrums);
        else if (length < 2)
            previous_ = draw(ShortestDrums);
        else if (!previous_)
            previous_ = draw(MiddleDrums);
        return *previous_;
    }

private:
    int draw(const std::vector<int>& drums)
    {
        const double r = double(random_()) / 4294967296.0;
        return drums[std::size_t(r * double(drums.size()))];
    }

    std::mt19937 random_;
    std::optional<int> previous_;
};

// Sixteenth steps of a drum pattern: 0..40 as the drum records count them, 8 above.
int StepsPerBar(int timeSigCode)
{
    QString text;
    return notation::TimeSigSteps(timeSigCode, text);
}

bool Bit(std::uint8_t byte, int bit) { return byte >> bit & 1; }

// The score's drum patterns bar by bar in play order: entry i of the bar list plays its record for the
// length of bar i of the play text. Hits carry no note-off.
MidiTrack WriteDrumTrack(std::span<const DrumRecord> drums, const ConvertedScore& converted)
{
    MidiTrack track(PercussionChannel);
    // A wait longer than a delta can hold is cut to it, as a note is.
    constexpr auto LongestWait = std::uint64_t(notation::MaxNoteLength);
    std::uint64_t waiting = 0; // sixteenth steps since the last hit
    const std::vector<double>& lengths = converted.parsed.BarLengths;
    for (std::size_t i = 0; i < converted.BarPlayList.size(); ++i) {
        const double steps = i < lengths.size() ? std::max(lengths[i], 0.0) : 0;
        const int bar = converted.BarPlayList[i];
        const DrumRecord* record
            = bar >= 0 && std::size_t(bar) < drums.size() ? &drums[std::size_t(bar)] : nullptr;
        const int patternSteps = record && record->HaveDrum == 1 ? StepsPerBar(record->DrumTimeSignature) : 0;
        // Hits fall in the pattern's steps; the rest of a long bar only waits.
        const int hitSteps = int(std::min({ steps, double(patternSteps), double(DrumRecord::Steps) }));
        for (int e = 0; e < hitSteps; ++e, ++waiting) {
            for (int t = 0; t < DrumRecord::Tracks; ++t) {
                if (!Bit(record->DrumChannel, 7 - t)
                    || !Bit(record->DrumRhythms[std::size_t(4 * t + e / 8)], 7 - e % 8))
                    continue;
                QByteArray hit
                    = EncodeVarLen(std::uint32_t(std::min(waiting, LongestWait)) * TicksPerSixteenth);
                hit += char(0x99);
                hit += char(DataByte(record->DrumSounds[std::size_t(t)] + 13));
                hit += char(DataByte(record->DrumVolume[std::size_t(t)]));
                track.append(hit);
                track.WriteController(PanController, record->DrumSoundImage[std::size_t(t)]);
                waiting = 0;
            }
        }
        waiting += std::uint64_t(steps) - std::uint64_t(hitSteps);
    }
    return track;
}

} // namespace

MidFile BuildMidFile(const ExportInput& input, const ConvertedScore& converted)
{
    MidFile file;
    const auto signature = ReadTimeSignature(input.JeiPai1);
    if (!signature) {
        file.error = QStringLiteral("the time signature \"%1\" cannot be written").arg(input.JeiPai1);
        return file;
    }
    const ExportOptions& o = input.options;
    const int beatUnit = signature->BeatUnit;
    std::vector<MidiTrack> tracks { ConductorTrack(input, *signature) };

    MidiTrack& melody = tracks.emplace_back(MelodyChannel);
    melody.WriteTempo(input.OldSpeed1, beatUnit);
    melody.WriteProgramChange(input.ComSoundsListIndex1);
    if (o.MainPanOn)
        melody.WriteController(PanController, o.MainPan);
    PlayEvents(
        melody, input, beatUnit, true,
        [&](const ScoreEvent& e, int transpose) {
            PitchedNote(melody, e, transpose, input.Text_VolumeText1);
        },
        converted);

    if (o.OverlayTrack) {
        MidiTrack& overlay = tracks.emplace_back(OverlayChannel);
        overlay.WriteTempo(input.OldSpeed1, beatUnit);
        overlay.WriteProgramChange(o.OverlayProgram);
        overlay.WriteController(PanController, o.OverlayPan);
        overlay.WriteController(BreathController, 64);
        PlayEvents(
            overlay, input, beatUnit, true,
            [&](const ScoreEvent& e, int transpose) { PitchedNote(overlay, e, transpose, o.OverlayVolume); },
            converted);
    }

    if (o.AutoPercussion) {
        MidiTrack& percussion = tracks.emplace_back(PercussionChannel);
        percussion.WriteTempo(input.OldSpeed1, beatUnit);
        DrumDraw drums(input.seed ? *input.seed : std::random_device()());
        const double share
            = o.PercussionVolume >= 5 && o.PercussionVolume <= 127 ? o.PercussionVolume / 100.0 : 0.8;
        PlayEvents(
            percussion, input, beatUnit, false,
            [&](const ScoreEvent& e, int) {
                const int drum = drums.next(e.Length);
                if (e.Length <= 0)
                    return;
                if (e.VelocityFactor > 0)
                    percussion.WriteNote(e.Length, drum, input.Text_VolumeText1 * e.VelocityFactor * share);
                else
                    percussion.WriteNote(e.Length, RestPitch, 0);
            },
            converted);
    }

    if (o.UseScoreDrums)
        tracks.push_back(WriteDrumTrack(input.drums, converted));

    file.TrackCount = int(tracks.size());
    file.bytes = QByteArray::fromHex("4D546864000000060001");
    file.bytes += char(file.TrackCount >> 8);
    file.bytes += char(file.TrackCount & 0xFF);
    file.bytes += QByteArray::fromHex("0078");
    for (const MidiTrack& track : tracks)
        file.bytes += track.chunk();
    return file;
}

} // namespace tunvale::sequor
