#include "app/editor/window/main_form.h"

#include "app/dialogs/about_box.h"
#include "app/dialogs/program_icon.h"
#include "app/editor/window/window_geometry.h"
#include "app/editor/window/main_toolbar.h"
#include "app/editor/actions/menu_items.h"
#include "app/editor/parts/main_form_editing.h"
#include "app/editor/parts/main_form_score_files.h"
#include "app/editor/window/status_panels.h"
#include "app/editor/window/wheel_filter.h"
#include "app/frame/process_state.h"
#include "app/playback/playback_state.h"
#include "platform/desktop/combo_drop_width.h"
#include "platform/desktop/dpi.h"
#include "platform/desktop/help_window.h"
#include "platform/desktop/prompts.h"
#include "platform/richtext/rich_text_edit.h"
#include "platform/settings/ini_file.h"
#include "platform/settings/program_folder.h"
#include "platform/settings/registry.h"
#include "platform/text/runtime_numbers.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QTextDocument>
#include <QTimer>

#include <cmath>

namespace tunvale::editor {

namespace {

const QString kRegistryPath = QStringLiteral("Software\\Velmora");
const QString kColourHint = QStringLiteral("如打开时界面颜色不协调，用“工具-颜色”重新设置、保存。");

frame::ProcessState& process() { return frame::Process(); }

// Sets up a rich-text view the way the score is shown: on the page, no frame, the vertical scroll
// bar always there.
void setUpScoreView(platform::RichTextEdit* view)
{
    view->document()->setDocumentMargin(0);
    view->setFrameShape(QFrame::NoFrame);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setLineWrapMode(QTextEdit::WidgetWidth);
}

} // namespace

// The toolbar dispatch's view of the window.
class MainForm::Toolbar final : public ToolbarHost
{
public:
    explicit Toolbar(MainForm& form)
        : form_(form)
    {
    }
    bool pitchBrushOn() const override { return form_.action(QStringLiteral("FormatTool(0)"))->isChecked(); }
    bool durationBrushOn() const override
    {
        return form_.action(QStringLiteral("FormatTool(1)"))->isChecked();
    }
    void setButtonValue(int index, int value) override { form_.Toolbar1->setButtonValue(index, value); }
    void refreshToolbar() override { form_.Toolbar1->update(); }

private:
    MainForm& form_;
};

MainForm::MainForm(MainFormServices services, QWidget* parent)
    : QMainWindow(parent)
    , services_(std::move(services))
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Tunvale"));
    setWindowIcon(dialogs::ProgramIcon());
    buildWindow();
    toolbarHost_ = std::make_unique<Toolbar>(*this);
    dispatch_ = std::make_unique<ToolbarDispatch>(editorState, commands_, *toolbarHost_);
    buildHandlers();
}

MainForm::~MainForm() = default;

void MainForm::buildWindow()
{
    menus_ = std::make_unique<MenuItems>(menuBar());

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);

    RichTextBox2 = new platform::RichTextEdit(client);
    RichTextBox2->setObjectName(QStringLiteral("RichTextBox2"));
    RichTextBox2->setReadOnly(true);
    setUpScoreView(RichTextBox2);

    RichTextBox1 = new platform::RichTextEdit(client);
    RichTextBox1->setObjectName(QStringLiteral("RichTextBox1"));
    setUpScoreView(RichTextBox1);
    RichTextBox4 = new platform::RichTextBox(RichTextBox1->document(), this);

    for (int i = 0; i < 2; ++i) {
        auto* cover = new QLabel(client);
        cover->setObjectName(QStringLiteral("coverPIC(%1)").arg(i));
        cover->setAutoFillBackground(true);
        QPalette palette = cover->palette();
        palette.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
        cover->setPalette(palette);
        cover->installEventFilter(this);
        coverPIC[i] = cover;
    }

    YYPic = new QWidget(client);
    YYPic->setObjectName(QStringLiteral("YYPic"));
    YYPic->hide();

    PicLineShow = new QWidget(client);
    PicLineShow->setObjectName(QStringLiteral("PicLineShow"));
    RichTextBox5 = new platform::RichTextEdit(PicLineShow);
    RichTextBox5->setObjectName(QStringLiteral("RichTextBox5"));
    RichTextBox5->setReadOnly(true);
    PicLineShow->hide();

    PicXj = new QWidget(client);
    PicXj->setObjectName(QStringLiteral("PicXj"));
    CtrlSlider1 = new drums::BarStrip(PicXj);
    PicXj->resize(PicXj->width(), CtrlSlider1->height());

    左右边距控件 = margin::CreateMarginRuler(client);
    左右边距控件->hide();

    Toolbar1 = new MainToolbar(client);
    StatusBar1 = new StatusPanels(client);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));

    client->installEventFilter(this);
    marginTimer_ = new QTimer(this);
    marginTimer_->setSingleShot(true);
    marginTimer_->setInterval(0);
    connect(marginTimer_, &QTimer::timeout, this, [this] { JzRTB(0); });
}

