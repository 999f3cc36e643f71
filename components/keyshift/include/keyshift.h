#pragma once

#include <QString>

#include <memory>

namespace tunvale::platform {
class Prompts;
}

// The transposer component: shifts every note of a score's RTF by one or two semitones.
namespace tunvale::keyshift {

// One transposer, kept by its caller. For each transposition set nUporDown, tRtf and
// ReadNotEnought (false) in this order, call GetNewRtf, and take its result only while
// ReadNotEnought is still false.
class ClsYD
{
public:
    virtual ~ClsYD() = default;

    // The RTF to transpose; never changed by the transposer.
    virtual QString tRtf() const = 0;
    virtual void setTRtf(const QString& rtf) = 0;
    // The step in semitones: 2, -2, 1 or -1. Any other step gives tRtf back unchanged.
    virtual int nUporDown() const = 0;
    virtual void setNUporDown(int step) = 0;
    // Set to true, after telling the user, when a note would leave the range the notation font
    // draws; only the caller clears it.
    virtual bool ReadNotEnought() const = 0;
    virtual void setReadNotEnought(bool value) = 0;

    // The transposed RTF, or "" when ReadNotEnought became true.
    virtual QString GetNewRtf() = 0;
};

// A transposer that shows its one message through `prompts`, which must outlive it.
std::unique_ptr<ClsYD> CreateClsYD(platform::Prompts& prompts);

} // namespace tunvale::keyshift
