#pragma once

#include "app/notation/score_header.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace tunvale::playback {
class PlayNote;
}

namespace tunvale::drums {

class ChoiceList;
struct RapSoundList;

// The percussion sound of the score's RAP beats, chosen from the common drum sounds or from all 75;
// every sound chosen is heard. OK stores it in the score (which then counts as changed when the sound
// did); Cancel and the close box change nothing.
class RapDialog : public QDialog
{
    Q_OBJECT

public:
    RapDialog(playback::PlayNote& player, notation::ScoreHeader& header, QWidget* parent = nullptr);

    bool showsFullList() const { return full_; }

    ChoiceList* ComboDrum = nullptr;
    QLabel* Label1 = nullptr; // "┛": a click shows the other list
    QPushButton* Command1 = nullptr; // 确定
    QPushButton* Command2 = nullptr; // 取消

public slots:
    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showList(const RapSoundList& list);
    void soundChosen(int index);

    playback::PlayNote& player_;
    notation::ScoreHeader& header_;
    bool full_ = false;
};
using RAP = RapDialog;

} // namespace tunvale::drums
