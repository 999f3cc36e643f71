#include "components/sequor/core/mark_pass.h"

#include "app/notation/notation_chars.h"
#include "components/sequor/core/positive_factors.h"

#include <algorithm>
#include <array>
#include <optional>

namespace tunvale::sequor {

namespace {

using notation::AccidentalGlyph;
using notation::FermataGlyph;
using notation::GlideGlyph;
using notation::KeyShiftGlyph;
using notation::NoteGlyph;
using notation::TempoGlyph;

constexpr double MaxFactor = 127;
constexpr double MinFadeFactor = 0.25;
constexpr double SwellStep = 0.05;
constexpr int SwellNotes = 6;

// Loudness marks that scale the record right after them: "*" to "3", and the accent "9"; 0 for the
// marks between that act otherwise.
std::optional<double> LoudnessScale(int c)
{
    static constexpr double Scales[] = { 0.2, 0.4, 0.6, 0.8, 0.9, 1.1, 1.2, 1.4, 1.6, 1.8 };
    if (c >= '*' && c <= '3')
        return Scales[c - '*'];
    if (c == notation::AccentMark::Code)
        return 1.2;
    return std::nullopt;
}

// An ornament: where its main note stands, the codes of the records it makes (steps from the main
// note's code) and their lengths.
struct Ornament {
    std::size_t mainOffset = 0;
    std::array<int, 6> steps {};
    bool shortensByFixed = false; // 1/8 unit each from a note of a quarter or more
    double share = 0; // of L for each made record otherwise
    double mainShare = 0; // of L left to the main note otherwise
};

class MarkPass
{
public:
    explicit MarkPass(std::vector<ScoreEvent>& events)
        : events_(events)
        , sounding_(events.size())
    {
        for (std::size_t i = 0; i < events_.size(); ++i)
            sounding_.set(i, events_[i].VelocityFactor > 0);
    }

    void run()
    {
        for (std::size_t k = 0; k < events_.size(); ++k)
            act(k, events_[k].CharCode);
    }

private:
    bool exists(std::size_t i) const { return i < events_.size(); }

    void setFactor(std::size_t i, double factor)
    {
        events_[i].VelocityFactor = factor;
        sounding_.set(i, factor > 0);
    }

    // The first record after `k` with a factor above 0, or npos.
    std::size_t nextSounding(std::size_t k) const { return sounding_.next(k + 1); }

    void act(std::size_t k, int c)
    {
        if (const auto scale = LoudnessScale(c)) {
            if (exists(k + 1))
                setFactor(k + 1, std::min(events_[k + 1].VelocityFactor * *scale, MaxFactor));
        } else if (c == '4' || c == '5') {
            swell(k, c == '4' ? SwellStep : -SwellStep);
        } else if (c == '6' || c == '8') {
            if (const std::size_t j = nextSounding(k); exists(j))
                setFactor(j, MaxFactor);
        } else if (c == '7') {
            if (const std::size_t j = nextSounding(k); exists(j))
                setFactor(j, std::min(events_[j].VelocityFactor * 1.2, MaxFactor));
        } else if (c >= 'B' && c <= 'K') {
            ornament(k, c);
        } else if (TempoGlyph::contains(c)) {
            events_[k].Code = c == TempoGlyph::ScoreTempo ? ScoreTempoCode : 2000 + TempoGlyph::bpm(c);
            events_[k].Length = 0;
        } else if (KeyShiftGlyph::contains(c)) {
            events_[k].Code
                = c == KeyShiftGlyph::ScoreKey ? ScoreKeyCode : KeyShiftBase + KeyShiftGlyph::semitones(c);
        } else if (FermataGlyph::contains(c)) {
            if (exists(k + 1))
                events_[k + 1].Length *= 2;
        } else if (AccidentalGlyph::contains(c)) {
            accidental(k, c);
        } else if (GlideGlyph::contains(c)) {
            const int form = (c - GlideGlyph::First) % 5;
            if (form < 2) {
                events_[k].Code = GlideCodes[form];
                events_[k].Length = 0;
                setFactor(k, 0);
            }
        }
    }

    // Crescendo and decrescendo: the next six sounding records step by 0.05 from where they stand.
    void swell(std::size_t k, double step)
    {
        std::size_t j = k;
        for (int i = 0; i < SwellNotes; ++i) {
            j = nextSounding(j);
            if (!exists(j))
                return;
            const double factor = events_[j].VelocityFactor + step * i;
            setFactor(j, std::clamp(factor, step < 0 ? MinFadeFactor : 0.0, MaxFactor));
        }
    }

