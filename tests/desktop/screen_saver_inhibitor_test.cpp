#include "platform/desktop/screen_saver_inhibitor.h"

#include "tests/support/fake_screen_saver.h"

#include <gtest/gtest.h>

using tunvale::platform::ScreenSaverInhibitor;
using tunvale::testing::FakeScreenSaver;
using tunvale::testing::PrivateSessionBus;

namespace {

TEST(ScreenSaverInhibitor, InhibitsOnceAndReleasesItsCookie)
{
    PrivateSessionBus session;
    ASSERT_TRUE(session.bus().isConnected()) << "dbus-daemon is part of the test packages";
    ScreenSaverInhibitor withoutService(session.bus());
    withoutService.inhibit(QStringLiteral("play"));
    EXPECT_FALSE(withoutService.inhibited());

    FakeScreenSaver saver;
    ASSERT_TRUE(session.serve(saver));
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
    PrivateSessionBus::waitForRelease(saver);
    EXPECT_EQ(saver.released, QList<quint32> { 41 });
}

} // namespace