void MainForm::buildHandlers()
{
    connect(Toolbar1, &MainToolbar::buttonClicked, this, &MainForm::clickToolbarButton);
    connect(Toolbar1, &MainToolbar::buttonMenuClicked, this, &MainForm::clickToolbarMenuItem);
    connect(StatusBar1, &StatusPanels::panelClicked, this, &MainForm::panelClicked);
    MainFormScoreFiles::of(*this);
    connect(&editor(), &platform::RichTextBox::Change, this, &MainForm::markModified);
    connect(menu(QStringLiteral("Mtool")), &QMenu::aboutToShow, this, &MainForm::enableToolMenu);
    connect(左右边距控件, &margin::MarginRuler::BjMainMun, this, [this] { setToolbarMode(0); });

    connectItem(QStringLiteral("exitsub"), [this] { exitsub_Click(); });
    connectItem(QStringLiteral("MunHelp"), [this] { showHelp(); });
    connectItem(QStringLiteral("QYY"), [this] { showWillingPage(); });
    connectItem(QStringLiteral("MY_about"), [this] { showAbout(); });
    connectItem(QStringLiteral("GCFont"), [this] { chooseLyricFont(); });
    connectArray(QStringLiteral("MainToolBar"), [this](int i) { setToolbarMode(i); });
    connectArray(QStringLiteral("GroupBar"), [this](int i) { toggleBar(i); });
    connectArray(QStringLiteral("GroupBoution"), [this](int i) { toggleButtonGroup(i); });
    connectArray(QStringLiteral("mYD"), [this](int i) { transposeByItem(i); });
    defineCommand(QStringLiteral("ToggleBold"), [this](int) { editor().setSelBold(!editor().SelBold()); });
    connectItem(QStringLiteral("InputVls(1)"), [this] { InputVls_Click(1); });
}

platform::RichTextBox& MainForm::editor() const { return RichTextBox1->box(); }

QAction* MainForm::action(const QString& name) const { return menus_->action(name); }

QAction* MainForm::action(const QString& array, int index) const { return menus_->action(array, index); }

QMenu* MainForm::menu(const QString& name) const { return menus_->menu(name); }

void MainForm::connectItem(const QString& name, std::function<void()> handler)
{
    menus_->connectItem(name, std::move(handler));
}

void MainForm::connectArray(const QString& array, std::function<void(int)> handler)
{
    menus_->connectArray(array, std::move(handler));
}

void MainForm::defineCommand(const QString& command, CommandTable::Handler handler)
{
    commands_.define(command, std::move(handler));
    Toolbar1->markCommandDefined(command);
}

bool MainForm::load()
{
    TT = hintballoon::CreateHintballoon();
    ShowBarTips = true;
    左右边距控件->setBcHeight(320);
    hintballoon::BalloonTool stripHint;
    stripHint.tool = CtrlSlider1;
    stripHint.backColor = QString(QChar(0x0008));
    TT->AddTool(stripHint);
    FormReady = true;
    playback::NotePlayer = std::make_unique<playback::PlayNote>(std::move(services_.midiDevices));
    InitMainLayout();
    readViewSettings();
    editorState.ToolbarMode = 0;
    Editing = std::make_unique<MainFormEditing>(*this);
    hooks.FlushUndoSnapshot = [this] { Editing->Undo.FlushSnapshot(); };
    loadAccompanimentMenu();
    if (process().start.ShowStartProgress && hooks.showStartProgress) {
        hooks.showStartProgress(QStringLiteral("开始运行，初始化..."));
        hooks.showStartProgress(QStringLiteral("打开主程序窗口..."));
    }
    hooks.ShowRecentFiles();
    if (!OpenVls(process().ScoreHeader.CurrentFile))
        return false;
    StatusBar1->setPanelText(10, kColourHint);
    HookWheel(RichTextBox1->viewport());
    return true;
}