    void ornament(std::size_t k, int c)
    {
        if (c == 'F')
            return;
        if (c == 'G' || c == 'H') {
            staccato(k, c == 'G' ? 0.5 : 0.25);
            return;
        }
        std::optional<Ornament> shape;
        switch (c) {
        case 'B':
            shape = Ornament { 2, { 0, 2 }, true, 1.0 / 8, 6.0 / 8 };
            break;
        case 'C':
            shape = Ornament { 2, { 0, -2 }, true, 1.0 / 8, 6.0 / 8 };
            break;
        case 'D':
            shape = Ornament { 4, { 0, 2, 0, 2 }, true, 1.0 / 8, 0.5 };
            break;
        case 'E':
            shape = Ornament { 4, { 0, -2, 0, -2 }, true, 1.0 / 8, 0.5 };
            break;
        case 'I':
            switch (fillersAfter(k)) {
            case 5:
                shape = Ornament { 6, { 0, 2, 0, 2, 0, 2 }, false, 1.0 / 8, 0.25 };
                break;
            case 2:
                shape = Ornament { 3, { 2, 0, 2 }, false, 0.25, 0.25 };
                break;
            default:
                return;
            }
            break;
        case 'J':
            shape = Ornament { 3, { 2, 0, -2 }, false, 0.25, 0.25 };
            break;
        case 'K':
            shape = Ornament { 3, { -2, 0, 2 }, false, 0.25, 0.25 };
            break;
        default:
            return;
        }
        const std::size_t main = k + shape->mainOffset;
        if (!exists(main))
            return;
        const ScoreEvent note = events_[main];
        const double length = note.Length;
        const bool fixed = shape->shortensByFixed && length >= 4;
        const double each = fixed ? 0.125 : length * shape->share;
        for (std::size_t i = 0; i < shape->mainOffset; ++i) {
            events_[k + i].Code = note.Code + shape->steps[i];
            events_[k + i].Length = each;
            setFactor(k + i, note.VelocityFactor);
        }
        events_[main].Length = fixed ? length - 0.125 * double(shape->mainOffset) : length * shape->mainShare;
    }

    // "F" characters right after the letter, counted up to six.
    std::size_t fillersAfter(std::size_t k) const
    {
        std::size_t count = 0;
        while (count < 6 && exists(k + 1 + count) && events_[k + 1 + count].CharCode == 'F')
            ++count;
        return count;
    }

    // The letter's record plays the first part of the note after it, which rests for the remainder.
    void staccato(std::size_t k, double played)
    {
        if (!exists(k + 1))
            return;
        ScoreEvent& note = events_[k + 1];
        const double length = note.Length;
        events_[k].Code = note.Code;
        events_[k].Length = length * played;
        setFactor(k, 1.0);
        note.Code = RestCode;
        note.Length = length * (1 - played);
        setFactor(k + 1, 1.0);
    }

    // An accidental raises or lowers its note, the first note after it in the bar, and every later
    // record of the same pitch up to the bar's end or the next accidental.
    void accidental(std::size_t k, int c)
    {
        static constexpr std::array<int, 5> Steps = { 1, -1, 2, -2, 0 };
        const int step = Steps[std::size_t(AccidentalGlyph::decode(c)->kind)];
        events_[k].Code = RestCode;
        events_[k].Length = 0;
        setFactor(k, 0);
        if (step == 0)
            return;
        std::optional<int> pitch;
        for (std::size_t i = k + 1; exists(i) && events_[i].Code != BarMarkCode; ++i) {
            if (AccidentalGlyph::contains(events_[i].CharCode))
                break;
            if (NoteGlyph::contains(events_[i].CharCode)) {
                pitch = events_[i].Code;
                break;
            }
        }
        if (!pitch)
            return;
        for (std::size_t i = k + 1; exists(i) && events_[i].Code != BarMarkCode; ++i) {
            if (events_[i].Code == *pitch)
                events_[i].Code = *pitch + step;
            if (AccidentalGlyph::contains(events_[i].CharCode))
                break;
        }
    }

    std::vector<ScoreEvent>& events_;
    PositiveFactors sounding_;
};

} // namespace

void ApplyMarks(std::vector<ScoreEvent>& events) { MarkPass(events).run(); }

} // namespace tunvale::sequor
