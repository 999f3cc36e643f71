#pragma once

#include "app/editor/parts/main_form_clipboard.h"
#include "app/editor/parts/main_form_editing.h"
#include "app/editor/parts/main_form_fonts.h"
#include "app/editor/window/main_form.h"
#include "tests/editing/score_builder.h"
#include "tests/support/scripted_prompts.h"

#include <QAction>

namespace tunvale::testing {

// The main window with its editing, clipboard and font parts over a score, without the rest of the
// load; menus and dialogs answer from scripts.
struct PartsWindow {
    ScopedPrompts prompts;
    editor::MainForm form;
    editor::MainFormEditing& editing = form.addPart<editor::MainFormEditing>();
    editor::MainFormClipboard& clipboard = form.addPart<editor::MainFormClipboard>();
    editor::MainFormFonts& fonts = form.addPart<editor::MainFormFonts>();
    platform::RichTextBox& editor = form.editor();

    explicit PartsWindow(std::initializer_list<ScoreLine> lines)
    {
        FillScore(editor, lines);
        // The margins on the text, as an open lays them and as every undo step lays them again.
        form.JzRTB(0);
        editing.undo().Reset();
        fonts.setPointerMover([](const QPoint&) {});
        clipboard.setMenuShower([](QMenu&, const QPoint&) {});
    }
    int steps() const { return editing.undo().getUndoCount(); }
    bool enabled(const QString& name) const { return form.action(name)->isEnabled(); }
};

} // namespace tunvale::testing
