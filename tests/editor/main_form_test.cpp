#include "app/editor/parts/main_form_playback.h"
#include "app/editor/window/main_form.h"

#include "app/editor/actions/build_gate.h"
#include "app/editor/actions/menu_items.h"
#include "app/editor/window/main_toolbar.h"
#include "app/editor/window/status_panels.h"
#include "app/frame/process_state.h"
#include "platform/desktop/qt_prompts.h"
#include "platform/richtext/rich_text_edit.h"
#include "platform/richtext/rich_text_format.h"
#include "platform/richtext/rtf_writer.h"
#include "platform/settings/ini_file.h"
#include "platform/settings/program_folder.h"
#include "platform/settings/registry.h"
#include "tests/editor/window_fixture.h"

#include <margin_ruler.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>
#include <QWheelEvent>

#include <gtest/gtest.h>

using namespace tunvale;
using editor::MainForm;
using tunvale::testing::WindowTest;

namespace {

const QString kRegistryPath = QStringLiteral("Software\\Velmora");

QString registryValue(const QString& name)
{
    return platform::Registry().ReadRegKey(
        platform::HKEY_CURRENT_USER, kRegistryPath, name, QStringLiteral("-"));
}

QStringList arrayCaptions(const MainForm& form, const QString& array)
{
    QStringList captions;
    for (int i = 0; i <= form.menus().upperBound(array); ++i) {
        const QAction* item = form.action(array, i);
        captions << (item->isSeparator() ? QStringLiteral("-") : item->text());
    }
    return captions;
}

} // namespace

TEST(MainFormLoad, AccompanimentStylesComeFromTheIniFile)
{
    WindowTest t;
    tunvale::testing::writeAll(t.user.file("banzhou.ini"),
        "[伴奏类型]\nTotalTypes=3\nType1Name=慢摇\nType2Name=进行曲\nType3Name=圆舞曲\n");
    const MainForm& form = t.load();
    EXPECT_EQ(form.accompanimentTypeCount(), 3);
    EXPECT_EQ(arrayCaptions(form, "PZType"),
        QStringList({ "无伴奏", "-", "随机伴奏", "慢摇", "进行曲", "圆舞曲" }));
    EXPECT_TRUE(form.action("PZType", 0)->isChecked());
}

TEST(MainFormLoad, WithoutTheIniFileThereAreNoStyles)
{
    WindowTest t;
    QTemporaryDir emptyData;
    platform::ProgramFolder::overrideDataDir(emptyData.path());
    const MainForm& form = t.load();
    platform::ProgramFolder::overrideDataDir({});
    EXPECT_EQ(form.accompanimentTypeCount(), 0);
    EXPECT_EQ(form.menus().upperBound("PZType"), 2);
    // Without a template either, the window says so and stays empty.
    EXPECT_EQ(t.prompts->texts(), QStringList({ "文件不存在!" }));
}

TEST(MainFormLoad, TheViewSwitchesComeFromTheSettings)
{
    struct Case {
        std::optional<QString> value;
        bool checked;
    };
    for (const Case& c :
        { Case { "1", true }, Case { "0", false }, Case { "2", false }, Case { std::nullopt, false } }) {
        WindowTest t;
        if (c.value) {
            platform::Registry().WriteRegKey(
                platform::REG_SZ, platform::HKEY_CURRENT_USER, kRegistryPath, "GroupBar1", *c.value);
            platform::Registry().WriteRegKey(
                platform::REG_SZ, platform::HKEY_CURRENT_USER, kRegistryPath, "GroupBar2", *c.value);
        }
        const MainForm& form = t.load();
        EXPECT_EQ(form.action("GroupBar", 0)->isChecked(), c.checked)
            << c.value.value_or("missing").toStdString();
        EXPECT_EQ(form.action("GroupBar", 1)->isChecked(), c.checked)
            << c.value.value_or("missing").toStdString();
    }
}

