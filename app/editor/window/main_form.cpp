#include "app/editor/window/main_form.h"

#include "app/dialogs/about_box.h"
#include "app/dialogs/program_icon.h"
#include "app/drums/bar_strip.h"
#include "app/editor/actions/menu_items.h"
#include "app/editor/actions/toolbar_dispatch.h"
#include "app/editor/parts/main_form_clipboard.h"
#include "app/editor/parts/main_form_colors.h"
#include "app/editor/parts/main_form_drum_editor.h"
#include "app/editor/parts/main_form_drums.h"
#include "app/editor/parts/main_form_editing.h"
#include "app/editor/parts/main_form_fonts.h"
#include "app/editor/parts/main_form_margins.h"
#include "app/editor/parts/main_form_midi_export.h"
#include "app/editor/parts/main_form_notation_marks.h"
#include "app/editor/parts/main_form_old_version.h"
#include "app/editor/parts/main_form_ornaments.h"
#include "app/editor/parts/main_form_output.h"
#include "app/editor/parts/main_form_playback.h"
#include "app/editor/parts/main_form_score_files.h"
#include "app/editor/parts/main_form_solfege.h"
#include "app/editor/parts/main_form_symbols.h"
#include "app/editor/parts/main_form_transposition.h"
#include "app/editor/window/main_toolbar.h"
#include "app/editor/window/status_panels.h"
#include "app/editor/window/wheel_filter.h"
#include "app/frame/process_state.h"
#include "app/playback/playback_state.h"
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
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextDocument>
#include <QTimer>

#include <hint_balloon.h>
#include <margin_ruler.h>

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
    void setButtonValue(int index, int value) override { form_.toolbar().setButtonValue(index, value); }
    void refreshToolbar() override { form_.toolbar().update(); }

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
    dispatch_ = std::make_unique<ToolbarDispatch>(state_, commands_, *toolbarHost_);
    buildHandlers();
}

MainForm::~MainForm()
{
    // Parts hold on to the widgets and to each other: they go first, the last made first.
    while (!parts_.empty())
        parts_.pop_back();
    // A window that goes without its unload (a tool's window whose score did not open) still ends its
    // player and the player's threads, before the process's exit destroys what they use.
    if (player_ && playback::NotePlayer.get() == player_)
        playback::NotePlayer.reset();
}

void MainForm::buildWindow()
{
    menus_ = std::make_unique<MenuItems>(menuBar());

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);

    playbackView_ = new platform::RichTextEdit(client);
    playbackView_->setObjectName(QStringLiteral("RichTextBox2"));
    playbackView_->setReadOnly(true);
    setUpScoreView(playbackView_);
    // Behind the editor, out of sight, the playback view is hidden: it shows only while a play runs.
    playbackView_->hide();

    editorView_ = new platform::RichTextEdit(client);
    editorView_->setObjectName(QStringLiteral("RichTextBox1"));
    setUpScoreView(editorView_);
    mirror_ = new platform::RichTextBox(editorView_->document(), this);

    for (int i = 0; i < 2; ++i) {
        auto* cover = new QLabel(client);
        cover->setObjectName(QStringLiteral("coverPIC(%1)").arg(i));
        cover->setAutoFillBackground(true);
        QPalette palette = cover->palette();
        palette.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
        cover->setPalette(palette);
        covers_[std::size_t(i)] = cover;
    }

    graceBox_ = new QWidget(client);
    graceBox_->setObjectName(QStringLiteral("YYPic"));
    graceBox_->hide();

    tiledViewBox_ = new QWidget(client);
    tiledViewBox_->setObjectName(QStringLiteral("PicLineShow"));
    tiledView_ = new platform::RichTextEdit(tiledViewBox_);
    tiledView_->setObjectName(QStringLiteral("RichTextBox5"));
    tiledView_->setReadOnly(true);
    tiledViewBox_->hide();

    barStripBox_ = new QWidget(client);
    barStripBox_->setObjectName(QStringLiteral("PicXj"));
    barStrip_ = new drums::BarStrip(barStripBox_);
    barStripBox_->resize(barStripBox_->width(), barStrip_->height());

    marginRuler_ = margin::CreateMarginRuler(client);
    marginRuler_->hide();

    toolbar_ = new MainToolbar(client);
    statusPanels_ = new StatusPanels(client);
    statusPanels_->setObjectName(QStringLiteral("StatusBar1"));

    client->installEventFilter(this);
    marginTimer_ = new QTimer(this);
    marginTimer_->setSingleShot(true);
    marginTimer_->setInterval(0);
    connect(marginTimer_, &QTimer::timeout, this, [this] { JzRTB(0); });
}

