#include "app/notation/event_passes.h"

#include "app/notation/notation_chars.h"

#include <algorithm>
#include <optional>

namespace tunvale::notation {

namespace {

struct GraceKind {
    bool leading = true;
    double share = 0.5; // of a main note shorter than a quarter
    double fixed = 2; // units taken from a quarter or longer
};

// What the deciding character's kind means in a group of n notes; nothing for kinds without meaning.
std::optional<GraceKind> graceKind(int n, int kind)
{
    if (n == 1) {
        switch (kind) {
        case 0:
            return GraceKind { true, 0.5, 2 };
        case 1:
            return GraceKind { true, 0.25, 1 };
        case 2:
            return GraceKind { false, 0.5, 1 };
        case 3:
            return GraceKind { false, 0.25, 1 };
        default:
            return std::nullopt;
        }
    }
    switch (kind) {
    case 2:
        return GraceKind { true, 0.5, 2 };
    case 3:
        return GraceKind { true, 0.25, 1 };
    case 4:
        return GraceKind { false, 0.5, 2 };
    case 5:
        return GraceKind { false, 0.25, 1 };
    default:
        return std::nullopt;
    }
}

// The main note of a trailing group starting at `first`: the element the dots and dashes right before
// the group lengthen, else the element right before the group (-1 when there is none).
int trailingMainNote(const WorkingEvents& events, int first)
{
    int j = first - 1;
    while (j >= 0
        && (DotGlyph::contains(events[size_t(j)].CharCode)
            || DashGlyph::contains(events[size_t(j)].CharCode)))
        --j;
    return j;
}

} // namespace

void ApplyGraceNotes(WorkingEvents& events)
{
    const int count = int(events.size());
    for (int i = 0; i < count; ++i) {
        const int n = events[size_t(i)].FontClass;
        if (n < 1 || n > 4)
            continue;
        const int deciding = n == 1 ? i : i + 1;
        if (deciding >= count)
            continue;
        const int code = events[size_t(deciding)].CharCode;
        if (!NoteGlyph::containsGrace(code))
            continue;
        const auto kind = graceKind(n, NoteGlyph::decode(code)->graceKind());
        if (!kind)
            continue;
        // A group cut short by the end of the array has only the members inside it.
        const int last = std::min(i + n, count) - 1;
        for (int m = i + 1; m <= last; ++m)
            events[size_t(m)].FontClass = MergedGraceFontClass;
        const int mainNote = kind->leading ? i + n : trailingMainNote(events, i);
        if (mainNote < 0 || mainNote >= count)
            continue; // no main note inside the array: the group keeps its written lengths
        double& mainTime = events[size_t(mainNote)].EventTime;
        const double graceTime = mainTime >= 4 ? kind->fixed / n : mainTime * kind->share / n;
        mainTime = mainTime >= 4 ? mainTime - kind->fixed : mainTime * (1 - kind->share);
        for (int m = i; m <= last; ++m)
            events[size_t(m)].EventTime = graceTime;
    }
}

} // namespace tunvale::notation
