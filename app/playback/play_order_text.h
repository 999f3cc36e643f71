#pragma once

#include "app/notation/performance_compiler.h"
#include "app/notation/play_order.h"

#include <QString>

#include <optional>
#include <utility>

// The play order as the play-order dialog shows and takes it, and the order the user chose there.
namespace tunvale::playback {

// The segment marks of a play-order key as glyphs between the red 1-based segment numbers.
QString KeyGlyphText(const QString& key);
// Whether KeyGlyphText shows the character at `index` in red (the segment numbers).
bool IsSegmentNumber(const QString& glyphText, qsizetype index);

// The order as the dialog's text box shows it: 1-based numbers separated by ",".
QString PlayOrderText(const notation::PlayOrderEntries& order);

struct CleanedPlayOrder {
    QString text;
    notation::PlayOrderEntries order;
};

// The typed order made usable: full-width commas become commas, everything but digits and commas
// goes, empty items go, and a number of no segment (0, or above `segmentCount`) becomes 1. Never
// empty.
CleanedPlayOrder CleanPlayOrderText(const QString& typed, int segmentCount);

// The order chosen in the dialog. It stays in force while the score's key is the one it was chosen
// for, whether or not the score file could take it (an untitled score has no file of its own).
class ChosenPlayOrder
{
public:
    void choose(const QString& key, notation::PlayOrderEntries order);
    // A new score in the window.
    void clear() { chosen_.reset(); }
    // The chosen order for `key`, if any.
    std::optional<notation::PlayOrderEntries> orderFor(const QString& key) const;
    // Where a compile takes the order from: the chosen one while its key holds, else what the score
    // file or the ini files say.
    notation::PlayOrderSource source(const QString& currentFile) const;

private:
    std::optional<std::pair<QString, notation::PlayOrderEntries>> chosen_;
};

} // namespace tunvale::playback
