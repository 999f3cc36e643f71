#include "app/drums/accompaniment_dialog.h"

#include "app/drums/accompaniment_styles.h"
#include "app/drums/choice_list.h"
#include "app/drums/drum_sound_names.h"
#include "platform/desktop/prompts.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace tunvale::drums {

AccompanimentDialog::AccompanimentDialog(const AccompanimentStyles& styles, QWidget* parent)
    : QDialog(parent)
    , styles_(styles)
{
    setObjectName(QStringLiteral("SetPZ"));
    setWindowTitle(QStringLiteral("伴奏设置..."));
    const auto button = [this](const char* object, const char* text) {
        auto* b = new QPushButton(QString::fromUtf8(text), this);
        b->setObjectName(QLatin1String(object));
        return b;
    };

    auto* listFrame = new QGroupBox(QStringLiteral("类型列表"), this);
    myDrumList = new QListWidget(listFrame);
    myDrumList->setObjectName(QStringLiteral("myDrumList"));
    myDrumList->setToolTip(QStringLiteral("双击编辑..."));
    myDrumList->viewport()->installEventFilter(this);
    Command3 = button("Command3", "添加");
    Command4 = button("Command4", "删除");
    auto* listButtons = new QHBoxLayout;
    listButtons->addWidget(Command3);
    listButtons->addWidget(Command4);
    auto* listLayout = new QVBoxLayout(listFrame);
    listLayout->addWidget(myDrumList);
    listLayout->addLayout(listButtons);

    auto* editFrame = new QGroupBox(QStringLiteral("编辑"), this);
    auto* edit = new QGridLayout(editFrame);
    auto* nameLabel = new QLabel(QStringLiteral("名称："), editFrame);
    nameLabel->setObjectName(QStringLiteral("Label2"));
    Text1 = new QLineEdit(editFrame);
    Text1->setObjectName(QStringLiteral("Text1"));
    edit->addWidget(nameLabel, 0, 0);
    edit->addWidget(Text1, 0, 1);
    const std::array<const char*, notation::AccompClassCount> classes
        = { ">2分音符：", "2分音符:", "4分音符:", "8分音符:", "<8分音符:" };
    const DrumSoundNames sounds = LoadDrumSoundNames();
    for (int k = 0; k < notation::AccompClassCount; ++k) {
        Label1[k] = new QLabel(QString::fromUtf8(classes[std::size_t(k)]), editFrame);
        Label1[k]->setObjectName(QStringLiteral("Label1(%1)").arg(k));
        ComboDrum[k] = new ChoiceList(editFrame);
        ComboDrum[k]->setObjectName(QStringLiteral("ComboDrum(%1)").arg(k));
        ComboDrum[k]->addItems(sounds.items);
        edit->addWidget(Label1[k], k + 1, 0);
        edit->addWidget(ComboDrum[k], k + 1, 1);
    }

    Command1 = button("Command1", "确定");
    Command1->setDefault(true);
    Command2 = button("Command2", "取消");
    connect(Command1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Command2, &QPushButton::clicked, this, &QDialog::reject);
    auto* frames = new QHBoxLayout;
    frames->addWidget(listFrame);
    frames->addWidget(editFrame, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(frames);
    layout->addLayout(buttons);

    myDrumList->addItems(styles_.names());
    if (!sounds.complete)
        platform::Prompts::current().information(kMissingDrumSoundsMessage);
    for (ChoiceList* list : ComboDrum)
        list->choose(kBassDrumSound);
}

void AccompanimentDialog::showStyle(int row)
{
    if (row < 0)
        return;
    const int n = row + 1;
    Text1->setText(styles_.name(n));
    for (int k = 0; k < notation::AccompClassCount; ++k)
        ComboDrum[k]->choose(styles_.soundIndex(n, k));
}

bool AccompanimentDialog::eventFilter(QObject* watched, QEvent* event)
{
    // A double-click anywhere in the list shows the style selected, as its press left it.
    if (watched == myDrumList->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        const QListWidgetItem* selected = myDrumList->currentItem();
        showStyle(selected && selected->isSelected() ? myDrumList->row(selected) : -1);
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tunvale::drums
