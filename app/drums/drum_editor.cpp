#include "app/drums/drum_editor.h"

#include "app/drums/choice_list.h"
#include "app/drums/drum_sound_names.h"
#include "app/drums/step_grid.h"
#include "app/drums/template_list.h"
#include "app/drums/time_signature_rows.h"
#include "app/playback/play_note.h"
#include "platform/desktop/help_window.h"
#include "platform/desktop/prompts.h"
#include "platform/settings/registry.h"
#include "platform/text/runtime_numbers.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QStatusBar>

namespace tunvale::drums {

namespace {

using platform::Prompts;

const QString kRegistryPath = QStringLiteral("Software\\Velmora");
const QString kWidthKey = QStringLiteral("WinMod");
const QString kFrameHint
    = QStringLiteral("鼓点结构，请在设计完成后保存，也可暂时存放在模板中。注意：退出本界面，"
                     "在编辑界面没有保存的将不会得到提示!!!");

// A volume box's number, rounded half to even; none outside 0 ... 127, however far.
std::optional<int> VolumeValue(const QString& text)
{
    const double volume = platform::RoundHalfEven(platform::Val(text));
    if (!(volume >= 0 && volume <= 127))
        return std::nullopt;
    return int(volume);
}

} // namespace

DrumEditor::DrumEditor(
    DrumEditorWindow& window, notation::DrumStores& stores, playback::PlayNote& player, QWidget* owner)
    : QWidget(owner, Qt::Tool)
    , window_(window)
    , stores_(stores)
    , player_(player)
{
    setObjectName(QStringLiteral("FrmDrum201512"));
    setWindowTitle(QStringLiteral("鼓点编辑..."));
    buildControls();
    connectControls();
    setNarrow(true);
}

DrumEditor::~DrumEditor() = default;

void DrumEditor::connectControls()
{
    for (int t = 0; t < kTracks; ++t) {
        connect(ComboDrum[t], &ChoiceList::chosen, this, [this, t](int index) { soundChosen(t, index); });
        connect(TextVolume[t], &QLineEdit::textChanged, this, [this, t] { volumeTyped(t); });
        connect(VScrollvolume[t], &QScrollBar::valueChanged, this, [this, t] { volumeScrolled(t); });
    }
    connect(ComboTime, &ChoiceList::chosen, this, &DrumEditor::timeChosen);
    connect(Label5, &StepGrid::stepPressed, this, &DrumEditor::stepPressed);
    connect(CmdClear, &QPushButton::clicked, this, &DrumEditor::clearPattern);
    connect(CmdAudition, &QPushButton::clicked, this, &DrumEditor::auditionPattern);
    connect(CmdIncreaseSave, &QPushButton::clicked, this,
        [this] { DrumSave->popup(CmdIncreaseSave->mapToGlobal(QPoint(0, CmdIncreaseSave->height()))); });
    connect(Command1, &QPushButton::clicked, this,
        [this] { platform::ShowHelpTopic(this, QStringLiteral("鼓点的设置.htm")); });
    for (int item : { 0, 2, 3 })
        connect(SaveJmD[item], &QAction::triggered, this, [this, item] { saveAs(item); });
    connect(munMyDrum, &QMenu::aboutToShow, this, &DrumEditor::enableTemplateMenu);
    connect(ModAudition, &QAction::triggered, this, &DrumEditor::auditionTemplate);
    connect(munEditForDat, &QAction::triggered, this, &DrumEditor::editTemplate);
    connect(munDelDataDrum, &QAction::triggered, this, &DrumEditor::deleteTemplate);
    connect(munSendForSong, &QAction::triggered, this, &DrumEditor::sendTemplateToSong);
    connect(myDrumList, &QListWidget::itemDoubleClicked, this, &DrumEditor::editTemplate);
    connect(
        myDrumList, &TemplateList::menuRequested, this, [this](const QPoint& at) { munMyDrum->popup(at); });
    connect(myDrumList, &TemplateList::hovered, this, [this] {
        showStatus(QStringLiteral(
            "鼓点模板：以小节为单位制作的鼓点“模块”，可发送至简谱参与演奏。右击显示功能菜单。"));
    });
    for (QObject* watched : std::initializer_list<QObject*> { Label2, Image1, Text1, Frame2, Frame5, Frame6 })
        watched->installEventFilter(this);
}

void DrumEditor::load()
{
    resetControls();
    window_.setEditingEnabled(false);
    const QString width = platform::Registry().ReadRegKey(
        platform::HKEY_CURRENT_USER, kRegistryPath, kWidthKey, QStringLiteral("1"));
    setNarrow(platform::Val(width) != 0);
    fillLists();
    lastTimeCode_ = 0;
    Text_Speed->setValue(HeldSpeed(platform::Val(window_.speedText())));
    fillTemplateList();
    formReady_ = true;
    open_ = true;
    // First over the middle of the main window, so that the bar strip below stays in reach; later where
    // the user left it.
    if (!placed_ && parentWidget()) {
        move(parentWidget()->geometry().center() - rect().center());
        placed_ = true;
    }
    show();
    raise();
    activateWindow();
}

// What nothing shown leaves: the controls as designed.
void DrumEditor::resetControls()
{
    formReady_ = false;
    ControlsEnabled(true);
    Text1->clear();
    CheckHaveDrum->setChecked(false);
    for (int t = 0; t < kTracks; ++t) {
        CheckChannel[t]->setChecked(false);
        TextVolume[t]->setText(QStringLiteral("75"));
        Slider_Drum[t]->setValue(64);
    }
    Label5->clearSteps();
    Label7->clear();
    StatusBar1->clearMessage();
    panMirrored_ = false;
    showPanPicture();
}

void DrumEditor::fillLists()
{
    if (ComboDrum[0]->count() == 0) {
        const DrumSoundNames names = LoadDrumSoundNames();
        if (!names.complete)
            Prompts::current().information(kMissingDrumSoundsMessage);
        for (ChoiceList* list : ComboDrum)
            list->addItems(names.items);
        for (const TimeSignatureRow& row : TimeSignatureRows())
            ComboTime->addItem(row.item);
        // The heading is there to be seen, not chosen.
        if (auto* model = qobject_cast<QStandardItemModel*>(ComboTime->model()))
            model->item(kCustomHeadingRow)->setEnabled(false);
    }
    for (ChoiceList* list : ComboDrum)
        list->choose(kBassDrumSound);
    ComboTime->setCurrentIndex(-1);
}

bool DrumEditor::ShowOneDrum(bool ask)
{
    if (!open_) {
        load();
    } else {
        raise();
        activateWindow();
    }
    if (ask && !mayReplaceShown())
        return false;
    showEditRecord();
    return true;
}

bool DrumEditor::mayReplaceShown()
{
    if (Text1->text().isEmpty())
        return true;
    return Prompts::current().ask({ QStringLiteral("编辑界面有数据，覆盖它？"), platform::kProgramTitle,
               platform::PromptIcon::Question, platform::PromptButtons::OkCancel,
               platform::PromptAnswer::Ok })
        == platform::PromptAnswer::Ok;
}

void DrumEditor::showEditRecord()
{
    notation::DrumRecord& shown = stores_.DrumEdit;
    if (shown.DrumSpeed == 0)
        shown.DrumSpeed = kDefaultSpeed;
    const DrumEditorState state = StateOfRecord(shown);
    Text1->setText(state.name);
    for (int t = 0; t < kTracks; ++t) {
        const DrumEditorState::Track& track = state.tracks[std::size_t(t)];
        CheckChannel[t]->setChecked(track.on);
        TextVolume[t]->setText(track.volume);
        // The pan first: the sound plays as the track will.
        Slider_Drum[t]->setValue(track.pan);
        shownSounds_[std::size_t(t)] = track.sound;
        ComboDrum[t]->choose(track.sound);
    }
    CheckHaveDrum->setChecked(state.haveDrum);
    showTimeCode(state.timeCode);
    Text_Speed->setValue(state.speed);
    for (int t = 0; t < kTracks; ++t) {
        for (int s = 0; s < notation::DrumRecord::Steps; ++s)
            Label5->setStep(t, s, state.tracks[std::size_t(t)].steps[std::size_t(s)]);
    }
}

void DrumEditor::showTimeCode(int code)
{
    shownTimeCode_ = code;
    ComboTime->choose(code);
}

void DrumEditor::timeChosen(int index)
{
    if (index == kCustomHeadingRow) {
        showTimeCode(lastTimeCode_);
        return;
    }
    const int code = index >= 0 ? index : shownTimeCode_;
    shownTimeCode_ = code;
    QString text;
    if (index >= 0) {
        const TimeSignatureRow& row = TimeSignatureRows()[std::size_t(index)];
        Label7->setText(row.accents);
        Label5->setBarEnd(row.barEnd());
    } else {
        Label7->clear();
        Label5->setBarEnd(notation::TimeSigSteps(code, text));
    }
    if (index > kCustomHeadingRow)
        showStatus(QStringLiteral("自定义鼓点，适用于有延长音小节。"));
    lastTimeCode_ = code;
}

void DrumEditor::soundChosen(int track, int index)
{
    if (index < 0)
        return;
    shownSounds_[std::size_t(track)] = index;
    if (formReady_)
        player_.DrumNote_on(
            index + 13, Slider_Drum[track]->value(), VolumeValue(TextVolume[track]->text()).value_or(0));
}

void DrumEditor::volumeTyped(int track)
{
    if (const std::optional<int> value = VolumeValue(TextVolume[track]->text())) {
        VScrollvolume[track]->setValue(-*value);
        return;
    }
    Prompts::current().information(QStringLiteral("音量值在 0-127 之间!"));
    TextVolume[track]->setText(QStringLiteral("0"));
    TextVolume[track]->selectAll();
}

void DrumEditor::volumeScrolled(int track)
{
    const int value = -VScrollvolume[track]->value();
    // A typed "075" stays as typed.
    if (VolumeValue(TextVolume[track]->text()) != value)
        TextVolume[track]->setText(QString::number(value));
}

void DrumEditor::stepPressed(int track, int step)
{
    if (Text1->text().isEmpty()) {
        Prompts::current().information(QStringLiteral("必须先取取名，再进行节奏编辑。"));
        return;
    }
    Label5->setStep(track, step, !Label5->step(track, step));
}

void DrumEditor::mirrorPans()
{
    panMirrored_ = !panMirrored_;
    showPanPicture();
    for (QSlider* pan : Slider_Drum)
        pan->setValue(127 - pan->value());
}

void DrumEditor::switchWidth()
{
    setNarrow(!narrow_);
    platform::Registry().WriteRegKey(platform::REG_SZ, platform::HKEY_CURRENT_USER, kRegistryPath, kWidthKey,
        narrow_ ? QStringLiteral("1") : QStringLiteral("0"));
}

void DrumEditor::clearPattern()
{
    const platform::PromptAnswer answer
        = Prompts::current().ask({ QStringLiteral("确定清除？"), platform::kProgramTitle,
            platform::PromptIcon::Question, platform::PromptButtons::YesNo, platform::PromptAnswer::Yes });
    if (answer != platform::PromptAnswer::Yes)
        return;
    stores_.DrumEdit = MakeEmptyDrumRecord();
    showEditRecord();
}

void DrumEditor::auditionPattern()
{
    ControlsEnabled(false);
    stores_.AuditionDrum = { BuildDrumRecord() };
    if (!window_.audition(playback::PlayMode::PatternAudition, 0))
        ControlsEnabled(true);
}

void DrumEditor::ControlsEnabled(bool enabled) { content_->setEnabled(enabled); }

DrumEditorState DrumEditor::state() const
{
    DrumEditorState state;
    state.name = Text1->text();
    state.haveDrum = CheckHaveDrum->isChecked();
    for (int t = 0; t < kTracks; ++t) {
        DrumEditorState::Track& track = state.tracks[std::size_t(t)];
        track.on = CheckChannel[t]->isChecked();
        track.sound = shownSounds_[std::size_t(t)];
        track.volume = TextVolume[t]->text();
        track.pan = Slider_Drum[t]->value();
        for (int s = 0; s < notation::DrumRecord::Steps; ++s)
            track.steps[std::size_t(s)] = Label5->step(t, s);
    }
    state.timeCode = shownTimeCode_;
    state.speed = Text_Speed->value();
    return state;
}

notation::DrumRecord DrumEditor::BuildDrumRecord() const { return drums::BuildDrumRecord(state()); }

void DrumEditor::showStatus(const QString& text) { StatusBar1->showMessage(text); }

void DrumEditor::closeEvent(QCloseEvent* event)
{
    if (open_) {
        open_ = false;
        formReady_ = false;
        window_.setEditingEnabled(true);
    }
    QWidget::closeEvent(event);
}

void DrumEditor::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool DrumEditor::eventFilter(QObject* watched, QEvent* event)
{
    const bool click = event->type() == QEvent::MouseButtonRelease;
    if (watched == Label2 && click && content_->isEnabled())
        switchWidth();
    else if (watched == Image1 && click && content_->isEnabled())
        mirrorPans();
    else if (event->type() == QEvent::Enter && (watched == Frame2 || watched == Frame5 || watched == Frame6))
        showStatus(kFrameHint);
    else if (watched == Text1)
        return templateDropped(event) || QWidget::eventFilter(watched, event);
    return QWidget::eventFilter(watched, event);
}

} // namespace tunvale::drums
