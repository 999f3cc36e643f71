#include "tests/support/fake_screen_saver.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace tunvale::testing {

namespace {

const QString kConnectionName = QStringLiteral("tunvale-test-session");

} // namespace

quint32 FakeScreenSaver::Inhibit(const QString&, const QString&) { return quint32(40 + ++inhibits); }

void FakeScreenSaver::UnInhibit(quint32 cookie) { released << cookie; }

PrivateSessionBus::PrivateSessionBus()
{
    daemon_.start(QStringLiteral("dbus-daemon"),
        { QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address") });
    if (!daemon_.waitForStarted(5000) || !daemon_.waitForReadyRead(5000))
        return;
    const QString address = QString::fromUtf8(daemon_.readLine()).trimmed();
    bus_ = QDBusConnection::connectToBus(address, kConnectionName);
}

PrivateSessionBus::~PrivateSessionBus()
{
    QDBusConnection::disconnectFromBus(kConnectionName);
    daemon_.kill();
    daemon_.waitForFinished();
}

bool PrivateSessionBus::serve(FakeScreenSaver& saver)
{
    return bus_.registerService(QStringLiteral("org.freedesktop.ScreenSaver"))
        && bus_.registerObject(
            QStringLiteral("/org/freedesktop/ScreenSaver"), &saver, QDBusConnection::ExportAllSlots);
}

void PrivateSessionBus::waitForRelease(const FakeScreenSaver& saver)
{
    QElapsedTimer waited;
    waited.start();
    while (saver.released.isEmpty() && waited.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

} // namespace tunvale::testing
