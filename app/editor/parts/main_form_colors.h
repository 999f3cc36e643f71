#pragma once

#include "app/dialogs/color_dialog.h"
#include "app/dialogs/color_picker.h"
#include "app/editor/editing/undo_engine.h"
#include "app/editor/parts/main_form_part.h"

#include <memory>
#include <vector>

namespace tunvale::editor {

// 工具 → "颜色...": the colour dialog over the open score. Its recolourings are undo steps, all taken
// back by its Cancel; any colour applied otherwise leaves the score modified.
class MainFormColors final : public MainFormPart, public dialogs::ColorSchemeWindow
{
    Q_OBJECT

public:
    MainFormColors(MainForm& form, std::unique_ptr<dialogs::ColorPicker> picker);

    void chooseColors();

    // dialogs::ColorSchemeWindow
    void recolourLines(bool notation) override;
    void colourSelectedPieces(bool notation, std::int32_t color) override;
    void applyBackground() override;
    void takeBackChanges() override;
    platform::RichTextBox& playView() override;

private:
    // The window's clean-up of played-note highlights, which also lays the background on both views.
    void startHighlightCleaner();

    std::unique_ptr<dialogs::ColorPicker> picker_;
    UndoEngine::Checkpoint opened_;
    std::vector<JpSelPiece> pieces_;
};

} // namespace tunvale::editor
