#pragma once

#include <QDBusConnection>
#include <QList>
#include <QObject>
#include <QProcess>

namespace tunvale::testing {

// The desktop's screen saver service, counting what it is asked.
class FakeScreenSaver : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")

public:
    int inhibits = 0;
    QList<quint32> released;

public slots:
    quint32 Inhibit(const QString& applicationName, const QString& reason);
    void UnInhibit(quint32 cookie);
};

// A session bus of the test's own (a dbus-daemon it starts and ends).
class PrivateSessionBus
{
public:
    PrivateSessionBus();
    ~PrivateSessionBus();
    PrivateSessionBus(const PrivateSessionBus&) = delete;
    PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;

    QDBusConnection& bus() { return bus_; }
    // Serves `saver` as org.freedesktop.ScreenSaver; false when the bus refused.
    bool serve(FakeScreenSaver& saver);
    // Runs the event loop until `saver` has released a cookie or two seconds have passed.
    static void waitForRelease(const FakeScreenSaver& saver);

private:
    QProcess daemon_;
    QDBusConnection bus_ { QStringLiteral("none") };
};

} // namespace tunvale::testing
