#pragma once

#include "components/margin/margin_model.h"

#include <QString>

#include <optional>

// The steps of `scoretool ruler`, read from the command line, and what it prints of a ruler.
namespace tunvale::scoretool {

struct RulerStep {
    enum class Verb { Press, Move, Release, Key, KeyDown, KeyUp, Spin, Kind, Menu, Set, Type, Undo, Redo };
    Verb verb = Verb::Press;
    margin::RulerPart part = margin::RulerPart::None;
    double x = 0; // twips inside the element
    int buttons = 0; // 1 left, 2 right, 4 middle
    int key = 0; // a Qt key
    Qt::KeyboardModifiers modifiers;
    bool up = false;
    int kind = 0; // -1: typed into the chooser
    margin::MenuEntry entry = margin::MenuEntry::MainToolbar;
    QString text; // the property's name, or the keys to type
    QString value; // the property's value
    int whole = 0; // a set step's value, for each property but Show and bcWidth_n
    double factor = 0; // a set step's value for bcWidth_n
};

// One step as one argument ("press pin0 40 1"); the steps that need a score only when `withScore`.
// No value and the reason in `error` when it is not a step.
std::optional<RulerStep> ParseRulerStep(const QString& text, bool withScore, QString& error);

// "event NAME [ARGS]" for each event.
void PrintRulerEvents(const margin::RulerEvents& events);
void PrintRulerEvent(const margin::RulerEvent& event);
// The lines after the steps: margins, pins, bands, tips, spin and bag.
void PrintRulerState(const margin::MarginModel& model);

} // namespace tunvale::scoretool
