#include "platform/settings/registry.h"

#include "tests/support/test_folders.h"

#include <QSettings>

#include <gtest/gtest.h>

using namespace tunvale::platform;

namespace {

class RegistryTest : public ::testing::Test
{
protected:
    tunvale::testing::ScopedSettingsFolder settingsFolder;
    const QString history = QStringLiteral("Software\\Velmora\\FileHistory");
    const QString top = QStringLiteral("Software\\Velmora");
    tunvale::platform::Registry reg;
};

} // namespace

TEST_F(RegistryTest, MissingValuesGiveTheCallersDefault)
{
    EXPECT_EQ(reg.ReadRegKey(HKEY_CURRENT_USER, history, QStringLiteral("FirstFile"), QStringLiteral("0")),
        QStringLiteral("0"));
    ASSERT_TRUE(reg.WriteRegKey(
        REG_SZ, HKEY_CURRENT_USER, history, QStringLiteral("File1"), QStringLiteral("/a.vls")));
    EXPECT_EQ(reg.ReadRegKey(HKEY_CURRENT_USER, history, QStringLiteral("FirstFile"), QStringLiteral("0")),
        QStringLiteral("0"));
    EXPECT_EQ(reg.ReadRegKey(HKEY_CURRENT_USER, top, QStringLiteral("WinMod"), QStringLiteral("1")),
        QStringLiteral("1"));
    // An empty text is a value of its own, not a missing one.
    ASSERT_TRUE(reg.WriteRegKey(REG_SZ, HKEY_CURRENT_USER, top, QStringLiteral("GroupBar1"), QString()));
    EXPECT_EQ(
        reg.ReadRegKey(HKEY_CURRENT_USER, top, QStringLiteral("GroupBar1"), QStringLiteral("0")), QString());
}

TEST_F(RegistryTest, ValuesReadBackAsText)
{
    const struct {
        int kind;
        const char* written;
        const char* read;
    } cases[] = {
        { REG_SZ, "中文 /home/u/茉莉花.vls", "中文 /home/u/茉莉花.vls" },
        { REG_DWORD, "12", "12" },
        { REG_DWORD, "-5", "-5" },
        { REG_DWORD, "4294967295", "-1" },
        { REG_DWORD, "abc", "0" },
        { REG_BINARY, "200", "200" },
        { REG_BINARY, "300", "255" },
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(reg.WriteRegKey(
            c.kind, HKEY_CURRENT_USER, top, QStringLiteral("V"), QString::fromUtf8(c.written)));
        EXPECT_EQ(reg.ReadRegKey(HKEY_CURRENT_USER, top, QStringLiteral("V"), QStringLiteral("none")),
            QString::fromUtf8(c.read))
            << c.written;
    }
    // Another kind stores nothing and reports no failure; another root is not kept.
    EXPECT_TRUE(reg.WriteRegKey(7, HKEY_CURRENT_USER, top, QStringLiteral("W"), QStringLiteral("x")));
    EXPECT_EQ(reg.ReadRegKey(HKEY_CURRENT_USER, top, QStringLiteral("W"), QStringLiteral("none")),
        QStringLiteral("none"));
    EXPECT_FALSE(reg.WriteRegKey(REG_SZ, 0x80000002, top, QStringLiteral("W"), QStringLiteral("x")));
}

TEST_F(RegistryTest, KeysAreGroupsOfTheProgramsSettings)
{
    ASSERT_TRUE(
        reg.WriteRegKey(REG_SZ, HKEY_CURRENT_USER, history, QStringLiteral("File1"), QStringLiteral("a")));
    ASSERT_TRUE(
        reg.WriteRegKey(REG_SZ, HKEY_CURRENT_USER, history, QStringLiteral("File2"), QStringLiteral("b")));
    ASSERT_TRUE(
        reg.WriteRegKey(REG_SZ, HKEY_CURRENT_USER, top, QStringLiteral("GroupBar1"), QStringLiteral("1")));
    EXPECT_EQ(QSettings().value(QStringLiteral("FileHistory/File1")).toString(), QStringLiteral("a"));
    EXPECT_EQ(QSettings().value(QStringLiteral("GroupBar1")).toString(), QStringLiteral("1"));

    EXPECT_EQ(reg.EnumerateRegKeys(HKEY_CURRENT_USER, top), QStringLiteral("FileHistory"));
    EXPECT_EQ(reg.EnumerateRegKeyValues(HKEY_CURRENT_USER, history), QStringLiteral("File1*a,File2*b"));
    EXPECT_TRUE(reg.EnumerateRegKeys(HKEY_CURRENT_USER, QStringLiteral("Software\\Velmora\\None")).isNull());

    EXPECT_TRUE(reg.DeleteRegKeyValue(HKEY_CURRENT_USER, history, QStringLiteral("File1")));
    EXPECT_FALSE(reg.DeleteRegKeyValue(HKEY_CURRENT_USER, history, QStringLiteral("File1")));
    EXPECT_TRUE(reg.DeleteRegKey(HKEY_CURRENT_USER, top, QStringLiteral("FileHistory")));
    EXPECT_FALSE(reg.DeleteRegKey(HKEY_CURRENT_USER, top, QStringLiteral("FileHistory")));
    EXPECT_EQ(reg.ReadRegKey(HKEY_CURRENT_USER, history, QStringLiteral("File2"), QStringLiteral("0")),
        QStringLiteral("0"));
    EXPECT_EQ(reg.ReadRegKey(HKEY_CURRENT_USER, top, QStringLiteral("GroupBar1"), QStringLiteral("0")),
        QStringLiteral("1"));
}
