#include "app/editor/parts/main_form_drum_editor.h"

#include "app/drums/accompaniment_dialog.h"
#include "app/drums/accompaniment_styles.h"
#include "app/drums/drum_editor.h"
#include "app/drums/rap_dialog.h"
#include "app/editor/parts/main_form_drums.h"
#include "app/editor/parts/main_form_playback.h"
#include "app/editor/window/main_form.h"
#include "app/editor/window/main_toolbar.h"
#include "app/editor/window/status_panels.h"
#include "app/frame/process_state.h"
#include "app/playback/playback_state.h"

#include <QLineEdit>

namespace tunvale::editor {

MainFormDrumEditor::MainFormDrumEditor(MainForm& form)
    : MainFormPart(form)
{
    form.part<MainFormDrums>().setDrumEditor([this] { return showEditedBar(); });
    // The end of an audition hands the controls back; a closed editor has none to take.
    form.part<MainFormPlayback>().drumEditorControlsHook = [this](bool enabled) {
        if (editor_ && editor_->isOpen())
            editor_->ControlsEnabled(enabled);
    };
    form.connectItem(QStringLiteral("RapSet"), [this] { choosePercussionSound(); });
    form.connectItem(QStringLiteral("PZType1"), [this] { showAccompanimentStyles(); });
}

MainFormDrumEditor::~MainFormDrumEditor()
{
    form_.part<MainFormPlayback>().drumEditorControlsHook = [](bool) {};
    delete editor_;
}

drums::DrumEditor* MainFormDrumEditor::drumEditor() const { return editor_; }

bool MainFormDrumEditor::showEditedBar()
{
    if (!editor_)
        editor_ = new drums::DrumEditor(*this, notation::ProcessDrumStores(), *playback::NotePlayer, &form_);
    return editor_->ShowOneDrum(true);
}

void MainFormDrumEditor::choosePercussionSound()
{
    drums::RapDialog dialog(*playback::NotePlayer, frame::Process().ScoreHeader, &form_);
    dialog.exec();
}

void MainFormDrumEditor::showAccompanimentStyles()
{
    const drums::AccompanimentStyles styles = drums::AccompanimentStyles::load();
    drums::AccompanimentDialog dialog(styles, &form_);
    dialog.exec();
}

void MainFormDrumEditor::windowClosing()
{
    if (editor_)
        editor_->close();
}

void MainFormDrumEditor::setEditingEnabled(bool enabled)
{
    form_.setControlsEnabled(ControlGroup::DrumEditor, enabled);
}

void MainFormDrumEditor::sendToBar(int bar, const notation::DrumRecord& record)
{
    notation::ProcessDrumStores().DrumClip = record;
    form_.part<MainFormDrums>().start(drums::DrumOp::FromEditor, bar);
}

void MainFormDrumEditor::listPatterns() { form_.part<MainFormDrums>().listPatterns(); }

int MainFormDrumEditor::editedBar() const { return form_.part<MainFormDrums>().operations().EditedBar; }

void MainFormDrumEditor::showHint(const QString& text)
{
    form_.statusPanels().setPanelText(StatusPanel::Hint, text);
}

QString MainFormDrumEditor::speedText() const { return form_.toolbar().Text_Speed->text(); }

bool MainFormDrumEditor::audition(playback::PlayMode mode, int index)
{
    return form_.part<MainFormPlayback>().commands().auditionDrums(mode, index);
}

} // namespace tunvale::editor
