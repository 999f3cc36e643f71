#include "app/frame/open_decision.h"
#include "app/frame/score_file_commands.h"
#include "app/frame/start_args.h"
#include "app/frame/window_raiser.h"
#include "platform/settings/program_folder.h"
#include "tests/frame/fake_score_window.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/test_folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <vector>

using namespace tunvale;
using frame::RaiseVerdict;
using frame::WindowRaiser;

namespace {

class FakeWindow final : public frame::RaiseTarget
{
public:
    bool showsScore(const QString& path) const override { return visible && path == score; }
    void bringUp() override { ++raised; }

    QString score;
    bool visible = true;
    int raised = 0;
};

// Each test gets its own runtime folder, so its sockets meet no others.
class WindowRaiserTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        previous_ = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", runtime_.path().toUtf8());
    }
    void TearDown() override { qputenv("XDG_RUNTIME_DIR", previous_); }

    QTemporaryDir runtime_;
    QByteArray previous_;
};

const QString A = QStringLiteral("/scores/茉莉花.vls");
const QString B = QStringLiteral("/scores/b.vls");

} // namespace

TEST_F(WindowRaiserTest, TwoWindowsAnswerForTheScoreTheyShow)
{
    FakeWindow first;
    first.score = A;
    FakeWindow second;
    second.score = B;
    WindowRaiser one(first, 1001);
    WindowRaiser two(second, 1002);
    ASSERT_TRUE(one.listen());
    ASSERT_TRUE(two.listen());

    EXPECT_EQ(two.RestoreWindow(1001, A), RaiseVerdict::Raised);
    EXPECT_EQ(first.raised, 1);
    // Another score, or a hidden window: no longer that score's window.
    EXPECT_EQ(two.RestoreWindow(1001, B), RaiseVerdict::Gone);
    first.visible = false;
    EXPECT_EQ(two.RestoreWindow(1001, A), RaiseVerdict::Gone);
    EXPECT_EQ(first.raised, 1);
    EXPECT_EQ(one.RestoreWindow(1002, B), RaiseVerdict::Raised);
    EXPECT_EQ(second.raised, 1);
    // No server under that id.
    EXPECT_EQ(one.RestoreWindow(1003, B), RaiseVerdict::Gone);
    EXPECT_EQ(WindowRaiser::AskToRaise(1002, B), RaiseVerdict::Raised);
    EXPECT_EQ(second.raised, 2);
}

TEST_F(WindowRaiserTest, TheOwnIdConnectsNowhere)
{
    FakeWindow window;
    window.score = A;
    // Not listening: a call over a socket would find nothing.
    WindowRaiser own(window, 2001);
    EXPECT_EQ(own.RestoreWindow(2001, A), RaiseVerdict::Raised);
    EXPECT_EQ(window.raised, 1);
    EXPECT_EQ(own.RestoreWindow(2001, B), RaiseVerdict::Gone);
    EXPECT_EQ(window.raised, 1);
}

TEST_F(WindowRaiserTest, APeerThatNeverAnswersIsBusyWithinTheWait)
{
    QLocalServer silent;
    QLocalServer::removeServer(WindowRaiser::SocketPath(3001));
    ASSERT_TRUE(silent.listen(WindowRaiser::SocketPath(3001)));
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(WindowRaiser::AskToRaise(3001, A, 300), RaiseVerdict::Busy);
    EXPECT_LT(clock.elapsed(), 2000);
}

