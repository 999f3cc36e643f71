#include "app/editor/window/main_form.h"
#include "app/editor/parts/main_form_editing.h"

#include "app/editor/window/main_toolbar.h"
#include "app/editor/parts/main_form_score_files.h"
#include "app/frame/process_state.h"

#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>

namespace tunvale::editor {

bool MainForm::OpenVls(const QString& FileName)
{
    return MainFormScoreFiles::of(*this).OpenStartScore(FileName);
}

void MainForm::showScoreValues()
{
    const notation::ScoreHeader& header = frame::Process().ScoreHeader;
    QComboBox* sounds = Toolbar1->ComSounds;
    sounds->setCurrentIndex(
        header.Instrument >= 0 && header.Instrument < sounds->count() ? header.Instrument : 0);
    const QSignalBlocker speedBlocker(Toolbar1->VScroll1[0]);
    const QSignalBlocker volumeBlocker(Toolbar1->VScroll1[1]);
    Toolbar1->Text_Speed->setText(QString::number(header.Speed));
    Toolbar1->Text_Volume->setText(QString::number(header.Volume));
    Toolbar1->VScroll1[0]->setValue(header.Speed);
    Toolbar1->VScroll1[1]->setValue(header.Volume);
}

} // namespace tunvale::editor
