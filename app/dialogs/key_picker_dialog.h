#pragma once

#include <QDialog>

#include <array>

class QRadioButton;
class QPushButton;
class QStatusBar;

namespace tunvale::dialogs {

class GlyphPalette;

// "插入音调...": the user picks the key written after the key marker "1=", a key name in one of three
// registers, with a sharp or a flat in front where the key takes one. The answer goes to the
// caller's KeyPickText: the key text after OK or a double-click on a key, "" after Cancel or the
// close box. When shown it selects the key that KeyPickText holds, with or without its prefix.
class KeyPickerDialog : public QDialog
{
    Q_OBJECT

public:
    explicit KeyPickerDialog(QString& KeyPickText, QWidget* parent = nullptr);

    void reject() override;

    GlyphPalette* Text1 = nullptr; // the key names
    std::array<QRadioButton*, 3> Upanddown {}; // none, sharp, flat
    QPushButton* Command1 = nullptr; // OK
    QPushButton* Command2 = nullptr; // Cancel
    QStatusBar* StatusBar1 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void keyPressed();
    void keyDoubleClicked();
    void acceptKey();

    QString& KeyPickText_;
};
using Instr_YD = KeyPickerDialog;

} // namespace tunvale::dialogs