void MainForm::buildHandlers()
{
    connect(
        toolbar_, &MainToolbar::buttonClicked, this, [this](int index) { dispatch_->clickButton(index); });
    connect(toolbar_, &MainToolbar::buttonMenuClicked, this,
        [this](const QString& text) { dispatch_->clickMenuItem(text); });
    connect(statusPanels_, &StatusPanels::panelClicked, this, &MainForm::panelClicked);
    connect(&editor(), &platform::RichTextBox::Change, this,
        [] { frame::Process().ScoreHeader.ScoreSaved = false; });
    connect(menu(QStringLiteral("Mtool")), &QMenu::aboutToShow, this, &MainForm::enableToolMenu);
    connect(marginRuler_, &margin::MarginRuler::BjMainMun, this, [this] { setToolbarMode(0); });

    connectItem(QStringLiteral("exitsub"), [this] { close(); });
    connectItem(QStringLiteral("MunHelp"), [this] { showHelp(); });
    connectItem(QStringLiteral("QYY"), [this] { showWillingPage(); });
    connectItem(QStringLiteral("MY_about"), [this] { showAbout(); });
    connectItem(QStringLiteral("GCFont"), [this] { chooseLyricFont(); });
    connectArray(QStringLiteral("MainToolBar"), [this](int i) { setToolbarMode(i); });
    connectArray(QStringLiteral("GroupBar"), [this](int i) { toggleBar(i); });
    connectArray(QStringLiteral("GroupBoution"), [this](int i) { toggleButtonGroup(i); });
    defineCommand(QStringLiteral("ToggleBold"), [this](int) { toggleBold(); });
}

platform::RichTextBox& MainForm::editor() const { return editorView_->box(); }

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
    toolbar_->markCommandDefined(command);
}

void MainForm::defineMenuCommand(const QString& name, CommandTable::Handler handler)
{
    defineCommand(name, std::move(handler));
    const auto run = [this, name](int index) { commands_.run(name, index); };
    if (menus_->action(name))
        connectItem(name, [run] { run(0); });
    else
        connectArray(name, run);
}

bool MainForm::load()
{
    hints_ = hintballoon::CreateHintballoon();
    marginRuler_->ReadProperties({});
    marginRuler_->setBcHeight(320);
    // Text on request, white on black: the back colour is a text that is no number, so it stays black.
    hintballoon::BalloonTool stripHint;
    stripHint.tool = barStrip_;
    stripHint.foreColor = 0;
    stripHint.backColor = QString(QChar(0x0008));
    stripHint.balloon = true;
    stripHint.showMode = hintballoon::ttsmLeftToRight;
    hints_->AddTool(stripHint);
    playback::NotePlayer = std::make_unique<playback::PlayNote>(std::move(services_.midiDevices));
    player_ = playback::NotePlayer.get();
    preparePlayViews();
    readViewSettings();
    state_.ToolbarMode = 0;
    loadAccompanimentMenu();
    createParts();
    if (process().start.ShowStartProgress && hooks_.showStartProgress) {
        hooks_.showStartProgress(QStringLiteral("开始运行，初始化..."));
        hooks_.showStartProgress(QStringLiteral("打开主程序窗口..."));
    }
    MainFormScoreFiles& files = part<MainFormScoreFiles>();
    // Listening before the start score registers: a peer that finds the entry reaches this window, and
    // its call is answered once the window is up.
    files.listen();
    files.ShowRecentFiles();
    // The views take the page's width before the start score opens: the open counts the bars on the
    // laid-out lines, where a document without a width has one line per paragraph. The client area has
    // the window's size before the window is first shown.
    layout()->activate();
    applyLayout();
    if (!files.OpenStartScore(process().ScoreHeader.CurrentFile))
        return false;
    statusPanels_->setPanelText(StatusPanel::Hint, kColourHint);
    HookWheel(editorView_->viewport());
    return true;
}

