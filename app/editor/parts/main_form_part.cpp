#include "app/editor/parts/main_form_part.h"

namespace tunvale::editor {

MainFormPart::MainFormPart(MainForm& form)
    : form_(form)
{
}

MainFormPart::~MainFormPart() = default;

bool MainFormPart::readyToClose() { return true; }

void MainFormPart::windowClosing() { }

void MainFormPart::scoreReplaced() { }

} // namespace tunvale::editor
