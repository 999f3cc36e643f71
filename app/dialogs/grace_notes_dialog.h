#pragma once

#include "app/dialogs/notation_palettes.h"

#include <QDialog>

#include <array>
#include <optional>
#include <vector>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStatusBar;

namespace tunvale::dialogs {

class GlyphPalette;

// "插入倚音": the user composes a group of one to four grace notes for the note before the caret,
// choosing notes in the palette of the long or the short type ("确认=>" appends the chosen one) or
// typing their degrees, and says whether they lie under a slur and whether they come after the note.
// "完成" gives the group's characters; Cancel and the close box give nothing.
class GraceNotesDialog : public QDialog
{
    Q_OBJECT

public:
    // YYInitDur and YYInitArc: duration index and slur digit of the note before the caret.
    GraceNotesDialog(int YYInitDur, int YYInitArc, QWidget* parent = nullptr);

    // After the dialog has closed: the group was accepted, and its characters.
    bool YYAccepted() const { return YYAccepted_; }
    const std::vector<int>& YYCodes() const { return YYCodes_; }

    std::array<QRadioButton*, 2> Option1 {}; // long, short
    GlyphPalette* Text2 = nullptr; // the palette
    QPushButton* Command3 = nullptr; // "确认=>"
    QLineEdit* Text1 = nullptr; // the sequence
    QCheckBox* Check1 = nullptr; // under a slur
    QCheckBox* Check2 = nullptr; // after-grace
    QPushButton* Command1 = nullptr; // "完成"
    QPushButton* Command2 = nullptr; // "取消"
    QStatusBar* StatusBar1 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void chooseType(int type);
    void confirmNote();
    void appendNote(QChar note);
    void acceptGroup();

    int YYInitDur_;
    int GraceType_ = 1;
    bool YYAccepted_ = false;
    std::vector<int> YYCodes_;
    // The status text shown when the first note was appended; it comes back after every append.
    std::optional<QString> noteStatus_;
};
using YY = GraceNotesDialog;

} // namespace tunvale::dialogs
