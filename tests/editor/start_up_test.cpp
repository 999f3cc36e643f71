#include "app/dialogs/about_box.h"
#include "app/dialogs/splash_window.h"
#include "app/editor/window/start_up.h"

#include "app/frame/process_state.h"
#include "app/frame/read_vls.h"
#include "app/frame/score_file_commands.h"
#include "app/notation/score_template.h"
#include "platform/settings/ini_file.h"
#include "tests/editor/window_fixture.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

#include <gtest/gtest.h>

using namespace tunvale;
using tunvale::testing::WindowTest;

namespace {

QString registered(const tunvale::testing::ScopedUserFolder& user, const QString& file)
{
    return platform::ReadIniValue("FileN", file, user.file("MyNote.ini"));
}

// The entries of [FileN]; a registration undone may leave the section's header behind.
QString fileNSection(const tunvale::testing::ScopedUserFolder& user)
{
    const QByteArray ini = tunvale::testing::readAll(user.file("MyNote.ini"));
    const qsizetype at = ini.indexOf("[FileN]");
    return at < 0 ? QString() : QString::fromUtf8(ini.mid(at + 7)).trimmed();
}

} // namespace

TEST(StartUp, StartValuesInTwips)
{
    WindowTest t;
    const frame::StartValues& start = frame::Process().start;
    EXPECT_EQ(start.PageWidthTwips, 11906);
    EXPECT_EQ(start.PageHeightTwips, 16838);
    EXPECT_EQ(start.ScrollBarTwips, QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent) * 15);
    EXPECT_EQ(start.NotationFontSize, 32);
    EXPECT_EQ(start.TextFontSize, 12);
    EXPECT_TRUE(frame::Process().ScoreHeader.ScoreSaved);
}

TEST(StartUp, TheWindowGoesWhereTheLastOneStood)
{
    struct Case {
        std::optional<QString> value;
        int offset;
        QPoint at;
        std::optional<QSize> size; // none: the window's own
        bool maximized;
    };
    const Case cases[] = {
        { "1500,1200,9000,6000,Normal", 0, { 100, 80 }, QSize(600, 400), false },
        { "1500,1200,9000,6000,Normal", 255, { 117, 97 }, QSize(600, 400), false },
        { "1500,1200,9000,6000,Maximized", 0, {}, std::nullopt, true },
        { "1500,1200", 0, { 0, 0 }, std::nullopt, false }, // two parts
        { std::nullopt, 0, { 0, 0 }, std::nullopt, false },
        { "x,y,9000,6000,Normal", 0, { 0, 0 }, std::nullopt, false }, // no number: the default place
        { "&H7FFF,&H7FFF,&H7FFF,&H7FFF,Normal", 0, { 0, 0 }, std::nullopt, false },
        { "-3000,-3000,-1500,-1500,Normal", 0, { 0, 0 }, std::nullopt, false }, // no size
    };
    for (const Case& c : cases) {
        WindowTest t;
        if (c.value)
            platform::WriteIniValue("WinPos", "WindowPos", *c.value, t.user.file("MyNote.ini"));
        QWidget window;
        window.setGeometry(300, 300, 500, 300);
        window.show();
        editor::PlaceWindow(window, c.offset);
        const std::string label = c.value.value_or("missing").toStdString();
        EXPECT_EQ(window.isMaximized(), c.maximized) << label;
        if (c.maximized)
            continue;
        EXPECT_EQ(window.pos(), c.at) << label;
        // The stored size is the outer one.
        if (c.size) {
            EXPECT_EQ(window.frameGeometry().size(), *c.size) << label;
        } else {
            EXPECT_EQ(window.size(), QSize(500, 300)) << label;
        }
    }
}

