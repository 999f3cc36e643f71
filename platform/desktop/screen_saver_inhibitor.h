#pragma once

#include <QDBusConnection>
#include <QString>

#include <optional>

namespace tunvale::platform {

// Keeps the desktop's screen saver off while music plays, through the org.freedesktop.ScreenSaver
// service of the session bus. Without a session bus or the service nothing happens.
class ScreenSaverInhibitor
{
public:
    ScreenSaverInhibitor();
    explicit ScreenSaverInhibitor(QDBusConnection bus);
    ~ScreenSaverInhibitor();
    ScreenSaverInhibitor(const ScreenSaverInhibitor&) = delete;
    ScreenSaverInhibitor& operator=(const ScreenSaverInhibitor&) = delete;

    // Once until uninhibit(); further calls change nothing.
    void inhibit(const QString& reason);
    void uninhibit();
    bool inhibited() const { return cookie_.has_value(); }

private:
    QDBusConnection bus_;
    std::optional<quint32> cookie_;
};

} // namespace tunvale::platform
