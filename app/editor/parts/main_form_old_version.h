#pragma once

#include "app/editor/parts/main_form_part.h"

namespace tunvale::editor {

// 工具 → "版本转换...": rewrites a score written before version 5.2 into the current codes, as one undo
// step, and fits the bars' drum records to the converted bars.
class MainFormOldVersion final : public MainFormPart
{
    Q_OBJECT

public:
    explicit MainFormOldVersion(MainForm& form);

    // Asks first; the tool can't tell an old score, so a converted score would change again.
    void convertOldVersion();
};

} // namespace tunvale::editor