TEST(MainFormLoad, OneDeviceItemPerOutputWithTheBuiltInSynthesizerFirst)
{
    WindowTest t;
    const MainForm& form = t.load({}, { "Port A", "Port B" });
    ASSERT_EQ(form.part<editor::MainFormPlayback>().devices().size(), 3);
    EXPECT_EQ(arrayCaptions(form, "my_ComDevies"),
        QStringList({ form.part<editor::MainFormPlayback>().devices()[0].name, QStringLiteral("Port A"),
            QStringLiteral("Port B") }));
    EXPECT_TRUE(form.action("my_ComDevies", 0)->isChecked());
    EXPECT_FALSE(form.action("my_ComDevies", 1)->isChecked());
    EXPECT_FALSE(form.action("my_ComDevies", 2)->isChecked());
    EXPECT_EQ(form.part<editor::MainFormPlayback>().deviceIndex(), 0);
}

TEST(MainFormLoad, TheStartScoreIsReadWithItsSettings)
{
    WindowTest t;
    const QString file = t.sampleScore();
    MainForm& form = t.load(file);
    const auto& header = frame::Process().ScoreHeader;
    EXPECT_EQ(header.CurrentFile, file);
    EXPECT_TRUE(header.ScoreSaved);
    EXPECT_TRUE(form.editor().Text().contains(QStringLiteral("两只老虎")));
    EXPECT_EQ(form.toolbar().Text_Speed->text(), QString::number(header.Speed));
    EXPECT_EQ(form.toolbar().spinValue(0), header.Speed);
    EXPECT_EQ(form.marginRuler().nLSpace(), header.LeftSpace);
    EXPECT_EQ(form.windowTitle(), "Tunvale");
    EXPECT_TRUE(t.prompts->shown.empty());
    EXPECT_EQ(form.statusPanels().panelText(editor::StatusPanel::Hint),
        QStringLiteral("如打开时界面颜色不协调，用“工具-颜色”重新设置、保存。"));
}

