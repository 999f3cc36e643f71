#pragma once

#include "app/notation/drum_record.h"
#include "app/playback/play_mode.h"

#include <QString>

namespace tunvale::drums {

// What the drum editor needs of the main window.
class DrumEditorWindow
{
public:
    virtual ~DrumEditorWindow() = default;

    // The main window's menus and score editor: off while the drum editor is open.
    virtual void setEditingEnabled(bool enabled) = 0;
    // Sends `record` to bar `bar` (0-based, within the score) as one undo step.
    virtual void sendToBar(int bar, const notation::DrumRecord& record) = 0;
    // The template names changed: the main window's pattern menu follows.
    virtual void listPatterns() = 0;
    // The bar the editor was opened on; it may lie past the score's end when bars were undone since.
    virtual int editedBar() const = 0;
    // A hint in the main window's status bar (its long panel).
    virtual void showHint(const QString& text) = 0;
    // The tempo shown in the main window's toolbar.
    virtual QString speedText() const = 0;
    // Plays record `index` of the drum templates (TemplateAudition) or of the audition store
    // (PatternAudition) as the toolbar's drum commands play a bar; false when it does not start (a play
    // runs, or nothing was built). When a started audition ends the window hands the editor's controls
    // back.
    virtual bool audition(playback::PlayMode mode, int index) = 0;
};

} // namespace tunvale::drums
