#include "platform/desktop/screen_saver_inhibitor.h"

#include <QCoreApplication>
#include <QDBusInterface>
#include <QDBusReply>

namespace tunvale::platform {

namespace {

const QString kService = QStringLiteral("org.freedesktop.ScreenSaver");
const QString kPath = QStringLiteral("/org/freedesktop/ScreenSaver");
// A missing service must not hold up the start of a play.
constexpr int kCallTimeoutMs = 500;

} // namespace

ScreenSaverInhibitor::ScreenSaverInhibitor()
    : ScreenSaverInhibitor(QDBusConnection::sessionBus())
{
}

ScreenSaverInhibitor::ScreenSaverInhibitor(QDBusConnection bus)
    : bus_(std::move(bus))
{
}

ScreenSaverInhibitor::~ScreenSaverInhibitor() { uninhibit(); }

void ScreenSaverInhibitor::inhibit(const QString& reason)
{
    if (cookie_ || !bus_.isConnected())
        return;
    QDBusInterface saver(kService, kPath, kService, bus_);
    if (!saver.isValid())
        return;
    saver.setTimeout(kCallTimeoutMs);
    const QDBusReply<quint32> reply
        = saver.call(QStringLiteral("Inhibit"), QCoreApplication::applicationName(), reason);
    if (reply.isValid())
        cookie_ = reply.value();
}

void ScreenSaverInhibitor::uninhibit()
{
    if (!cookie_)
        return;
    const quint32 cookie = *cookie_;
    cookie_.reset();
    if (!bus_.isConnected())
        return;
    QDBusInterface saver(kService, kPath, kService, bus_);
    saver.setTimeout(kCallTimeoutMs);
    saver.call(QDBus::NoBlock, QStringLiteral("UnInhibit"), cookie);
}

} // namespace tunvale::platform
