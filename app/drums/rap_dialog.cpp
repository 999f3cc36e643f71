#include "app/drums/rap_dialog.h"

#include "app/drums/choice_list.h"
#include "app/drums/rap_sound_choice.h"
#include "app/playback/play_note.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tunvale::drums {

RapDialog::RapDialog(playback::PlayNote& player, notation::ScoreHeader& header, QWidget* parent)
    : QDialog(parent)
    , player_(player)
    , header_(header)
{
    setObjectName(QStringLiteral("RAP"));
    setWindowTitle(QStringLiteral("RAP鼓"));
    ComboDrum = new ChoiceList(this);
    ComboDrum->setObjectName(QStringLiteral("ComboDrum"));
    ComboDrum->setMinimumWidth(220);
    ComboDrum->setMaxVisibleItems(16);
    Label1 = new QLabel(QStringLiteral("┛"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setCursor(Qt::PointingHandCursor);
    QFont big = Label1->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    Label1->setFont(big);
    Label1->installEventFilter(this);
    Command1 = new QPushButton(QStringLiteral("确定"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    Command2 = new QPushButton(QStringLiteral("取消"), this);
    Command2->setObjectName(QStringLiteral("Command2"));

    auto* choice = new QHBoxLayout;
    choice->addWidget(ComboDrum, 1);
    choice->addWidget(Label1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choice);
    layout->addLayout(buttons);

    connect(ComboDrum, &ChoiceList::chosen, this, &RapDialog::soundChosen);
    connect(Command1, &QPushButton::clicked, this, &RapDialog::accept);
    connect(Command2, &QPushButton::clicked, this, &RapDialog::reject);
    showList(RapSoundListFor(header_.RapDrum));
}

void RapDialog::showList(const RapSoundList& list)
{
    full_ = list.full;
    ComboDrum->clear();
    ComboDrum->addItems(player_.fill_DrumSound_list(list.full ? 0 : -1));
    Label1->setToolTip(list.switchTip);
    ComboDrum->choose(list.index);
}

void RapDialog::soundChosen(int index)
{
    if (index >= 0)
        player_.DrumNote_on(RapItemNote(ComboDrum->itemText(index)), 64, header_.Volume);
}

void RapDialog::accept()
{
    // Without a selection (a stored sound outside the lists) the sound stays.
    if (ComboDrum->currentIndex() >= 0) {
        const int chosen = RapItemNote(ComboDrum->currentText()) - 13;
        if (chosen != header_.RapDrum)
            header_.ScoreSaved = false;
        header_.RapDrum = std::int16_t(chosen);
    }
    QDialog::accept();
}

bool RapDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Label1 && event->type() == QEvent::MouseButtonRelease)
        showList(SwitchedRapSoundList(full_));
    return QDialog::eventFilter(watched, event);
}

} // namespace tunvale::drums
