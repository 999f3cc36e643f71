#include "get_symbol.h"

#include "components/symbolpick/palette_state.h"
#include "components/symbolpick/palette_window.h"
#include "platform/text/runtime_numbers.h"

namespace tunvale::symbolpick {

PaletteState& paletteState()
{
    static PaletteState state;
    return state;
}

namespace {

// The palette while it is open, else null.
const PaletteWindow* openPalette()
{
    const PaletteWindow* window = paletteState().window;
    return window && window->isLoaded() ? window : nullptr;
}

} // namespace

GetSymbol::GetSymbol(QWidget* mainWindow)
{
    PaletteState& state = paletteState();
    if (!state.window)
        state.window = new PaletteWindow(mainWindow);
    connect(state.window, &PaletteWindow::inserted, this, &GetSymbol::symbolPicked);
    connect(state.window, &PaletteWindow::unloaded, this, &GetSymbol::paletteClosed);
    state.window->open(mainWindow);
}

GetSymbol::~GetSymbol() = default;

QString GetSymbol::SymbolFont() const { return paletteState().SymbolFont; }

QString GetSymbol::SymbolCode() const { return paletteState().SymbolCode; }

std::optional<float> GetSymbol::InstrFontSize() const
{
    const PaletteWindow* window = openPalette();
    if (!window || !window->sizeTicked())
        return 0.0F;
    const QString text = window->sizeBoxText().trimmed();
    if (text.isEmpty())
        return 0.0F;
    bool ok = false;
    const float size = text.toFloat(&ok);
    return ok ? std::optional<float>(size) : std::nullopt;
}

bool GetSymbol::UpWord() const
{
    const PaletteWindow* window = openPalette();
    return window && window->raiseTicked();
}

bool GetSymbol::InstrFormShow() const { return paletteState().InstrFormShow; }

void GetSymbol::setInstrFormShow(bool vNewValue) { paletteState().InstrFormShow = vNewValue; }

bool GetSymbol::aInstr() const { return paletteState().aInstr; }

void GetSymbol::setAInstr(bool vNewValue) { paletteState().aInstr = vNewValue; }

void GetSymbol::BeginFontSize(float vNewValue)
{
    if (openPalette())
        paletteState().window->setSizeBoxText(QString::number(double(vNewValue)));
}

bool GetSymbol::InstrFontBold() const
{
    const PaletteWindow* window = openPalette();
    return window && window->boldTicked();
}

float GetSymbol::GetFontSize() const
{
    const PaletteWindow* window = openPalette();
    if (!window || !window->sizeTicked())
        return -1;
    return static_cast<float>(platform::Val(window->sizeBoxText()));
}

std::unique_ptr<GetSymbol> CreateGetSymbol(QWidget* mainWindow)
{
    return std::make_unique<GetSymbol>(mainWindow);
}

} // namespace tunvale::symbolpick
