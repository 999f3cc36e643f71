#pragma once

#include "app/editor/parts/main_form_part.h"

#include <keyshift.h>

#include <memory>

namespace tunvale::editor {

// 工具 → 移调: the items "+2", "-2", "+1", "-1" transpose the whole score, each one undo step. The
// transposer is made at the first transposition.
class MainFormTransposition final : public MainFormPart
{
    Q_OBJECT

public:
    explicit MainFormTransposition(MainForm& form);
    ~MainFormTransposition() override;

    // The item at `index` checked, then the score transposed by its step.
    void transposeByItem(int index);
    // Transposes the whole score by `semitones`; a step the transposer refuses leaves the score as it is.
    void transposeScore(int semitones);

private:
    std::unique_ptr<keyshift::ClsYD> transposer_;
};

} // namespace tunvale::editor
