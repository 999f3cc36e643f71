#include "app/frame/recent_files.h"
#include "app/frame/score_file_commands.h"
#include "app/frame/start_args.h"
#include "app/frame/window_raiser.h"
#include "platform/settings/ini_file.h"
#include "platform/settings/program_folder.h"
#include "tests/frame/fake_score_window.h"
#include "tests/support/scoretool_run.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/test_folders.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <set>

using namespace tunvale;

namespace {

const QString kProgram = QStringLiteral(TUNVALE_BUILD_DIR "/bin/tunvale");

// Points this process and every window it starts at one set of temporary folders, and restores the
// environment afterwards.
class SharedFolders
{
public:
    SharedFolders()
    {
        for (const char* name : { "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR" }) {
            QDir(root_.path()).mkdir(QString::fromLatin1(name));
            saved_.emplace_back(name, qgetenv(name));
            qputenv(name, QDir(root_.path()).filePath(QString::fromLatin1(name)).toUtf8());
        }
        QFile::setPermissions(
            folder("XDG_RUNTIME_DIR"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        // The user folder that a window started here uses.
        platform::ProgramFolder::overrideUserDir(
            QDir(folder("XDG_DATA_HOME")).filePath(QStringLiteral("Velmora/Tunvale")));
    }
    ~SharedFolders()
    {
        platform::ProgramFolder::overrideUserDir({});
        for (const auto& [name, value] : saved_) {
            if (value.isNull())
                qunsetenv(name);
            else
                qputenv(name, value);
        }
    }
    QString folder(const char* name) const { return QDir(root_.path()).filePath(QString::fromLatin1(name)); }
    QString file(const QString& name) const { return QDir(root_.path()).filePath(name); }

private:
    QTemporaryDir root_;
    std::vector<std::pair<const char*, QByteArray>> saved_;
};

// Waits up to `ms` for `done`.
// Kills every process whose id the launcher wrote down.
struct EndsStartedWindows {
    QString ids;
    ~EndsStartedWindows()
    {
        for (const QByteArray& id : tunvale::testing::readAll(ids).split('\n')) {
            if (id.toLongLong() > 0)
                ::kill(pid_t(id.toLongLong()), SIGKILL);
        }
    }
};

template <typename Condition> bool waitFor(Condition done, int ms = 10000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms)
            return false;
        QThread::msleep(50);
    }
    return true;
}

} // namespace