// A start places its window before it shows: it comes up in the stored frame, title bar and border
// included, or at the corner in its own size when nothing is stored.
TEST(StartUp, AWindowComesUpWhereItIsPlaced)
{
    const struct {
        const char* value;
        int offset;
        QRect frame; // empty: the window's own size
    } cases[] = {
        { "1500,1200,9000,6000,Normal", 0, { 100, 80, 600, 400 } },
        { "1500,1200,9000,6000,Normal", 255, { 117, 97, 600, 400 } },
        { "", 0, {} },
    };
    for (const auto& c : cases) {
        WindowTest t;
        platform::WriteIniValue("WinPos", "WindowPos", c.value, t.user.file("MyNote.ini"));
        QWidget window;
        window.resize(500, 300);
        editor::PlaceWindow(window, c.offset);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        if (c.frame.isEmpty()) {
            EXPECT_EQ(window.pos(), QPoint(0, 0));
            EXPECT_EQ(window.size(), QSize(500, 300));
        } else {
            EXPECT_EQ(window.frameGeometry(), c.frame) << c.offset;
        }
    }
}

// However large, small or far off the stored frame, the window comes up on the screen, within its room
// and no smaller than its minimum.
TEST(StartUp, AStoredPlaceIsKeptOnTheScreen)
{
    const struct {
        const char* value;
        bool fillsTheScreen;
    } cases[] = {
        { "99999999,99999999,99999999,99999999,Normal", true },
        { "-3000,-3000,15,15,Normal", false },
        { "1e30,-1e30,1e30,1e30,Normal", true },
    };
    for (const auto& c : cases) {
        WindowTest t;
        platform::WriteIniValue("WinPos", "WindowPos", c.value, t.user.file("MyNote.ini"));
        QWidget window;
        window.setMinimumSize(200, 150);
        window.setGeometry(300, 300, 500, 300);
        window.show();
        editor::PlaceWindow(window, 0);
        const QRect available = window.screen()->availableGeometry();
        EXPECT_TRUE(available.contains(window.frameGeometry())) << c.value;
        if (c.fillsTheScreen) {
            EXPECT_EQ(window.frameGeometry(), available) << c.value;
        } else {
            EXPECT_EQ(window.frameGeometry().topLeft(), available.topLeft()) << c.value;
            EXPECT_EQ(window.size(), QSize(200, 150)) << c.value;
        }
    }
}

TEST(StartUp, TheOpenScoreIsRegisteredUnlessThereIsNone)
{
    {
        WindowTest t;
        const QString file = t.sampleScore();
        editor::StartResult started = editor::StartProgram({ file }, tunvale::testing::FakeServices());
        ASSERT_TRUE(started.window);
        EXPECT_EQ(registered(t.user, file), editor::ProcessIdText());
        EXPECT_TRUE(frame::Process().start.ShowStartProgress);
    }
    {
        WindowTest t;
        const QString file = t.sampleScore();
        editor::StartResult started
            = editor::StartProgram({ "/OpenFile", file }, tunvale::testing::FakeServices());
        ASSERT_TRUE(started.window);
        EXPECT_EQ(registered(t.user, file), editor::ProcessIdText());
        EXPECT_FALSE(frame::Process().start.ShowStartProgress);
    }
    for (const QStringList& args :
        { QStringList {}, QStringList { "/p" }, QStringList { notation::TemplatePath() } }) {
        WindowTest t;
        editor::StartResult started = editor::StartProgram(args, tunvale::testing::FakeServices());
        ASSERT_TRUE(started.window) << args.join(' ').toStdString();
        EXPECT_TRUE(notation::IsTemplatePath(frame::Process().ScoreHeader.CurrentFile));
        EXPECT_EQ(fileNSection(t.user), QString()) << args.join(' ').toStdString();
        EXPECT_TRUE(t.prompts->shown.empty());
    }
}

TEST(StartUp, AMissingOrUnreadableFileOpensTheTemplateUnregistered)
{
    WindowTest t;
    const QString missing = t.user.file("missing.vls");
    const QString folder = t.user.file("folder.vls");
    QDir().mkpath(folder);
    struct Case {
        QString file;
        QString message;
    };
    for (const Case& c : { Case { missing, "文件不存在!" },
             Case { folder, frame::CannotOpenText(folder, frame::kFolderReason) } }) {
        WindowTest w;
        editor::StartResult started = editor::StartProgram({ c.file }, tunvale::testing::FakeServices());
        ASSERT_TRUE(started.window);
        EXPECT_EQ(w.prompts->texts(), QStringList { c.message });
        EXPECT_TRUE(notation::IsTemplatePath(frame::Process().ScoreHeader.CurrentFile));
        EXPECT_EQ(fileNSection(w.user), QString());
    }
}