TEST(MainFormMenus, TheMenusAndToolbarAreAsDesigned)
{
    // The tool loads the window as a first start does: with no settings, recent files or user folder.
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    QProcess tool;
    tool.setProcessEnvironment(environment);
    tool.start(QStringLiteral(TUNVALE_BUILD_DIR "/bin/scoretool"), { QStringLiteral("menus") });
    ASSERT_TRUE(tool.waitForFinished(60000));
    ASSERT_EQ(tool.exitCode(), 0);
    const QStringList printed
        = QString::fromUtf8(tool.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    const QStringList golden
        = QString::fromUtf8(tunvale::testing::readAll(tunvale::testing::testDataPath("editor/menus.txt")))
              .split(u'\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(golden.isEmpty());
    for (qsizetype i = 0; i < std::max(printed.size(), golden.size()); ++i)
        ASSERT_EQ(printed.value(i).toStdString(), golden.value(i).toStdString()) << "line " << i + 1;
}

TEST(MainFormControls, CtrlEnabledSetsItsGroup)
{
    WindowTest t;
    MainForm& form = t.load(t.sampleScore());
    const QStringList sixMenus { "File", "Edit", "Vars", "FormatJP", "My_instr", "Mtool" };
    const auto menusEnabled = [&](bool enabled) {
        for (const QString& name : sixMenus)
            EXPECT_EQ(form.action(name)->isEnabled(), enabled) << name.toStdString();
        EXPECT_TRUE(form.action("runmusic")->isEnabled());
    };

    form.setControlsEnabled(editor::ControlGroup::DrumEditor, false);
    menusEnabled(false);
    EXPECT_FALSE(form.editorView()->isEnabled());
    EXPECT_TRUE(form.toolbar().isEnabled());
    EXPECT_TRUE(form.statusPanels().isEnabled());
    form.setControlsEnabled(editor::ControlGroup::DrumEditor, true);
    menusEnabled(true);
    EXPECT_TRUE(form.editorView()->isEnabled());

    form.setControlsEnabled(editor::ControlGroup::UndoSteps, false);
    menusEnabled(false);
    EXPECT_FALSE(form.toolbar().isEnabled());
    EXPECT_FALSE(form.statusPanels().isEnabled());
    EXPECT_TRUE(form.editorView()->isEnabled());
    form.setControlsEnabled(editor::ControlGroup::UndoSteps, true);
    EXPECT_TRUE(form.toolbar().isEnabled());
    EXPECT_TRUE(form.statusPanels().isEnabled());

    // "play": buttons 12 to 38 follow, the play buttons keep their state.
    form.defineCommand("Stop", [](int) {});
    form.setControlsEnabled(editor::ControlGroup::Playback, false);
    menusEnabled(false);
    EXPECT_FALSE(form.toolbar().button(18)->isEnabled());
    EXPECT_TRUE(form.toolbar().button(8)->isEnabled());
    EXPECT_FALSE(form.statusPanels().isEnabled());
    EXPECT_FALSE(form.statusPanels().panelEnabled(editor::StatusPanel::Status));
    // With nothing selected, panels 8 and 9 stay off.
    form.editor().select(0, 0);
    form.setControlsEnabled(editor::ControlGroup::Playback, true);
    menusEnabled(true);
    EXPECT_TRUE(form.toolbar().button(18)->isEnabled());
    EXPECT_TRUE(form.statusPanels().panelEnabled(editor::StatusPanel::Status));
    EXPECT_FALSE(form.statusPanels().panelEnabled(editor::StatusPanel::FontSize));
    EXPECT_FALSE(form.statusPanels().panelEnabled(editor::StatusPanel::RepeatScale));
    // Unbuilt items stay disabled whatever is set.
    QAction* unbuilt = form.menu("Edit")->addAction(QStringLiteral("unbuilt"));
    editor::GuardUnbuilt(unbuilt);
    form.editor().select(0, 2);
    form.setControlsEnabled(editor::ControlGroup::Playback, true);
    EXPECT_FALSE(unbuilt->isEnabled());
    EXPECT_TRUE(form.statusPanels().panelEnabled(editor::StatusPanel::FontSize));
    EXPECT_TRUE(form.statusPanels().panelEnabled(editor::StatusPanel::RepeatScale));
}

TEST(MainFormControls, ViewSwitches)
{
    WindowTest t;
    MainForm& form = t.load();
    form.resize(1000, 700);
    form.show();

    form.setToolbarMode(2);
    EXPECT_TRUE(form.toolbar().isHidden());
    EXPECT_TRUE(form.marginRuler().isHidden());
    EXPECT_TRUE(form.action("MainToolBar", 2)->isChecked());
    EXPECT_FALSE(form.action("MainToolBar", 0)->isChecked());
    EXPECT_EQ(form.state().ToolbarMode, 2);
    form.setToolbarMode(1);
    EXPECT_TRUE(form.toolbar().isHidden());
    EXPECT_FALSE(form.marginRuler().isHidden());
    form.marginRuler().controlMenu()->actions().first()->trigger(); // "返回主工具栏"
    EXPECT_FALSE(form.toolbar().isHidden());
    EXPECT_TRUE(form.marginRuler().isHidden());
    EXPECT_EQ(form.state().ToolbarMode, 0);

    const bool strip = form.action("GroupBar", 0)->isChecked();
    form.action("GroupBar", 0)->trigger();
    EXPECT_EQ(registryValue("GroupBar1"), strip ? "0" : "1");
    form.action("GroupBar", 0)->trigger();
    EXPECT_EQ(registryValue("GroupBar1"), strip ? "1" : "0");
    form.action("GroupBar", 1)->trigger();
    EXPECT_EQ(registryValue("GroupBar2"), form.action("GroupBar", 1)->isChecked() ? "1" : "0");

    form.action("GroupBoution", 0)->trigger();
    for (int i = 21; i <= 28; ++i)
        EXPECT_EQ(form.toolbar().button(i)->isVisible(), i == 21 || i == 28) << i;
    form.action("GroupBoution", 2)->trigger();
    for (int i = 34; i <= 42; ++i)
        EXPECT_EQ(form.toolbar().button(i)->isVisible(), i == 34 || i == 42) << i;
    form.action("GroupBoution", 0)->trigger();
    EXPECT_TRUE(form.toolbar().button(22)->isVisible());
    EXPECT_TRUE(form.toolbar().button(27)->isVisible());
}

TEST(MainFormControls, AClickOnAMenuItemReachesItsHandler)
{
    WindowTest t;
    MainForm& form = t.load();
    form.action("GroupBoution", 1)->trigger();
    EXPECT_TRUE(form.action("GroupBoution", 1)->isChecked());
    EXPECT_FALSE(form.toolbar().button(31)->isVisible());
    // Menu items whose commands are not built are disabled and do nothing.
    QAction* unbuilt = form.menu("My_instr")->addAction(QStringLiteral("unbuilt"));
    editor::GuardUnbuilt(unbuilt);
    bool ran = false;
    QObject::connect(unbuilt, &QAction::triggered, [&ran] { ran = true; });
    unbuilt->setEnabled(true);
    unbuilt->trigger();
    EXPECT_FALSE(unbuilt->isEnabled());
    EXPECT_FALSE(ran);
    // The bold button is built: it bolds the selection.
    form.editor().select(0, 2);
    const bool bold = form.editor().SelBold();
    form.toolbar().button(18)->trigger();
    EXPECT_EQ(form.editor().SelBold(), !bold);
}

TEST(MainFormControls, TheMtoolMenuFollowsTheFontPanels)
{
    WindowTest t;
    MainForm& form = t.load();
    form.connectItem("SFZH", [] {});
    form.connectItem("CQSF", [] {});
    form.statusPanels().setPanelEnabled(editor::StatusPanel::FontSize, true);
    form.statusPanels().setPanelEnabled(editor::StatusPanel::RepeatScale, false);
    emit form.menu("Mtool")->aboutToShow();
    EXPECT_TRUE(form.action("SFZH")->isEnabled());
    EXPECT_FALSE(form.action("CQSF")->isEnabled());
    int fontDialogs = 0;
    form.defineCommand("SFZH", [&](int) { ++fontDialogs; });
    emit form.statusPanels().panelClicked(7);
    emit form.statusPanels().panelClicked(8);
    EXPECT_EQ(fontDialogs, 1);
}

TEST(MainFormClose, TheQuestionAndWhatEachAnswerDoes)
{
    struct Case {
        const char* name;
        bool modified;
        bool printStart;
        bool untitled; // its save asks for a name, and the test cancels the save dialog
        std::optional<platform::PromptAnswer> answer;
        bool cancelled;
        int saveDialogs;
    };
    using A = platform::PromptAnswer;
    const Case cases[] = {
        { "unchanged", false, false, false, std::nullopt, false, 0 },
        { "cancel", true, false, false, A::Cancel, true, 0 },
        { "no", true, false, false, A::No, false, 0 },
        { "yes, saved", true, false, false, A::Yes, false, 0 },
        { "yes, not saved", true, false, true, A::Yes, true, 1 },
        { "print start", true, true, false, std::nullopt, false, 0 },
    };
    for (const Case& c : cases) {
        WindowTest t;
        const QString file = c.untitled ? QString() : t.sampleScore();
        QByteArray sampleBytes;
        if (!file.isEmpty()) {
            QFile sample(file);
            ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
            sampleBytes = sample.readAll();
        }
        frame::Process().ScoreHeader.CurrentFile = file;
        editor::MainFormServices services = tunvale::testing::FakeServices();
        int saveDialogs = 0;
        services.scoreFiles.fileDialog = [&](const platform::FileDialogRequest&, bool) {
            ++saveDialogs;
            return QString();
        };
        t.form = std::make_unique<MainForm>(std::move(services));
        MainForm& form = *t.form;
        ASSERT_TRUE(form.load());
        if (c.modified)
            form.editor().setSelText(QStringLiteral("x")); // typed text
        frame::Process().start.PrintStart = c.printStart;
        if (c.answer)
            t.prompts->answers.push_back(*c.answer);
        playback::PlayCommands& play = form.part<editor::MainFormPlayback>().commands();
        play.play(0);
        ASSERT_TRUE(play.PlayBusy()) << c.name;
        EXPECT_EQ(form.unload(), !c.cancelled) << c.name;
        EXPECT_EQ(t.prompts->shown.size(), c.answer ? 1u : 0u) << c.name;
        if (c.answer) {
            EXPECT_EQ(t.prompts->shown[0].text, QStringLiteral("需要保存简谱，再退出吗？"));
            EXPECT_EQ(t.prompts->shown[0].buttons, platform::PromptButtons::YesNoCancel);
            EXPECT_EQ(t.prompts->shown[0].defaultAnswer, A::Yes);
        }
        EXPECT_EQ(saveDialogs, c.saveDialogs) << c.name;
        if (!file.isEmpty()) {
            QFile saved(file);
            ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
            EXPECT_EQ(saved.readAll() != sampleBytes, c.answer == A::Yes && !c.cancelled) << c.name;
        }
        // A kept window keeps its playback; a closing one stops it.
        EXPECT_EQ(play.PlayBusy(), c.cancelled) << c.name;
        if (c.cancelled) {
            play.stop();
            frame::Process().ScoreHeader.ScoreSaved = true;
        }
    }
}

TEST(MainFormClose, ExitThenCancelKeepsTheWindow)
{
    WindowTest t;
    MainForm& form = t.load(t.sampleScore());
    form.show();
    form.editor().setSelText(QStringLiteral("x"));
    t.prompts->answers.push_back(platform::PromptAnswer::Cancel);
    form.action("exitsub")->trigger();
    EXPECT_TRUE(form.isVisible());
    t.prompts->answers.push_back(platform::PromptAnswer::No);
    form.action("exitsub")->trigger();
    EXPECT_FALSE(form.isVisible());
}

TEST(MainFormClose, TheOpenScoreEntryGoesOnlyWhenItIsOurs)
{
    for (const bool ours : { true, false }) {
        WindowTest t;
        const QString file = t.sampleScore();
        MainForm& form = t.load(file);
        const QString ini = t.user.file("MyNote.ini");
        const QString id = ours ? QString::number(QCoreApplication::applicationPid()) : QStringLiteral("1");
        platform::WriteIniValue("FileN", file, id, ini);
        EXPECT_TRUE(form.unload());
        EXPECT_EQ(platform::ReadIniValue("FileN", file, ini), ours ? QString() : id);
    }
}

TEST(MainFormView, AfterAResizeEveryParagraphHasItsMargins)
{
    WindowTest t;
    MainForm& form = t.load(t.sampleScore());
    form.show();
    auto& header = frame::Process().ScoreHeader;
    header.ScoreSaved = false;
    const double tpp = form.twipsPerPixel();
    const auto& start = frame::Process().start;
    form.resize(int((start.PageWidthTwips + 4000) / tpp), 700);
    QApplication::processEvents();
    const int rightCover = int(std::lround(form.cover(1)->width() * tpp));
    for (QTextDocument* document : { form.editorView()->document(), form.playbackView()->document() }) {
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
            const platform::ParagraphFormat format = platform::ToParagraphFormat(block.blockFormat());
            EXPECT_EQ(format.leftIndent, header.LeftSpace);
            EXPECT_NEAR(format.rightIndent, header.RightSpace + rightCover, tpp);
        }
    }
    EXPECT_FALSE(header.ScoreSaved);
    EXPECT_FALSE(form.state().LayoutBusy);

    // The text runs over the page less its margins.
    const double textWidth = form.editorView()->viewport()->width()
        - platform::TwipsToPixels(header.LeftSpace) - platform::TwipsToPixels(header.RightSpace + rightCover);
    EXPECT_NEAR(textWidth, (start.PageWidthTwips - header.LeftSpace - header.RightSpace) / tpp, 1.0);
    // The page lies between the covers, the editor's scroll bar at the window's right border.
    EXPECT_EQ(form.cover(0)->geometry().right() + 1, form.editorView()->x());
    EXPECT_EQ(form.editorView()->geometry().right(), form.centralWidget()->width() - 1);
}

TEST(MainFormView, ShiftAndCtrlWheelScrollLikeThePlainWheel)
{
    WindowTest t;
    MainForm& form = t.load(t.sampleScore());
    form.resize(900, 300);
    form.show();
    for (int i = 0; i < 40; ++i)
        form.editor().setSelText(QStringLiteral("line\r\n"));
    QApplication::processEvents();
    QScrollBar* bar = form.editorView()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    QWidget* viewport = form.editorView()->viewport();
    const auto turn = [&](Qt::KeyboardModifiers modifiers) {
        bar->setValue(bar->maximum() / 2);
        const int before = bar->value();
        const QPointF at(10, 10);
        QWheelEvent wheel(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, modifiers,
            Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &wheel);
        return bar->value() - before;
    };
    const qreal fontSize = form.editorView()->font().pointSizeF();
    const int plain = turn(Qt::NoModifier);
    EXPECT_GT(plain, 0);
    EXPECT_EQ(turn(Qt::ShiftModifier), plain);
    EXPECT_EQ(turn(Qt::ControlModifier), plain);
    EXPECT_EQ(turn(Qt::AltModifier), plain);
    // Nothing zoomed.
    EXPECT_EQ(form.editorView()->font().pointSizeF(), fontSize);
}

TEST(MainFormView, PlaybackShowsACopyOfTheScoreAndGivesTheEditorBack)
{
    WindowTest t;
    MainForm& form = t.load(t.sampleScore());
    form.show();
    form.editor().select(9, 0);
    auto& header = frame::Process().ScoreHeader;
    header.ScoreSaved = false;
    const QObjectList& stack = form.centralWidget()->children();

    form.MakeWorkingCopy();
    EXPECT_EQ(platform::WriteRtf(*form.playbackView()->document()),
        platform::WriteRtf(*form.editorView()->document()));
    EXPECT_EQ(form.workingCopy().Text(), form.editor().Text());
    EXPECT_EQ(form.playbackView()->box().SelStart(), form.editor().SelStart());
    EXPECT_GT(stack.indexOf(form.playbackView()), stack.indexOf(form.editorView()));
    EXPECT_GT(stack.indexOf(form.cover(0)), stack.indexOf(form.playbackView()));
    for (int panel = 4; panel <= 8; ++panel)
        EXPECT_FALSE(form.statusPanels().panelEnabled(editor::StatusPanel(panel))) << panel;
    // A resize meanwhile keeps the playback view in front.
    form.resize(form.width() + 40, form.height());
    QApplication::processEvents();
    EXPECT_GT(stack.indexOf(form.playbackView()), stack.indexOf(form.editorView()));

    header.ScoreSaved = true;
    form.RestoreScoreView();
    EXPECT_GT(stack.indexOf(form.editorView()), stack.indexOf(form.playbackView()));
    EXPECT_GT(stack.indexOf(form.cover(1)), stack.indexOf(form.editorView()));
    for (int panel = 4; panel <= 8; ++panel)
        EXPECT_TRUE(form.statusPanels().panelEnabled(editor::StatusPanel(panel))) << panel;
    EXPECT_FALSE(header.ScoreSaved);
}

// The tempo and volume boxes show their bars' values: typing changes nothing; the up arrow and the
// wheel turned up raise the value, the down arrow lowers it, and the score takes the value.
TEST(MainFormControls, TempoAndVolumeChangeByTheirArrowsNotByTyping)
{
    WindowTest t;
    MainForm& form = t.load(t.sampleScore());
    form.resize(1000, 700);
    form.show();
    QApplication::processEvents();
    const auto click = [](QWidget* widget, QPoint at) {
        QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton,
            Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), Qt::LeftButton,
            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &release);
    };
    auto& header = frame::Process().ScoreHeader;
    for (const int i : { 0, 1 }) {
        QScrollBar* bar = form.toolbar().VScroll1[std::size_t(i)];
        QLineEdit* box = i == 0 ? form.toolbar().Text_Speed : form.toolbar().Text_Volume;
        const auto value = [&] { return i == 0 ? header.Speed : header.Volume; };
        const int before = form.toolbar().spinValue(i);

        click(bar, QPoint(bar->width() / 2, 2));
        EXPECT_EQ(form.toolbar().spinValue(i), before + 1) << i;
        EXPECT_EQ(value(), before + 1) << i;
        EXPECT_EQ(box->text(), QString::number(before + 1)) << i;
        click(bar, QPoint(bar->width() / 2, bar->height() - 3));
        EXPECT_EQ(form.toolbar().spinValue(i), before) << i;

        QWheelEvent up(QPointF(2, 2), box->mapToGlobal(QPointF(2, 2)), {}, QPoint(0, 120), Qt::NoButton,
            Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(box, &up);
        EXPECT_GT(form.toolbar().spinValue(i), before) << i;

        const QString shown = box->text();
        box->setFocus();
        for (const char key : { '1', '4', '4' }) {
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(QChar(key)));
            QApplication::sendEvent(box, &press);
        }
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(box, &enter);
        EXPECT_EQ(box->text(), shown) << i;
        EXPECT_EQ(QString::number(value()), shown) << i;
    }
}

