#pragma once

#include "app/drums/bar_hint.h"
#include "app/drums/drum_operations.h"
#include "app/editor/parts/main_form_part.h"

#include <functional>

class QMimeData;

namespace tunvale::drums {
class BarStrip;
}

// The main window's drums: the bar strip's events, the drum operations as undo steps, the drum
// patterns of the Insert menu, the strip's hints and its refresh.
namespace tunvale::editor {

class UndoEngine;

class MainFormDrums final : public MainFormPart, public drums::DrumWindow
{
    Q_OBJECT

public:
    explicit MainFormDrums(MainForm& form);

    drums::DrumOperations& operations() { return operations_; }

    // Makes `code` the pending operation on `bar` (or the range first..last) and applies it.
    void start(drums::DrumOp code, int bar = 0, int first = 0, int last = 0);
    // Applies the pending operation as one undo step. A template index (not -1) first makes that
    // template the transfer record of a menu pattern at the caret's bar.
    void applyOperation(int templateIndex);
    // Fills the drum pattern items of the Insert menu with the template names.
    void listPatterns();
    // The caret's bar goes to the drum editor.
    void editCaretBar();
    // The drum editor: it opens on EditedBar with DrumEdit, false when the user keeps the pattern it
    // shows (EditedBar and DrumEdit are then put back). Until one is set, "编辑小节鼓点..." stays unbuilt
    // and a double-click on a bar only hands its record over.
    void setDrumEditor(std::function<bool()> open);

    // A score was opened.
    void forgetSnapshots() { operations_.forgetSnapshots(); }
    void forgetShownBars() { operations_.forgetShownBars(); }

    // Short hints (the pattern's name) or balloons (the pattern itself) over the strip.
    bool shortHints() const { return shortHints_; }
    // The hint of the last mouse move over the strip.
    const drums::BarHint& lastHint() const { return lastHint_; }

    // drums::DrumWindow
    void RefreshDrumSlider(int bar) override;
    void markScoreModified() override;
    void playStepClick() override;
    int barCount() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectStrip();
    void goToBar(int bar);
    void copyBar(int bar);
    void openEditor(int bar);
    void dropOnBar(int bar, const QMimeData* data);
    void showRange(int first, int last);
    void showHint(int bar);
    UndoEngine& undo() const;

    drums::BarStrip& strip_;
    drums::DrumOperations operations_;
    drums::BarHints hints_;
    drums::BarHint lastHint_;
    bool shortHints_ = true;
    std::function<bool()> drumEditor_;
};

} // namespace tunvale::editor