void MainForm::createParts()
{
    addPart<MainFormEditing>();
    addPart<MainFormMargins>();
    addPart<MainFormScoreFiles>(std::move(services_.scoreFiles));
    MainFormPlayback& playback = addPart<MainFormPlayback>(services_.screenSaver());
    addPart<MainFormMidiExport>(playback, std::move(services_.midiExport));
    addPart<MainFormTransposition>();
    addPart<MainFormDrums>();
    addPart<MainFormSymbols>();
    addPart<MainFormColors>(std::move(services_.colorPicker));
    addPart<MainFormSolfege>();
    addPart<MainFormOldVersion>();
    addPart<MainFormClipboard>();
    addPart<MainFormFonts>();
    addPart<MainFormOutput>(std::move(services_.outputSaveDialog), std::move(services_.printing));
    addPart<MainFormDrumEditor>();
    addPart<MainFormNotationMarks>();
    addPart<MainFormOrnaments>();
}

void MainForm::scoreReplaced()
{
    for (const auto& part : parts_)
        part->scoreReplaced();
}

void MainForm::preparePlayViews()
{
    if (!process().Highlighter)
        process().Highlighter = std::make_unique<platform::ApiHighlight>();
    process().Highlighter->AssignControls(&playbackView_->box());
    barStrip_->setPalette(palette());
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
    accompanimentTypeCount_ = static_cast<int>(std::clamp(total, 0.0, 1000.0));
    for (int i = 3; i <= accompanimentTypeCount_ + 2; ++i) {
        const QString key = QStringLiteral("Type%1Name").arg(i - 2);
        menus_->load(QStringLiteral("PZType"), i, platform::ReadIniValue(section, key, file));
    }
}

bool MainForm::unload()
{
    for (const auto& part : parts_) {
        if (!part->readyToClose())
            return false;
    }
    for (const auto& part : parts_)
        part->windowClosing();
    playback::NotePlayer.reset();
    UnhookWheel();
    hints_.reset();
    // Another window may have taken the score over since; its entry stays.
    platform::RemoveIniValueIf(QStringLiteral("FileN"), process().ScoreHeader.CurrentFile,
        QString::number(QCoreApplication::applicationPid()),
        platform::ProgramFolder::userPath(QStringLiteral("MyNote.ini")));
    unloaded_ = true;
    return true;
}

void MainForm::closeEvent(QCloseEvent* event)
{
    if (!unloaded_ && !unload()) {
        event->ignore();
        return;
    }
    event->accept();
}

void MainForm::setControlsEnabled(ControlGroup group, bool enabled)
{
    const auto sixMenus = [&] {
        for (const char* name : { "File", "Edit", "Vars", "FormatJP", "My_instr", "Mtool" })
            action(QString::fromLatin1(name))->setEnabled(enabled);
    };
    switch (group) {
    case ControlGroup::DrumEditor:
        sixMenus();
        editorView_->setEnabled(enabled);
        break;
    case ControlGroup::UndoSteps:
        sixMenus();
        toolbar_->setEnabled(enabled);
        statusPanels_->setEnabled(enabled);
        break;
    case ControlGroup::Playback: {
        sixMenus();
        toolbar_->button(ToolbarButton::Open)->setEnabled(enabled);
        const bool selected = !editor().SelText().isEmpty() && enabled;
        statusPanels_->setPanelEnabled(StatusPanel::FontSize, selected);
        statusPanels_->setPanelEnabled(StatusPanel::RepeatScale, selected);
        toolbar_->button(ToolbarButton::Save)
            ->setEnabled(action(QStringLiteral("SaveVlsAs"))->isEnabled() ? enabled : false);
        statusPanels_->setPanelEnabled(StatusPanel::Status, enabled);
        for (int i = 12; i <= 38; ++i)
            toolbar_->button(i)->setEnabled(enabled);
        statusPanels_->setEnabled(enabled);
        break;
    }
    }
}

void MainForm::showHelp() { platform::ShowHelpTopic(this, QStringLiteral("index.htm")); }

void MainForm::showWillingPage() { platform::ShowHelpTopic(this, QStringLiteral("我愿意.htm")); }

void MainForm::showAbout()
{
    dialogs::AboutBox about(this);
    about.exec();
}

void MainForm::toggleBold()
{
    platform::RichTextBox& box = editor();
    const bool bold = !box.SelBold();
    if (!FontChangeAllowed(box, box.SelStart(), box.SelLength(),
            [bold](platform::RunFormat& format) { format.bold = bold; }))
        return;
    box.setSelBold(bold);
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
    const auto change = [&chosen](platform::RunFormat& format) {
        format.font = chosen.family();
        if (chosen.pointSizeF() > 0)
            ScaleFormat(format, { FontScaling::Way::Size, chosen.pointSizeF() });
    };
    if (box.SelLength() > 0) {
        if (const auto why = box.whyUnshowable(box.reformattedText(change))) {
            platform::Prompts::current().information(FontChangeRefusal(*why));
            return;
        }
    } else if (!FontChangeAllowed(box, box.SelStart(), 0, change)) {
        return;
    }
    box.setSelFontName(chosen.family());
    if (chosen.pointSizeF() > 0)
        box.setSelFontSize(chosen.pointSizeF());
    box.setSelUnderline(chosen.underline());
}

