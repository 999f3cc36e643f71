#pragma once

#include "app/dialogs/solfege_dialog.h"
#include "app/editor/parts/main_form_part.h"

namespace tunvale::editor {

// 工具 → "获取唱名": the solfège window over the open score, spelt by the playback's compiler.
class MainFormSolfege final : public MainFormPart, public dialogs::SolfegeWindow
{
    Q_OBJECT

public:
    explicit MainFormSolfege(MainForm& form);

    void showSolfegeNames();

    // dialogs::SolfegeWindow
    QString GetmyCM() override;
};

} // namespace tunvale::editor
