#pragma once

#include "app/notation/drum_record.h"

#include <QString>

#include <optional>

// The hint over a bar of the strip: in short mode the strip's own tooltip (the pattern's name), in
// balloon mode a balloon with the pattern drawn as text.
namespace tunvale::drums {

// The balloon of a bar with a named pattern: white on black, information icon, shown from the
// right.
struct BarBalloon {
    QString text;
    QString title;
    int foreColor = 0xFFFFFF; // 0x00BBGGRR
    int backColor = 0;
    int icon = 1;
    int showMode = 1;
};

struct BarHint {
    enum class Balloon { Unchanged, Default, Filled };
    // The strip's tooltip for the bar; no value keeps it.
    std::optional<QString> toolTip;
    Balloon balloon = Balloon::Unchanged;
    BarBalloon filled;
};

// The pattern of `record` as the balloon shows it: time signature, one line of steps per track that
// is on ("*" a hit, "-" none, a blank after every fourth step), and speed.
QString DrumPatternText(const notation::DrumRecord& record);

class BarHints
{
public:
    // The hint for the mouse over `bar`. An empty store first gets one record and shows nothing. A
    // balloon is filled once per bar until forget().
    BarHint hintFor(notation::DrumStore& records, int bar, bool shortHints);
    // The next balloon is filled again, whichever bar it is for.
    void forget() { LastTipBar = -1; }

    int LastTipBar = -1;
};

} // namespace tunvale::drums
