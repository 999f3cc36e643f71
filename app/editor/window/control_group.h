#pragma once

namespace tunvale::editor {

// The groups of controls that are locked together: while the drum editor is open, while the undo
// engine works through many steps, and while a score plays.
enum class ControlGroup { DrumEditor, UndoSteps, Playback };

} // namespace tunvale::editor
