#pragma once

#include "components/sequor/core/export_options.h"

#include <QDialog>

#include <array>
#include <optional>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace tunvale::sequor {

// "制作Mid...": the output path, the three texts of the conductor track and the optional tracks with
// their volumes and pans. OK checks the number boxes in order and stays open on the first one out of
// range, with its text selected.
class ExportOptionsForm final : public QDialog
{
    Q_OBJECT
public:
    ExportOptionsForm(
        const QString& path, bool hasSelection, const QStringList& folders, QWidget* parent = nullptr);

    // What OK left; meaningful once the dialog was accepted.
    const ExportOptions& options() const { return options_; }

    // The initial texts of the three boxes, shown as placeholders: a box holding one writes nothing.
    static const std::array<QString, 3> TextPlaceholders;

private:
    void FillInstrumentList(const QStringList& folders);
    void acceptOptions();
    // The box's number, rounded half to even, when it lies in 0..top; else the box gets the focus.
    std::optional<int> checkedNumber(QLineEdit* box, int top);

    QLineEdit* Text1;
    std::array<QLineEdit*, 3> Text2 {};
    std::array<QCheckBox*, 5> Check {};
    std::array<QLineEdit*, 5> Text3 {}; // 0, 1, 3 and 4 are used
    QComboBox* Combo1;
    ExportOptions options_;
};
using FrmMakMid = ExportOptionsForm;

} // namespace tunvale::sequor