// Enter on the real close question saves the changed score: Yes is its default button.
TEST(MainFormClose, EnterOnTheCloseQuestionSaves)
{
    WindowTest t;
    const QString file = t.sampleScore();
    MainForm& form = t.load(file);
    form.show();
    form.editor().setSelText(QStringLiteral("x"));
    const QByteArray before = tunvale::testing::readAll(file);
    auto scripted = platform::Prompts::install(std::make_unique<platform::QtPrompts>());
    QString asked;
    QTimer::singleShot(0, [&asked] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        asked = box->text();
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(box, &enter);
    });
    const bool closed = form.unload();
    platform::Prompts::install(std::move(scripted));
    EXPECT_EQ(asked, QStringLiteral("需要保存简谱，再退出吗？"));
    EXPECT_TRUE(closed);
    EXPECT_NE(tunvale::testing::readAll(file), before);
}

// A window narrower than the page keeps the page's line breaks and scrolls sideways to every line end;
// a wide window has no horizontal scroll bar.
TEST(MainFormView, ANarrowWindowReachesEveryLineEnd)
{
    WindowTest t;
    MainForm& form = t.load(t.sampleScore(QStringLiteral("molihua.vls")));
    form.resize(1280, 800);
    form.show();
    QApplication::processEvents();
    platform::RichTextEdit* view = form.editorView();
    EXPECT_FALSE(view->horizontalScrollBar()->isVisible());
    const int wideLines = form.editor().LineCount();

    form.resize(600, 800);
    QApplication::processEvents();
    EXPECT_LE(view->geometry().right(), form.centralWidget()->width());
    EXPECT_TRUE(view->horizontalScrollBar()->isVisible());
    EXPECT_EQ(form.editor().LineCount(), wideLines);

    // The line reaching furthest right: End on it brings its end into view.
    int widest = 0;
    int widestX = 0;
    for (int line = 0; line < form.editor().LineCount(); ++line) {
        form.editor().setSelStart(
            form.editor().LineIndex(line) + int(form.editor().LineText(line).trimmed().size()));
        const int x = view->cursorRect().x() + view->horizontalScrollBar()->value();
        if (x > widestX) {
            widestX = x;
            widest = line;
        }
    }
    ASSERT_GT(widestX, view->viewport()->width());
    form.editor().setSelStart(form.editor().LineIndex(widest));
    view->horizontalScrollBar()->setValue(0);
    view->setFocus();
    QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::NoModifier);
    QApplication::sendEvent(view, &end);
    QApplication::processEvents();
    EXPECT_GT(view->horizontalScrollBar()->value(), 0);
    EXPECT_TRUE(view->viewport()->rect().contains(view->cursorRect().center()));
}

// The text runs over the page less its margins before the window is first shown, in a narrow window
// and in a wide one, in the editor and in the playback view alike.
TEST(MainFormView, TheTextKeepsThePageWidthShownOrNotNarrowOrWide)
{
    WindowTest t;
    MainForm& form = t.load(t.sampleScore());
    const auto& header = frame::Process().ScoreHeader;
    const double tpp = form.twipsPerPixel();
    const double page = (frame::Process().start.PageWidthTwips - header.LeftSpace - header.RightSpace) / tpp;
    const auto expectPageWidth = [&](const char* window) {
        for (platform::RichTextEdit* view : { form.editorView(), form.playbackView() }) {
            const QTextDocument* document = view->document();
            const QTextBlockFormat format = document->begin().blockFormat();
            EXPECT_NEAR(document->textWidth() - format.leftMargin() - format.rightMargin(), page, 1.0)
                << window << ' ' << view->objectName().toStdString();
        }
    };
    expectPageWidth("not shown");
    form.resize(600, 800);
    form.show();
    QApplication::processEvents();
    expectPageWidth("narrow");
    form.resize(int(frame::Process().start.PageWidthTwips / tpp) + 400, 800);
    QApplication::processEvents();
    expectPageWidth("wide");
}
