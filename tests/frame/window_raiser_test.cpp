#include "app/frame/open_decision.h"
#include "app/frame/window_raiser.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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
