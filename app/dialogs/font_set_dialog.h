#pragma once

#include "app/dialogs/dialog_results.h"

#include <QDialog>

#include <array>
#include <functional>

class QComboBox;
class QPushButton;
class QRadioButton;

namespace tunvale::dialogs {

// Asks how the selected text's font size is to change: by a percentage, by a step in points or to
// one size. Each way is a row of an option button and an editable list; typing into or choosing from
// a list marks its row. OK hands the marked row's text over in DialogResults.
class FontSetDialog : public QDialog
{
    Q_OBJECT

public:
    // `selectionSize`: the font size of the editor's selection, 0 for mixed sizes; the size list opens
    // on it when it is listed. `showBrushPanel` writes the main window's status panel 7.
    FontSetDialog(DialogResults& results, double selectionSize,
        std::function<void(const QString&)> showBrushPanel, QWidget* parent = nullptr);

    // Types `text` into the list of `row` (0 to 2), replacing what it held, as the user would.
    void typeInto(int row, const QString& text);

    std::array<QRadioButton*, 3> Option1 {};
    std::array<QComboBox*, 3> Combo1 {};
    QPushButton* Command1 = nullptr; // OK
    QPushButton* Command2 = nullptr; // Cancel

private:
    void acceptChoice();

    DialogResults& results_;
    std::function<void(const QString&)> showBrushPanel_;
};
using FrmFontSet = FontSetDialog;

} // namespace tunvale::dialogs
