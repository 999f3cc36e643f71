#include "app/notation/accompaniment.h"

#include "app/notation/short_message.h"
#include "platform/settings/ini_file.h"
#include "platform/settings/program_folder.h"
#include "platform/text/runtime_numbers.h"

namespace tunvale::notation {

namespace {

constexpr int RapBeatCode = -2900;
constexpr int RapNote = 120;
constexpr int RapVelocity = 2;
constexpr int RapPan = 64;

bool modeSoundsAccompaniment(int mode) { return mode == 2 || mode == 3 || mode == 4 || mode == 6; }

} // namespace

int AccompLengthClass(double seconds)
{
    if (seconds >= 1.5)
        return 0;
    if (seconds >= 1)
        return 1;
    if (seconds >= 0.5)
        return 2;
    if (seconds >= 0.25)
        return 3;
    return 4;
}

int AccompKeyFromText(const QString& text)
{
    const double note = platform::RoundHalfEven(platform::Val(text));
    return note >= 13 && note <= 87 ? int(note) - 13 : 0;
}

AccompKeys ReadAccompKeys(int PZType)
{
    AccompKeys keys {};
    if (PZType <= RandomStyle)
        return keys;
    const QString file = platform::ProgramFolder::find(QStringLiteral("banzhou.ini"));
    if (file.isEmpty())
        return keys;
    const QString style = QString::number(PZType - 2);
    for (int k = 0; k < AccompClassCount; ++k) {
        const QString key = QStringLiteral("Type") + style + QString::number(k);
        keys[size_t(k)] = AccompKeyFromText(platform::ReadIniValue(QStringLiteral("伴奏类型"), key, file));
    }
    return keys;
}

Accompaniment MakeAccompaniment(
    std::vector<CodeEvent>& CodeEvents, const AccompInput& input, AccompRandom& random)
{
    std::vector<DrumCodeEvent> hits(CodeEvents.size());
    for (size_t i = 0; i < CodeEvents.size(); ++i) {
        CodeEvent& event = CodeEvents[i];
        DrumCodeEvent& hit = hits[i];
        hit.EventTime = event.EventTime;
        if (event.EventCode == RapBeatCode) {
            event.Velocity = RapVelocity;
            event.EventCode = RapNote;
            event.MidiMessage = int(NoteOnMessage(RapNote, RapVelocity));
            hit.Velocity = input.Volume;
            hit.Sound = input.RapDrum;
            hit.Pan = RapPan;
        } else {
            const double length = i == 0 ? event.EventTime : event.EventTime - CodeEvents[i - 1].EventTime;
            const int lengthClass = AccompLengthClass(length);
            hit.Sound = input.PZType == RandomStyle
                ? RandomKeyLists[size_t(lengthClass)][size_t(random.below(6))]
                : input.keys[size_t(lengthClass)];
            hit.Velocity = modeSoundsAccompaniment(input.PlayMode) && event.Velocity != 0 ? input.Volume : 0;
            hit.Pan = random.below(127);
        }
        hit.PanMsg = DrumPanMessage(hit.Pan);
        hit.HitMsg = DrumHitMessage(hit.Sound, hit.Velocity);
    }

    Accompaniment result;
    if (input.StartPlayTime > 0) {
        for (size_t i = 0; i < hits.size() && hits[i].EventTime <= input.StartPlayTime; ++i)
            result.AccompStartIndex = int(i);
    }
    result.AccompPlayEvents = PackAccompEvents(hits);
    return result;
}

std::vector<DrumPlayEvent> PackAccompEvents(const std::vector<DrumCodeEvent>& AccompCodeEvents)
{
    std::vector<DrumPlayEvent> played;
    played.reserve(AccompCodeEvents.size());
    for (const DrumCodeEvent& e : AccompCodeEvents)
        played.push_back(PlayedHit(e));
    return played;
}

} // namespace tunvale::notation
