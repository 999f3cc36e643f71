#pragma once

#include <QPointer>
#include <QString>

// What every GetSymbol object of the process shares with the one palette window.
namespace tunvale::symbolpick {

class PaletteWindow;

struct PaletteState {
    QString SymbolFont; // family of the kind on show
    QString SymbolCode; // the character handed to the host
    bool InstrFormShow = false; // the palette is open
    bool aInstr = false; // a pick waits for the host
    QPointer<PaletteWindow> window; // created on first use and reused
};

// The one state of the process; the component runs on the GUI thread only.
PaletteState& paletteState();

} // namespace tunvale::symbolpick
