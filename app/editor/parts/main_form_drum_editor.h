#pragma once

#include "app/drums/drum_editor_window.h"
#include "app/editor/parts/main_form_part.h"

#include <QPointer>

namespace tunvale::drums {
class DrumEditor;
}

// The main window's drum editor, opened on a bar from the strip or the Insert menu, and the percussion
// sound and accompaniment style dialogs of the Play menu.
namespace tunvale::editor {

class MainFormDrumEditor final : public MainFormPart, public drums::DrumEditorWindow
{
    Q_OBJECT

public:
    explicit MainFormDrumEditor(MainForm& form);
    ~MainFormDrumEditor() override;

    // The editor, made on first use; nullptr before.
    drums::DrumEditor* drumEditor() const;
    // Shows the edited bar's record in the editor; false when the user keeps the pattern shown.
    bool showEditedBar();
    void choosePercussionSound();
    void showAccompanimentStyles();

    // MainFormPart
    void windowClosing() override;

    // drums::DrumEditorWindow
    void setEditingEnabled(bool enabled) override;
    void sendToBar(int bar, const notation::DrumRecord& record) override;
    void listPatterns() override;
    int editedBar() const override;
    void showHint(const QString& text) override;
    QString speedText() const override;
    bool audition(playback::PlayMode mode, int index) override;

private:
    QPointer<drums::DrumEditor> editor_;
};

} // namespace tunvale::editor