// Another window starts one for a score it does not show; when the score is refused, the new window
// says why and ends instead of staying as an untitled score.
TEST(StartUp, AWindowStartedForAScoreThatIsRefusedEnds)
{
    WindowTest t;
    const QString notes = t.user.file("notes.vls");
    tunvale::testing::writeAll(notes, "just some notes, no score\n");
    const QString missing = t.user.file("missing.vls");
    struct Case {
        QString file;
        QString message;
    };
    for (const Case& c : { Case { notes, frame::CannotOpenText(notes, frame::kNotAScoreReason) },
             Case { missing, "文件不存在!" } }) {
        WindowTest w;
        editor::StartResult started
            = editor::StartProgram({ "/OpenFile", c.file }, tunvale::testing::FakeServices());
        EXPECT_FALSE(started.window);
        EXPECT_NE(started.exitCode, 0);
        EXPECT_EQ(w.prompts->texts(), QStringList { c.message });
        EXPECT_EQ(fileNSection(w.user), QString());
    }
}

TEST(StartUp, AScoreOfANewerFormatClosesTheWindow)
{
    WindowTest t;
    const QString file = t.sampleScore();
    QByteArray bytes = tunvale::testing::readAll(file);
    bytes[13] = char(6);
    tunvale::testing::writeAll(file, bytes);
    editor::StartResult started = editor::StartProgram({ file }, tunvale::testing::FakeServices());
    EXPECT_FALSE(started.window);
    EXPECT_NE(started.exitCode, 0);
    EXPECT_EQ(t.prompts->texts(), QStringList { frame::CannotOpenText(file, frame::kTooNewMessage) });
    EXPECT_EQ(fileNSection(t.user), QString());
}

TEST(StartUp, APrintStartPrintsAllPagesWithoutShowingTheWindowNorAsking)
{
    WindowTest t;
    const QString file = t.sampleScore();
    QTemporaryDir dir;
    const QString pdf = dir.filePath("printed.pdf");
    editor::MainFormServices services = tunvale::testing::FakeServices();
    std::optional<std::tuple<int, int, int, bool>> dialog;
    services.printing.dialog = [&](QWidget* owner, QPrinter& printer, int pages, dialogs::PrintRange& range) {
        dialog = { range.from, range.to, pages, owner && owner->isVisible() };
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    };
    editor::StartResult started = editor::StartProgram({ "/p", file }, std::move(services));
    EXPECT_FALSE(started.window);
    EXPECT_EQ(started.exitCode, 0);
    ASSERT_TRUE(dialog);
    const auto [from, to, pages, windowShown] = *dialog;
    EXPECT_EQ(from, 1);
    EXPECT_EQ(to, pages);
    EXPECT_FALSE(windowShown);
    QProcess info;
    info.start("pdfinfo", { pdf });
    info.waitForFinished();
    EXPECT_TRUE(QString::fromUtf8(info.readAllStandardOutput())
                    .contains(QRegularExpression(QStringLiteral("Pages:\\s+%1\\b").arg(pages))));
    EXPECT_TRUE(t.prompts->shown.empty());
    EXPECT_EQ(fileNSection(t.user), QString());
    EXPECT_TRUE(frame::Process().start.PrintStart);
}

namespace {

bool splashShown()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(),
        [](const QWidget* w) { return qobject_cast<const dialogs::SplashWindow*>(w) && w->isVisible(); });
}

// Takes the default answer of every prompt and notes its text and whether a splash was up when it came.
class SplashWatch final : public platform::Prompts
{
public:
    platform::PromptAnswer ask(const platform::PromptRequest& request) override
    {
        texts << request.text;
        splashUp.push_back(splashShown());
        return request.defaultAnswer;
    }
    std::optional<QString> input(const QString& prompt, const QString&, const QString&) override
    {
        texts << prompt;
        splashUp.push_back(splashShown());
        return std::nullopt;
    }
    void beep() override { }

    QStringList texts;
    std::vector<bool> splashUp;
};

} // namespace