void MainForm::InitMainLayout()
{
    const playback::SoundList sounds = playback::NotePlayer->fill_sound_list();
    Toolbar1->ComSounds->clear();
    Toolbar1->ComSounds->addItems(sounds.items);
    Toolbar1->ComSounds->setToolTip(sounds.toolTip);

    ComDevies = playback::NotePlayer->Midi_OutDevsToList();
    if (!ComDevies.isEmpty()) {
        action(QStringLiteral("my_ComDevies"), 0)->setText(ComDevies[0].name);
        for (int i = 1; i < ComDevies.size(); ++i)
            menus_->load(QStringLiteral("my_ComDevies"), i, ComDevies[i].name)->setChecked(false);
        ComDeviesListIndex = 0;
    }
    platform::FitComboDropWidth(*Toolbar1->ComSounds, -1);

    if (!process().Highlighter)
        process().Highlighter = std::make_unique<platform::ApiHighlight>();
    process().Highlighter->AssignControls(&RichTextBox2->box());
    CtrlSlider1->setPalette(palette());
}

void MainForm::readViewSettings()
{
    const platform::Registry registry;
    const QString strip = registry.ReadRegKey(
        platform::HKEY_CURRENT_USER, kRegistryPath, QStringLiteral("GroupBar1"), QStringLiteral("0"));
    const QString status = registry.ReadRegKey(
        platform::HKEY_CURRENT_USER, kRegistryPath, QStringLiteral("GroupBar2"), QStringLiteral("0"));
    action(QStringLiteral("GroupBar"), 0)->setChecked(platform::Val(strip) == 1);
    action(QStringLiteral("GroupBar"), 1)->setChecked(platform::Val(status) == 1);
    applyBarVisibility();
}

void MainForm::loadAccompanimentMenu()
{
    const QString file = platform::ProgramFolder::find(QStringLiteral("banzhou.ini"));
    const QString section = QStringLiteral("伴奏类型");
    const double total = platform::Val(platform::ReadIniValue(section, QStringLiteral("TotalTypes"), file));
    AccompTypeCount = static_cast<int>(std::clamp(total, 0.0, 1000.0));
    for (int i = 3; i <= AccompTypeCount + 2; ++i) {
        const QString key = QStringLiteral("Type%1Name").arg(i - 2);
        menus_->load(QStringLiteral("PZType"), i, platform::ReadIniValue(section, key, file));
    }
}

bool MainForm::unload()
{
    const auto& start = process().start;
    auto& header = process().ScoreHeader;
    if (!start.PrintStart && header.ScoreSaved != notation::kTrue) {
        platform::PromptRequest question;
        question.text = QStringLiteral("需要保存简谱，再退出吗？");
        question.icon = platform::PromptIcon::Question;
        question.buttons = platform::PromptButtons::YesNoCancel;
        question.defaultAnswer = platform::PromptAnswer::No;
        const platform::PromptAnswer answer = platform::Prompts::current().ask(question);
        if (answer == platform::PromptAnswer::Cancel)
            return true;
        if (answer == platform::PromptAnswer::Yes && !hooks.save())
            return true;
    }
    if (hooks.playbackRunning())
        hooks.stopPlayback();
    playback::NotePlayer.reset();
    UnhookWheel();
    TT.reset();
    // Another window may have taken the score over since; its entry stays.
    platform::RemoveIniValueIf(QStringLiteral("FileN"), header.CurrentFile,
        QString::number(QCoreApplication::applicationPid()),
        platform::ProgramFolder::userPath(QStringLiteral("MyNote.ini")));
    unloaded_ = true;
    return false;
}

void MainForm::closeEvent(QCloseEvent* event)
{
    if (!unloaded_ && unload()) {
        event->ignore();
        return;
    }
    event->accept();
}

void MainForm::exitsub_Click() { close(); }

void MainForm::CtrlEnabled(bool IEnabled, const QString& TypeMod)
{
    const auto sixMenus = [&] {
        for (const char* name : { "File", "Edit", "Vars", "FormatJP", "My_instr", "Mtool" })
            action(QString::fromLatin1(name))->setEnabled(IEnabled);
    };
    if (TypeMod == QStringLiteral("editdrum")) {
        sixMenus();
        RichTextBox1->setEnabled(IEnabled);
    } else if (TypeMod == QStringLiteral("undo128")) {
        sixMenus();
        Toolbar1->setEnabled(IEnabled);
        StatusBar1->setEnabled(IEnabled);
    } else if (TypeMod == QStringLiteral("play")) {
        sixMenus();
        Toolbar1->button(2)->setEnabled(IEnabled);
        const bool selected = !editor().SelText().isEmpty() && IEnabled;
        StatusBar1->setPanelEnabled(8, selected);
        StatusBar1->setPanelEnabled(9, selected);
        Toolbar1->button(3)->setEnabled(action(QStringLiteral("SaveVlsAs"))->isEnabled() ? IEnabled : false);
        StatusBar1->setPanelEnabled(1, IEnabled);
        for (int i = 12; i <= 38; ++i)
            Toolbar1->button(i)->setEnabled(IEnabled);
        StatusBar1->setEnabled(IEnabled);
    }
}

