#include "platform/desktop/screen_saver_inhibitor.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QElapsedTimer>
#include <QObject>
#include <QProcess>

#include <gtest/gtest.h>

using tunvale::platform::ScreenSaverInhibitor;

namespace {

// The desktop's screen saver service, counting what it is asked.
class FakeScreenSaver : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")

public:
    int inhibits = 0;
    QList<quint32> released;
    QString application;

public slots:
    quint32 Inhibit(const QString& applicationName, const QString&)
    {
        application = applicationName;
        return quint32(40 + ++inhibits);
    }
    void UnInhibit(quint32 cookie) { released << cookie; }
};

// A session bus of the test's own.
class PrivateBus
{
public:
    PrivateBus()
    {
        daemon_.start(QStringLiteral("dbus-daemon"),
            { QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address") });
        if (!daemon_.waitForStarted(5000) || !daemon_.waitForReadyRead(5000))
            return;
        const QString address = QString::fromUtf8(daemon_.readLine()).trimmed();
        bus_ = QDBusConnection::connectToBus(address, QStringLiteral("screensaver-test"));
    }
    ~PrivateBus()
    {
        QDBusConnection::disconnectFromBus(QStringLiteral("screensaver-test"));
        daemon_.kill();
        daemon_.waitForFinished();
    }
    QDBusConnection& bus() { return bus_; }

private:
    QProcess daemon_;
    QDBusConnection bus_ { QStringLiteral("none") };
};

TEST(ScreenSaverInhibitor, InhibitsOnceAndReleasesItsCookie)
{
    PrivateBus session;
    ASSERT_TRUE(session.bus().isConnected()) << "dbus-daemon is part of the test packages";
    ScreenSaverInhibitor withoutService(session.bus());
    withoutService.inhibit(QStringLiteral("play"));
    EXPECT_FALSE(withoutService.inhibited());

    FakeScreenSaver saver;
    ASSERT_TRUE(session.bus().registerService(QStringLiteral("org.freedesktop.ScreenSaver")));
    ASSERT_TRUE(session.bus().registerObject(
        QStringLiteral("/org/freedesktop/ScreenSaver"), &saver, QDBusConnection::ExportAllSlots));
    {
        ScreenSaverInhibitor inhibitor(session.bus());
        // The service runs on this thread's bus connection: calls are answered while the caller waits.
        inhibitor.inhibit(QStringLiteral("play"));
        inhibitor.inhibit(QStringLiteral("play"));
        EXPECT_TRUE(inhibitor.inhibited());
        EXPECT_EQ(saver.inhibits, 1);
        inhibitor.uninhibit();
        inhibitor.uninhibit();
        EXPECT_FALSE(inhibitor.inhibited());
    }
    QElapsedTimer waited;
    waited.start();
    while (saver.released.isEmpty() && waited.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(saver.released, QList<quint32> { 41 });
}

} // namespace

#include "screen_saver_inhibitor_test.moc"
