#include "app/notation/tempo_map.h"

#include <algorithm>

namespace tunvale::notation {

namespace {

constexpr int BackToScoreTempo = 2001;
constexpr int SlowestTempoTerm = 2040;
constexpr int FastestTempoTerm = 2208;
constexpr int BarLineCode = 3000;

} // namespace

int CompileSpeed(int Speed) { return std::clamp(Speed, 10, 300); }

bool TakesTime(const CodeEvent& event) { return event.EventTime != 0 && event.EventCode != BarLineCode; }

std::vector<TempoMark> BuildTempoMap(std::vector<CodeEvent>& working, int Speed)
{
    std::vector<TempoMark> marks { { Speed, 0 } };
    int tempo = Speed;
    double elapsed = 0; // unrounded seconds of the events so far that take time
    for (size_t p = 0; p < working.size(); ++p) {
        CodeEvent& event = working[p];
        const int code = event.EventCode;
        const bool termsTempo = code >= SlowestTempoTerm && code <= FastestTempoTerm;
        if (code == BackToScoreTempo || termsTempo) {
            tempo = termsTempo ? code - 2000 : Speed;
            const TempoMark mark { tempo, RoundSeconds(elapsed) };
            if (p == 0)
                marks.front() = mark;
            else
                marks.push_back(mark);
        }
        event.EventTime = event.EventTime * 60 / tempo / 4;
        if (TakesTime(event))
            elapsed += event.EventTime;
    }
    marks.push_back({ Speed, RoundSeconds(elapsed) });
    return marks;
}

} // namespace tunvale::notation
