#pragma once

namespace tunvale::editor {
class MainForm;
}

// Bar lines typed into or deleted from a loaded window's score as a notation command does it: the
// undo engine records the bars before, the command flag is set while the text changes, and the step
// is taken at once unless the caller keeps it open for a second edit.
namespace tunvale::testing {

enum class Step { Take, KeepOpen };

// Replaces bars `at` ... `at` + `selected` - 1 (with their closing bar lines) by `count` plain bar
// lines standing right behind the bar line that opens bar `at`. False when those bars do not exist or
// `count` is negative or more than a score counts (32767).
bool ReplaceBars(editor::MainForm& form, int at, int selected, int count, Step step = Step::Take);

// `count` bar lines typed behind the bar line that opens bar `at`.
inline bool InsertBarLines(editor::MainForm& form, int at, int count, Step step = Step::Take)
{
    return ReplaceBars(form, at, 0, count, step);
}

// Bar `at`'s next `count` bar lines deleted with the text between.
inline bool DeleteBars(editor::MainForm& form, int at, int count, Step step = Step::Take)
{
    return ReplaceBars(form, at, count, 0, step);
}

} // namespace tunvale::testing