TEST_F(WindowRaiserTest, AStaleSocketIsReplacedAndAnOversizedLineDropped)
{
    // A file of our name left by a process that ended.
    {
        QFile old(WindowRaiser::SocketPath(4001));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    }
    FakeWindow window;
    window.score = A;
    WindowRaiser raiser(window, 4001);
    ASSERT_TRUE(raiser.listen());

    QLocalSocket socket;
    socket.connectToServer(WindowRaiser::SocketPath(4001));
    ASSERT_TRUE(socket.waitForConnected(1000));
    socket.write("RAISE " + QByteArray(WindowRaiser::kMaxLineBytes, 'x') + A.toUtf8() + '\n');
    socket.flush();
    QElapsedTimer clock;
    clock.start();
    while (socket.state() == QLocalSocket::ConnectedState && clock.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(socket.state(), QLocalSocket::UnconnectedState);
    EXPECT_EQ(socket.readAll(), QByteArray());
    EXPECT_EQ(window.raised, 0);
    // A call of the right form still works.
    EXPECT_EQ(WindowRaiser::AskToRaise(4001, A), RaiseVerdict::Raised);
}

TEST_F(WindowRaiserTest, AStartOfAShownScoreRaisesItsWindowInstead)
{
    QTemporaryDir dir;
    const frame::OpenScoreRegistry registry(dir.filePath(QStringLiteral("MyNote.ini")));
    FakeWindow window;
    window.score = A;
    WindowRaiser raiser(window, 5001);
    ASSERT_TRUE(raiser.listen());
    EXPECT_FALSE(frame::ShownByAnotherWindow(A, registry, 5002)); // not registered
    ASSERT_TRUE(registry.Register(A, 5001));
    EXPECT_FALSE(frame::ShownByAnotherWindow(A, registry, 5001)); // our own entry
    EXPECT_TRUE(frame::ShownByAnotherWindow(A, registry, 5002));
    EXPECT_EQ(window.raised, 1);
    // The window now shows B: the entry for A is stale and goes.
    window.score = B;
    EXPECT_FALSE(frame::ShownByAnotherWindow(A, registry, 5002));
    EXPECT_EQ(registry.FindFileWindow(A), 0);
}

TEST_F(WindowRaiserTest, AWindowThatShowsItsScoreKeepsItsEntry)
{
    QTemporaryDir dir;
    const frame::OpenScoreRegistry registry(dir.filePath(QStringLiteral("MyNote.ini")));
    FakeWindow window;
    window.score = A;
    WindowRaiser raiser(window, 8001);
    ASSERT_TRUE(raiser.listen());
    ASSERT_TRUE(registry.Register(A, 8001));
    // Asked, it neither gives its entry up nor comes up.
    EXPECT_FALSE(registry.Claim(A, 8002));
    EXPECT_EQ(registry.FindFileWindow(A), 8001);
    EXPECT_EQ(window.raised, 0);
    EXPECT_TRUE(registry.Claim(A, 8001));
    // An entry whose window shows another score, or whose process is gone, is taken over.
    window.score = B;
    EXPECT_TRUE(registry.Claim(A, 8002));
    EXPECT_EQ(registry.FindFileWindow(A), 8002);
    ASSERT_TRUE(registry.Register(B, 8003));
    EXPECT_TRUE(registry.Claim(B, 8002));
    EXPECT_EQ(registry.FindFileWindow(B), 8002);
}

// A second window on a score (a further window's start, Save As onto it) loads or saves it, and the live
// window that showed it first stays the one that an open of that score brings up.
TEST_F(WindowRaiserTest, ASecondWindowOnAShownScoreLeavesTheEntryToTheFirst)
{
    tunvale::testing::ScopedUserFolder user;
    tunvale::testing::ScopedSettingsFolder settings;
    tunvale::testing::ScopedPrompts prompts;
    QTemporaryDir dir;
    const QString sample
        = QDir(platform::ProgramFolder::dataDir()).filePath(QStringLiteral("vls/molihua.vls"));
    const QString shown = frame::ScorePathKey(dir.filePath(QStringLiteral("shown.vls")));
    const QString other = frame::ScorePathKey(dir.filePath(QStringLiteral("other.vls")));
    ASSERT_TRUE(QFile::copy(sample, shown));
    ASSERT_TRUE(QFile::copy(sample, other));
    FakeWindow first;
    first.score = shown;
    WindowRaiser raiser(first, 9001);
    ASSERT_TRUE(raiser.listen());
    const frame::OpenScoreRegistry registry;
    ASSERT_TRUE(registry.Register(shown, 9001));

    frame::ScoreFileServices services;
    services.program = QStringLiteral("/nonexistent/tunvale");
    services.fileDialog = [&shown](const platform::FileDialogRequest&, bool) { return shown; };
    tunvale::testing::FakeScoreWindow second;
    services.ownId = 9002;
    frame::ScoreFileCommands secondCommands(second, services);
    secondCommands.OpenVls(shown);
    EXPECT_EQ(second.head.CurrentFile, shown);
    EXPECT_EQ(registry.FindFileWindow(shown), 9001);

    tunvale::testing::FakeScoreWindow third;
    services.ownId = 9003;
    frame::ScoreFileCommands thirdCommands(third, services);
    thirdCommands.OpenVls(other);
    ASSERT_EQ(registry.FindFileWindow(other), 9003);
    EXPECT_TRUE(thirdCommands.saveAs());
    EXPECT_EQ(third.head.CurrentFile, shown);
    EXPECT_EQ(registry.FindFileWindow(shown), 9001);
    EXPECT_EQ(registry.FindFileWindow(other), 0);
    EXPECT_EQ(first.raised, 0);
    EXPECT_TRUE(prompts->texts().isEmpty()) << prompts->texts().join(u'|').toStdString();
}

namespace {

// Lowers this process's soft limit of open files for the guard's lifetime, as a desktop session sets
// it (1024), and gives the old one back.
class ScopedFileLimit
{
public:
    explicit ScopedFileLimit(rlim_t limit)
    {
        getrlimit(RLIMIT_NOFILE, &old_);
        rlimit lowered = old_;
        lowered.rlim_cur = std::min(limit, old_.rlim_cur);
        setrlimit(RLIMIT_NOFILE, &lowered);
    }
    ~ScopedFileLimit() { setrlimit(RLIMIT_NOFILE, &old_); }
    ScopedFileLimit(const ScopedFileLimit&) = delete;
    ScopedFileLimit& operator=(const ScopedFileLimit&) = delete;

private:
    rlimit old_ {};
};

// Another process that opens `count` connections to a socket and sends nothing. It prints how many it
// holds, then, on a line of input, how many of them the other side has not closed.
const char* const kIdleCaller = R"(
import resource, select, socket, sys
soft, hard = resource.getrlimit(resource.RLIMIT_NOFILE)
resource.setrlimit(resource.RLIMIT_NOFILE, (hard if hard != resource.RLIM_INFINITY else 4096, hard))
held = []
for _ in range(int(sys.argv[2])):
    s = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    try:
        s.connect(sys.argv[1])
        held.append(s)
    except OSError:
        s.close()
print(len(held), flush=True)
sys.stdin.readline()
poll = select.poll()
for s in held:
    poll.register(s, select.POLLIN)
ended = {fd for fd, events in poll.poll(0) if events & (select.POLLIN | select.POLLHUP)}
print(sum(1 for s in held if s.fileno() not in ended), flush=True)
)";

QByteArray lineFrom(QProcess& process)
{
    QElapsedTimer clock;
    clock.start();
    while (!process.canReadLine() && process.state() == QProcess::Running && clock.elapsed() < 30000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return process.readLine().trimmed();
}

void serveFor(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

} // namespace

TEST_F(WindowRaiserTest, IdleConnectionsAreClosedAndLeaveTheWindowReachable)
{
    FakeWindow window;
    window.score = A;
    WindowRaiser raiser(window, 6001);
    ASSERT_TRUE(raiser.listen());
    QProcess idle;
    idle.start(QStringLiteral("/usr/bin/python3"),
        { QStringLiteral("-c"), QString::fromLatin1(kIdleCaller), WindowRaiser::SocketPath(6001),
            QStringLiteral("1100") });
    ASSERT_TRUE(idle.waitForStarted());
    const ScopedFileLimit limit(1024);

    EXPECT_EQ(lineFrom(idle), "1100");
    EXPECT_EQ(WindowRaiser::AskToRaise(6001, A), RaiseVerdict::Raised);
    EXPECT_EQ(window.raised, 1);
    // None of them has sent a line within a second.
    serveFor(WindowRaiser::kDefaultWaitMs + 500);
    idle.write("\n");
    EXPECT_EQ(lineFrom(idle), "0");
    idle.waitForFinished();
}

TEST_F(WindowRaiserTest, AServerThatStoppedListeningListensAgain)
{
    FakeWindow window;
    window.score = A;
    WindowRaiser raiser(window, 7001);
    ASSERT_TRUE(raiser.listen());
    const QByteArray path = QFile::encodeName(WindowRaiser::SocketPath(7001));
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    ASSERT_LT(size_t(path.size()), sizeof(address.sun_path));
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int caller = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(caller, 0);
    {
        // Every descriptor in use: the call cannot be accepted, and the server closes.
        const ScopedFileLimit limit(256);
        std::vector<int> filler;
        for (int fd = dup(0); fd >= 0; fd = dup(0))
            filler.push_back(fd);
        ASSERT_EQ(::connect(caller, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
        serveFor(200);
        for (const int fd : filler)
            close(fd);
    }
    close(caller);
    serveFor(2 * WindowRaiser::kDefaultWaitMs + 200);
    EXPECT_EQ(WindowRaiser::AskToRaise(7001, A), RaiseVerdict::Raised);
    EXPECT_EQ(window.raised, 1);
}
