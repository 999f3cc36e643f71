#pragma once

#include <cstdint>

// What the score editor keeps while the window lives, in one place owned by the window.
namespace tunvale::editor {

struct EditorState {
    // Set while a notation command or the notation keyboard rewrites the selection; the undo engine
    // ignores selection changes then.
    bool NotationCmdBusy = false;
    // The view mode: 0 main toolbar, 1 margin and line-spacing ruler, 2 neither.
    std::int16_t ToolbarMode = 0;
    // Set while the margins are laid onto the text (a margin drag or JzRTB).
    bool LayoutBusy = false;

    // The caret: 1-based line and column in the editor, its position and bar at the last selection
    // change, and whether it stood near the end of its line.
    std::int16_t CaretLine = 1;
    std::int16_t CaretColumn = 1;
    std::int16_t LastSelStart = 0;
    std::int16_t LastOnXj = 0;
    bool CaretNearLineEnd = false;
};

} // namespace tunvale::editor
