#pragma once

#include "app/notation/score_header.h"

#include <QDialog>

#include <array>
#include <cstdint>

class QCheckBox;
class QPushButton;
class QRadioButton;

namespace tunvale::platform {
class RichTextBox;
class RichTextEdit;
} // namespace tunvale::platform

namespace tunvale::dialogs {

class ColorPicker;

// What the colour dialog changes on the score window. Every change of the score is one undo step.
class ColorSchemeWindow
{
public:
    virtual ~ColorSchemeWindow() = default;

    // Every notation line (true) or every other line in the scheme's colour for it; the saved flag stays.
    virtual void recolourLines(bool notation) = 0;
    // The pieces of the selection of one kind, as the selection was at opening, in `color`; the selection
    // then starts at the first piece with its old length.
    virtual void colourSelectedPieces(bool notation, std::int32_t color) = 0;
    // The scheme's background on the editor and the play view, highlights of played notes cleared.
    virtual void applyBackground() = 0;
    // Takes back every change of the score since the dialog opened, both undo stacks included, and
    // shows the scheme's background again.
    virtual void takeBackChanges() = 0;
    // The box the played-note highlighter marks while no dialog borrows it.
    virtual platform::RichTextBox& playView() = 0;
};

// The colour of each option, in the order of the options.
enum class ColorOption {
    Background = 0,
    NotationLines = 1,
    PlayedNote = 2,
    PlayedNoteBack = 3,
    LyricLines = 4
};

// How the dialog was closed: OK, Cancel (everything taken back), or Esc and the close box (what was
// applied stays).
enum class ColorDialogClose { Ok, Cancel, Kept };

// The complement of a colour, as the played-note colours are stored.
std::int32_t ComplementColor(std::int32_t c);

// "简谱界面颜色...": each pick applies at once to the open score's scheme (frame::Process().ColorScheme),
// to the score and to the sample; OK can also save the scheme as the one new scores start with.
class ColorDialog : public QDialog
{
    Q_OBJECT

public:
    ColorDialog(ColorSchemeWindow& window, ColorPicker& picker, QWidget* parent = nullptr);

    // "只对选中歌词有效" and "只对选中简谱有效" are offered only when the selection holds such pieces.
    void enableSelectionChecks(bool lyrics, bool notation);

    // Picks the colour of an option and applies it.
    void ApplyColorChoice(ColorOption option);
    // Shows the scheme on the sample: background, notation line, the third note as played, lyric line.
    void ShowColorSample();

    ColorDialogClose closedBy() const { return closedBy_; }
    // Some pick was applied (and not taken back by Cancel).
    bool colorsApplied() const { return applied_; }

    QRadioButton* option(ColorOption option) const { return options_[std::size_t(option)]; }
    QCheckBox* lyricsOnly() const { return check1_; }
    QCheckBox* notationOnly() const { return check2_; }
    QCheckBox* saveAsInitial() const { return check3_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }
    platform::RichTextEdit* sampleView() const { return sampleView_; }
    // The sample's text with the selection ShowColorSample leaves.
    platform::RichTextBox& sample() const { return *sample_; }

    void done(int result) override;
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWindow();
    void loadSample();
    void acceptColors();
    void cancelColors();

    ColorSchemeWindow& window_;
    ColorPicker& picker_;
    notation::ColorScheme savedColors_;
    std::int32_t lastPicked_ = 0;
    bool applied_ = false;
    ColorDialogClose closedBy_ = ColorDialogClose::Kept;

    std::array<QRadioButton*, 5> options_ {};
    QCheckBox* check1_ = nullptr;
    QCheckBox* check2_ = nullptr;
    QCheckBox* check3_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    platform::RichTextEdit* sampleView_ = nullptr;
    // A second caret over the sample's text, so the view shows no selection.
    platform::RichTextBox* sample_ = nullptr;
};
using FrmSetColor = ColorDialog;

} // namespace tunvale::dialogs
