#pragma once

#include "app/editor/editing/note_commands.h"
#include "platform/richtext/rich_text_box.h"

#include <vector>

// The items of "跳跃记号": they turn a selected stretch of notation into a volta bracket that opens,
// continues or closes an ending, or add and remove the bracket's line. Each works on the editor's
// selection and needs one; each change is one undo step.
namespace tunvale::editor {

class VoltaCommands
{
public:
    // `busy` is the window's NotationCmdBusy, set while an item rewrites the selection.
    VoltaCommands(platform::RichTextBox& editor, NoteCommands& notes, bool& busy);

    // Runs item `index` (0 to 18) of the menu; separators and other indices do nothing.
    void applyItem(int index);

    // The items are enabled exactly when something is selected.
    bool itemsEnabled() const { return editor_.SelLength() > 0; }
    // The indices that are items and not separators, in menu order.
    static const std::vector<int>& itemIndices();

private:
    platform::RichTextBox& editor_;
    NoteCommands& notes_;
    bool& busy_;
};

} // namespace tunvale::editor