void MainForm::clickToolbarButton(int index) { dispatch_->clickToolbarButton(index); }

void MainForm::clickToolbarMenuItem(const QString& text) { dispatch_->clickToolbarMenuItem(text); }

void MainForm::showHelp() { platform::ShowHelpTopic(this, QStringLiteral("index.htm")); }

void MainForm::showWillingPage() { platform::ShowHelpTopic(this, QStringLiteral("我愿意.htm")); }

void MainForm::showAbout()
{
    dialogs::AboutBox about(this);
    about.exec();
}

void MainForm::chooseLyricFont()
{
    platform::RichTextBox& box = editor();
    QFont initial(box.SelFontName());
    if (box.SelFontSize() > 0)
        initial.setPointSizeF(box.SelFontSize());
    initial.setUnderline(box.SelUnderline());
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, initial, this);
    if (!ok)
        return;
    box.setSelFontName(chosen.family());
    if (chosen.pointSizeF() > 0)
        box.setSelFontSize(chosen.pointSizeF());
    box.setSelUnderline(chosen.underline());
}

void MainForm::enableToolMenu()
{
    action(QStringLiteral("SFZH"))->setEnabled(StatusBar1->panelEnabled(8));
    action(QStringLiteral("CQSF"))->setEnabled(StatusBar1->panelEnabled(9));
}

void MainForm::setToolbarMode(int Index)
{
    for (int i = 0; i <= 2; ++i)
        action(QStringLiteral("MainToolBar"), i)->setChecked(i == Index);
    Toolbar1->setVisible(Index == 0);
    左右边距控件->setVisible(Index == 1);
    左右边距控件->setShow(Index == 1);
    if (Index == 1)
        左右边距控件->setFocus();
    editorState.ToolbarMode = static_cast<std::int16_t>(Index);
    applyLayout();
}

void MainForm::toggleBar(int Index)
{
    QAction* item = action(QStringLiteral("GroupBar"), Index);
    if (!item || Index > 1)
        return;
    item->setChecked(!item->isChecked());
    const platform::Registry registry;
    registry.WriteRegKey(platform::REG_SZ, platform::HKEY_CURRENT_USER, kRegistryPath,
        Index == 0 ? QStringLiteral("GroupBar1") : QStringLiteral("GroupBar2"),
        item->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    applyBarVisibility();
    applyLayout();
}

void MainForm::applyBarVisibility()
{
    PicXj->setVisible(action(QStringLiteral("GroupBar"), 0)->isChecked());
    StatusBar1->setVisible(action(QStringLiteral("GroupBar"), 1)->isChecked());
}

void MainForm::toggleButtonGroup(int Index)
{
    static constexpr int kGroups[3][2] = { { 22, 27 }, { 30, 34 }, { 35, 41 } };
    QAction* item = action(QStringLiteral("GroupBoution"), Index);
    if (!item || Index < 0 || Index > 2)
        return;
    item->setChecked(!item->isChecked());
    for (int i = kGroups[Index][0]; i <= kGroups[Index][1]; ++i)
        Toolbar1->setButtonVisible(i, !item->isChecked());
}

void MainForm::panelClicked(int Panel)
{
    if (Panel == 8)
        commands_.run(QStringLiteral("SFZH"), 0);
}

void MainForm::coverPIC_Click(int) { }

void MainForm::markModified() { process().ScoreHeader.ScoreSaved = notation::kFalse; }

void MainForm::setDrumPZChecked(bool checked) { action(QStringLiteral("DrumPZ"))->setChecked(checked); }

void MainForm::setAccompanimentType(int index)
{
    if (index == 1)
        return;
    for (int i = 0; i <= AccompTypeCount + 2; ++i) {
        if (QAction* item = action(QStringLiteral("PZType"), i); item && i != 1)
            item->setChecked(i == index);
    }
    auto& header = process().ScoreHeader;
    if (header.PZType != index)
        header.ScoreSaved = notation::kFalse;
    header.PZType = static_cast<std::int16_t>(index);
}

void MainForm::setSameSpeedChecked(bool checked) { action(QStringLiteral("SameSpeed"))->setChecked(checked); }

void MainForm::setHeYingChecked(bool checked) { action(QStringLiteral("HeYing"))->setChecked(checked); }

void MainForm::setRulerLeftSpace(int twips) { 左右边距控件->setNLSpace(twips); }

void MainForm::setRulerRightSpace(int twips) { 左右边距控件->setNRSpace(twips); }

} // namespace tunvale::editor
