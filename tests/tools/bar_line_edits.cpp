#include "tests/tools/bar_line_edits.h"

#include "app/editor/editing/line_table.h"
#include "app/editor/parts/main_form_editing.h"
#include "app/editor/window/main_form.h"

namespace tunvale::testing {

namespace {
constexpr char16_t kPlainBarLine = 0x6352;
// Bar counts are 16-bit: no edit types more bar lines than a score counts.
constexpr int kMaxBarLines = 32767;
} // namespace

bool ReplaceBars(editor::MainForm& form, int at, int selected, int count, Step step)
{
    editor::UndoEngine& undo = form.part<editor::MainFormEditing>().undo();
    platform::RichTextBox& box = form.editor();
    const std::vector<int> starts = editor::ScanBars(editor::BuildLineTable(box.snapshot()), 0, 0).BarStarts;
    if (at < 0 || selected < 0 || count < 0 || count > kMaxBarLines
        || qint64(at) + selected >= qint64(starts.size()))
        return false;
    const int from = starts[std::size_t(at)];
    const int to = starts[std::size_t(at) + std::size_t(selected)];
    // The first edit of a step: the engine sees the selection and keeps the bars before it.
    if (!undo.SnapshotPending()) {
        box.select(from, to - from);
        undo.Get_SelJPFormBegin_and_SelJPToEnd();
    }
    form.state().NotationCmdBusy = true;
    box.select(from, to - from);
    box.setSelText(QString(count, QChar(kPlainBarLine)));
    form.state().NotationCmdBusy = false;
    if (step == Step::Take)
        undo.FlushSnapshot();
    return true;
}

} // namespace tunvale::testing
