#pragma once

#include "app/playback/play_order_text.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QStatusBar;
class QTextEdit;

namespace tunvale::dialogs {

// Sets the play order of the open score: shows its segment marks as glyphs with the numbers of the
// segments between them and takes the order as segment numbers separated by commas.
class PlayOrderDialog : public QDialog
{
    Q_OBJECT

public:
    explicit PlayOrderDialog(QWidget* parent = nullptr);

    // Fills both boxes for the score's key and the order in force; run before every showing.
    void activate(const QString& key, const notation::PlayOrderEntries& order);

    // After OK: the cleaned order and whether the user changed the text.
    const playback::CleanedPlayOrder& chosen() const { return chosen_; }
    bool textChanged() const { return chosen_.text != DialogStartText; }
    const QString& DialogKey() const { return DialogKey_; }

    QTextEdit* RichTextBox1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;

private:
    void ShowKeyGlyphs(const QString& key);
    void acceptOrder();

    QString DialogKey_;
    QString DialogStartText;
    playback::CleanedPlayOrder chosen_;
};

using playOrderDialog = PlayOrderDialog;

} // namespace tunvale::dialogs