TEST(TwoWindows, ScoreWindowsFindAndRaiseEachOther)
{
    SharedFolders folders;
    tunvale::testing::ScopedSettingsFolder settings;
    tunvale::testing::ScopedPrompts prompts;
    const QString a = frame::ScorePathKey(folders.file(QStringLiteral("a.vls")));
    const QString b = frame::ScorePathKey(folders.file(QStringLiteral("b.vls")));
    const QString samples = QDir(platform::ProgramFolder::dataDir()).filePath(QStringLiteral("vls/"));
    ASSERT_TRUE(QFile::copy(samples + QStringLiteral("molihua.vls"), a));
    ASSERT_TRUE(QFile::copy(samples + QStringLiteral("xiaoxingxing.vls"), b));
    // The program that further windows run: the real one, each start and its process id written down
    // first, so that every window started ends with the test, registered or not.
    const QString starts = folders.file(QStringLiteral("starts.log"));
    const QString ids = folders.file(QStringLiteral("ids.log"));
    const QString launcher = folders.file(QStringLiteral("launcher.sh"));
    ASSERT_TRUE(tunvale::testing::writeAll(launcher,
        "#!/bin/sh\necho \"$@\" >> '" + starts.toUtf8() + "'\necho $$ >> '" + ids.toUtf8() + "'\nexec '"
            + kProgram.toUtf8() + "' \"$@\"\n"));
    QFile::setPermissions(launcher, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // However the test ends, every window it started ends too: a window left running would keep the
    // test's output open, and the test would never be seen to end.
    const EndsStartedWindows ending { ids };

    const frame::OpenScoreRegistry registry;
    std::set<qint64> started;
    const auto registeredNewly = [&](const QString& path) {
        const qint64 id = registry.FindFileWindow(path);
        return id != 0 && !started.contains(id) ? id : 0;
    };

    // 1. Window A opens a.vls and registers it.
    QProcess windowA;
    windowA.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    windowA.start(kProgram, { a });
    ASSERT_TRUE(windowA.waitForStarted());
    const qint64 idA = windowA.processId();
    started.insert(idA);
    // A listens for raise calls before it registers its score: once the entry is there, A is reachable.
    ASSERT_TRUE(waitFor([&] { return registry.FindFileWindow(a) == idA; }));
    EXPECT_TRUE(QFileInfo::exists(frame::WindowRaiser::SocketPath(idA)));

    // This test is a window that shows another named score.
    tunvale::testing::FakeScoreWindow window;
    window.head.CurrentFile = folders.file(QStringLiteral("c.vls"));
    frame::ScoreFileServices services;
    services.program = launcher;
    frame::ScoreFileCommands commands(window, services);

    // 2. Opening a.vls brings A up; nothing starts.
    commands.OpenVls(a);
    EXPECT_TRUE(prompts->texts().isEmpty()) << prompts->texts().join(u'|').toStdString();
    EXPECT_FALSE(QFile::exists(starts));
    EXPECT_EQ(frame::RecentFiles::Entries().value(0), a);
    // An ordinary start of a.vls raises A and ends without a window of its own.
    QProcess second;
    second.start(kProgram, { a });
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(registry.FindFileWindow(a), idA);

    // 3. A stale entry: b.vls under A's id. A says no, the entry goes and a further window opens b.vls.
    ASSERT_TRUE(registry.Register(b, idA));
    commands.OpenVls(b);
    qint64 idB = 0;
    EXPECT_TRUE(waitFor([&] { return (idB = registeredNewly(b)) != 0; }));
    if (idB)
        started.insert(idB);
    EXPECT_EQ(tunvale::testing::readAll(starts), "/OpenFile " + b.toUtf8() + "\n");
    EXPECT_EQ(
        platform::ReadIniValue(QStringLiteral("WinPos"), QStringLiteral("WindowPos"), registry.iniFile()),
        window.WindowPos());

    // 4. A ends without closing its window: its entry stays, finds no window and a further one opens.
    windowA.kill();
    ASSERT_TRUE(windowA.waitForFinished(5000));
    ASSERT_EQ(registry.FindFileWindow(a), idA);
    commands.OpenVls(a);
    qint64 idA2 = 0;
    EXPECT_TRUE(waitFor([&] { return (idA2 = registeredNewly(a)) != 0; }));
    if (idA2)
        started.insert(idA2);
    EXPECT_TRUE(prompts->texts().isEmpty()) << prompts->texts().join(u'|').toStdString();
}

// The test tool's windows open, export and print in settings and a user folder of their own: the user's
// open-score registry, recent files and user folder stay as they were.
TEST(TwoWindows, ToolCommandsLeaveTheUsersFilesAlone)
{
    SharedFolders folders;
    const QString score = frame::ScorePathKey(folders.file(QStringLiteral("a.vls")));
    ASSERT_TRUE(QFile::copy(
        QDir(platform::ProgramFolder::dataDir()).filePath(QStringLiteral("vls/molihua.vls")), score));
    const QString user = QDir(folders.folder("XDG_DATA_HOME")).filePath(QStringLiteral("Velmora/Tunvale"));
    const QString config = QDir(folders.folder("XDG_CONFIG_HOME")).filePath(QStringLiteral("Velmora"));
    ASSERT_TRUE(QDir().mkpath(user) && QDir().mkpath(config));
    const QByteArray registry = "[FileN]\r\n" + score.toUtf8() + "=4242\r\n";
    const QByteArray settings = "[FileHistory]\nFile0=/scores/b.vls\nFirstFile=0\n";
    ASSERT_TRUE(tunvale::testing::writeAll(QDir(user).filePath(QStringLiteral("MyNote.ini")), registry));
    ASSERT_TRUE(tunvale::testing::writeAll(QDir(config).filePath(QStringLiteral("Tunvale.conf")), settings));

    const QStringList runs[]
        = { { QStringLiteral("export-rtf"), score, folders.file(QStringLiteral("a.rtf")) },
              { QStringLiteral("picture"), score, folders.file(QStringLiteral("a.bmp")) },
              { QStringLiteral("print-pdf"), score, folders.file(QStringLiteral("a.pdf")) } };
    for (const QStringList& args : runs) {
        SCOPED_TRACE(args[0].toStdString());
        EXPECT_EQ(tunvale::testing::RunScoretool(args).exitCode, 0);
        EXPECT_EQ(tunvale::testing::readAll(QDir(user).filePath(QStringLiteral("MyNote.ini"))), registry);
        EXPECT_EQ(tunvale::testing::readAll(QDir(config).filePath(QStringLiteral("Tunvale.conf"))), settings);
        EXPECT_EQ(QDir(user).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
            QStringList { QStringLiteral("MyNote.ini") });
        EXPECT_EQ(QDir(config).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
            QStringList { QStringLiteral("Tunvale.conf") });
    }
}