void MainForm::enableToolMenu()
{
    action(QStringLiteral("SFZH"))->setEnabled(statusPanels_->panelEnabled(StatusPanel::FontSize));
    action(QStringLiteral("CQSF"))->setEnabled(statusPanels_->panelEnabled(StatusPanel::RepeatScale));
}

void MainForm::setToolbarMode(int mode)
{
    for (int i = 0; i <= 2; ++i)
        action(QStringLiteral("MainToolBar"), i)->setChecked(i == mode);
    toolbar_->setVisible(mode == 0);
    marginRuler_->setVisible(mode == 1);
    marginRuler_->setShow(mode == 1);
    if (mode == 1)
        marginRuler_->setFocus();
    state_.ToolbarMode = static_cast<std::int16_t>(mode);
    applyLayout();
}

void MainForm::toggleBar(int index)
{
    QAction* item = action(QStringLiteral("GroupBar"), index);
    if (!item || index > 1)
        return;
    item->setChecked(!item->isChecked());
    const platform::Registry registry;
    registry.WriteRegKey(platform::REG_SZ, platform::HKEY_CURRENT_USER, kRegistryPath,
        index == 0 ? QStringLiteral("GroupBar1") : QStringLiteral("GroupBar2"),
        item->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    applyBarVisibility();
    applyLayout();
}

void MainForm::applyBarVisibility()
{
    barStripBox_->setVisible(action(QStringLiteral("GroupBar"), 0)->isChecked());
    statusPanels_->setVisible(action(QStringLiteral("GroupBar"), 1)->isChecked());
}

void MainForm::toggleButtonGroup(int index)
{
    static constexpr int kGroups[3][2] = { { 22, 27 }, { 30, 34 }, { 35, 41 } };
    QAction* item = action(QStringLiteral("GroupBoution"), index);
    if (!item || index < 0 || index > 2)
        return;
    item->setChecked(!item->isChecked());
    for (int i = kGroups[index][0]; i <= kGroups[index][1]; ++i)
        toolbar_->setButtonVisible(i, !item->isChecked());
}

void MainForm::panelClicked(int panel)
{
    if (panel == int(StatusPanel::FontSize))
        commands_.run(QStringLiteral("SFZH"), 0);
}

void MainForm::setDrumPZChecked(bool checked) { action(QStringLiteral("DrumPZ"))->setChecked(checked); }

void MainForm::setAccompanimentType(int index)
{
    if (index == 1)
        return;
    for (int i = 0; i <= accompanimentTypeCount_ + 2; ++i) {
        if (QAction* item = action(QStringLiteral("PZType"), i); item && i != 1)
            item->setChecked(i == index);
    }
    auto& header = process().ScoreHeader;
    if (header.PZType != index)
        header.ScoreSaved = false;
    header.PZType = static_cast<std::int16_t>(index);
}

void MainForm::setSameSpeedChecked(bool checked) { action(QStringLiteral("SameSpeed"))->setChecked(checked); }

void MainForm::setHeYingChecked(bool checked) { action(QStringLiteral("HeYing"))->setChecked(checked); }

void MainForm::setRulerLeftSpace(int twips) { marginRuler_->setNLSpace(twips); }

void MainForm::setRulerRightSpace(int twips) { marginRuler_->setNRSpace(twips); }

void MainForm::showScoreValues()
{
    const notation::ScoreHeader& header = process().ScoreHeader;
    QComboBox* sounds = toolbar_->ComSounds;
    sounds->setCurrentIndex(
        header.Instrument >= 0 && header.Instrument < sounds->count() ? header.Instrument : 0);
    const QSignalBlocker speedBlocker(toolbar_->VScroll1[0]);
    const QSignalBlocker volumeBlocker(toolbar_->VScroll1[1]);
    toolbar_->Text_Speed->setText(QString::number(header.Speed));
    toolbar_->Text_Volume->setText(QString::number(header.Volume));
    toolbar_->setSpinValue(0, header.Speed);
    toolbar_->setSpinValue(1, header.Volume);
}

} // namespace tunvale::editor
