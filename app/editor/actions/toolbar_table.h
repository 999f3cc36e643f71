#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The main toolbar as designed: 46 indexed entries (1-based, as the handlers number them) and the one
// table through which a button or a drop-down item reaches its command. Widget-free.
namespace tunvale::editor {

enum class ButtonKind {
    Separator,
    Button, // a plain button
    DropDown, // a button with a drop-down arrow
    MenuOnly, // a button that only opens its drop-down
    Placeholder, // the place of the instrument, tempo and volume controls
};

// A named command of the window with its argument. `busy`: NotationCmdBusy is set while it runs.
struct ToolbarCommand {
    QString command;
    int argument = 0;
    bool busy = false;

    friend bool operator==(const ToolbarCommand&, const ToolbarCommand&) = default;
};

// Toolbar buttons by their index.
enum class ToolbarButton {
    Open = 2,
    Save = 3,
    Play = 5,
    Pause = 6,
    PlayFromCaret = 7,
    Stop = 8,
    PlayDrums = 10,
    StopDrums = 11,
    PlayControls = 13,
    Undo = 15,
    Redo = 16,
    Bold = 18,
    ScaleFont = 19,
    LyricUnderline = 20,
    TwoOctavesDown = 22,
    OctaveDown = 23,
    MiddleOctave = 24,
    OctaveUp = 25,
    TwoOctavesUp = 26,
    Slur = 28,
    Quarter = 30,
    Eighth = 31,
    Sixteenth = 32,
    ThirtySecond = 33,
    Triplet = 41,
    GraceNotes = 42,
    Ornaments = 43,
    Voltas = 44,
    RepeatSign = 45,
    RepeatSigns = 46,
};

struct ToolbarEntry {
    int index = 0;
    ButtonKind kind = ButtonKind::Separator;
    QString hint;
    QStringList menuTexts; // drop-down items in order
    std::optional<ToolbarCommand> command; // of a click on the button itself
};

inline constexpr int kToolbarButtonCount = 46;

// Entries 1 to 46 in order.
const std::vector<ToolbarEntry>& ToolbarTable();

// What a click on the button runs; none for indices without a command.
std::optional<ToolbarCommand> ButtonCommand(int index);
// What a drop-down item runs, by its exact text; none for any other text.
std::optional<ToolbarCommand> DropDownCommand(const QString& text);

// The button groups that the format brush and the view menu work on.
inline bool InPitchGroup(int index) { return index >= 22 && index <= 26; }
inline bool InDurationGroup(int index) { return index >= 30 && index <= 33; }

} // namespace tunvale::editor
