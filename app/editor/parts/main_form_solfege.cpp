#include "app/editor/parts/main_form_solfege.h"

#include "app/editor/parts/main_form_playback.h"
#include "app/editor/window/main_form.h"
#include "app/playback/play_commands.h"

namespace tunvale::editor {

MainFormSolfege::MainFormSolfege(MainForm& form)
    : MainFormPart(form)
{
    form_.connectItem(QStringLiteral("SHowCM"), [this] { showSolfegeNames(); });
}

void MainFormSolfege::showSolfegeNames()
{
    dialogs::SolfegeDialog dialog(*this, &form_);
    dialog.exec();
}

QString MainFormSolfege::GetmyCM() { return form_.part<MainFormPlayback>().commands().GetmyCM(); }

} // namespace tunvale::editor