// The splash of an ordinary start stays on top of every window. It shows while the window loads; a
// start that has something to say (a missing score, one cut short) closes it before its message, which
// is then the window in front, and goes on. After the start the splash is gone and the prompts are those
// of before.
TEST(StartUp, TheSplashShowsWhileLoadingAndGoesBeforeAMessage)
{
    WindowTest t;
    const QByteArray sample = tunvale::testing::readAll(t.sampleScore());
    const QString headOnly = t.user.file("head.vls");
    tunvale::testing::writeAll(headOnly, sample.left(24));
    const QString cutShort = t.user.file("cut.vls");
    tunvale::testing::writeAll(cutShort, sample.left(986));
    struct Case {
        QString file;
        bool message;
    };
    for (const Case& c : { Case { t.sampleScore(), false }, Case { t.user.file("missing.vls"), true },
             Case { headOnly, true }, Case { cutShort, true } }) {
        WindowTest w;
        auto watch = std::make_unique<SplashWatch>();
        SplashWatch* prompts = watch.get();
        std::unique_ptr<platform::Prompts> before = platform::Prompts::install(std::move(watch));
        bool splashWhileLoading = false;
        editor::MainFormServices services = tunvale::testing::FakeServices();
        services.screenSaver = [&splashWhileLoading, make = services.screenSaver] {
            splashWhileLoading = splashShown();
            return make();
        };
        editor::StartResult started = editor::StartProgram({ c.file }, std::move(services));
        const std::string file = c.file.toStdString();
        EXPECT_TRUE(started.window) << file;
        EXPECT_TRUE(splashWhileLoading) << file;
        EXPECT_EQ(prompts->texts.size(), c.message ? 1 : 0) << file;
        EXPECT_EQ(prompts->splashUp, std::vector<bool>(prompts->texts.size(), false)) << file;
        EXPECT_FALSE(splashShown()) << file;
        EXPECT_EQ(&platform::Prompts::current(), prompts) << file;
        platform::Prompts::install(std::move(before));
    }
}

// The splash window and the about box name the one version the build gives.
TEST(StartUp, SplashAndAboutShowOneVersion)
{
    dialogs::SplashWindow splash;
    dialogs::AboutBox about;
    const QString version = QStringLiteral(TUNVALE_PROJECT_VERSION);
    EXPECT_TRUE(splash.findChild<QLabel*>(QStringLiteral("VerLab"))->text().endsWith(version));
    EXPECT_TRUE(about.findChild<QLabel*>(QStringLiteral("lblVersion"))->text().endsWith(version));
}

TEST(StartUp, APrintStartThatFailsSaysSoOnStandardErrorAndEndsWithAnError)
{
    WindowTest t;
    const QString file = t.sampleScore();
    // A print to a file in a folder that is not there, and one to a disk that is full.
    std::vector<std::pair<QString, QString>> cases { { "/no/such/folder/a.pdf", "文件夹不存在。" } };
    QTemporaryDir dir;
    if (tunvale::testing::MakeDevice(dir.filePath("full"), true))
        cases.emplace_back(dir.filePath("full"), "磁盘已满。");
    for (const auto& [pdf, reason] : cases) {
        t.prompts->shown.clear();
        editor::MainFormServices services = tunvale::testing::FakeServices();
        services.printing.dialog = [](QWidget*, QPrinter&, int, dialogs::PrintRange&) { return true; };
        services.printing.target = [pdf](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return std::make_unique<dialogs::PrinterTarget>(printer);
        };
        ::testing::internal::CaptureStderr();
        editor::StartResult started = editor::StartProgram({ "/p", file }, std::move(services));
        const std::string errors = ::testing::internal::GetCapturedStderr();
        const QString message = "打印失败！\n" + pdf + u'\n' + reason;
        EXPECT_NE(started.exitCode, 0) << pdf.toStdString();
        EXPECT_NE(errors.find(message.toStdString()), std::string::npos) << errors;
        EXPECT_EQ(t.prompts->texts(), QStringList { message });
    }

    // A cancelled printer dialog prints nothing and says nothing.
    t.prompts->shown.clear();
    editor::StartResult cancelled = editor::StartProgram({ "/p", file }, tunvale::testing::FakeServices());
    EXPECT_NE(cancelled.exitCode, 0);
    EXPECT_TRUE(t.prompts->shown.empty());
}
