#include "platform/settings/ini_file.h"

#include "platform/text/gbk.h"
#include "tests/support/test_folders.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace tunvale;
using platform::ReadIniValue;
using platform::WriteIniValue;
using tunvale::testing::readAll;
using tunvale::testing::writeAll;

namespace {

class IniFile : public ::testing::Test
{
protected:
    QString path(const QString& name = QStringLiteral("t.ini")) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

} // namespace

TEST_F(IniFile, ReadsValuesAsWritten)
{
    const QString longValue = QString(300, u'7');
    QByteArray content = "; a comment line\r\n"
                         "[A]\r\n"
                         "empty=\r\n"
                         "plain=abc\r\n"
                         "  spaced =  x y  \r\n"
                         "quoted=\"  q  \"\r\n"
                         "with=equals=inside\r\n"
                         "/home/u/a=b.vls=1234\r\n"
                         "nul=ab";
    content += '\0';
    content += "cd\r\n";
    content += QStringLiteral("唱名=茉莉花\r\n").toUtf8();
    content += "long=" + longValue.toUtf8() + "\r\n";
    content += "[B]\r\nplain=other\r\n[ C ]\r\nkey=c";
    ASSERT_TRUE(writeAll(path(), content));

    const struct {
        const char* section;
        const char* key;
        const char* value;
    } cases[] = {
        { "A", "plain", "abc" },
        { "A", "empty", "" },
        { "A", "spaced", "x y" },
        { "A", "quoted", "  q  " },
        { "A", "with", "equals=inside" },
        { "A", "/home/u/a=b.vls", "1234" },
        { "A", "nul", "ab" },
        { "A", "唱名", "茉莉花" },
        { "B", "plain", "other" },
        { "C", "key", "c" },
        { "A", "missing", "" },
        { "Missing", "plain", "" },
        { "A", "plai", "" },
        { "A", "", "" },
        { "B", "empty", "" },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadIniValue(QString::fromUtf8(c.section), QString::fromUtf8(c.key), path()),
            QString::fromUtf8(c.value))
            << c.section << " / " << c.key;
    }
    // A long play order comes back whole, not cut at a buffer size.
    EXPECT_EQ(ReadIniValue(QStringLiteral("A"), QStringLiteral("long"), path()), longValue);
    EXPECT_EQ(ReadIniValue(QStringLiteral("A"), QStringLiteral("plain"), path(QStringLiteral("none.ini"))),
        QString());
}

TEST_F(IniFile, ReadsOlderFilesInCodePage936)
{
    ASSERT_TRUE(writeAll(path(), platform::GbkEncode(QStringLiteral("[唱名]\r\n0cm=哆\r\n"))));
    EXPECT_EQ(ReadIniValue(QStringLiteral("唱名"), QStringLiteral("0cm"), path()), QStringLiteral("哆"));

    // Writing to it keeps the old values and stores the file as UTF-8 from then on.
    ASSERT_TRUE(WriteIniValue(QStringLiteral("唱名"), QStringLiteral("1cm"), QStringLiteral("来"), path()));
    EXPECT_TRUE(platform::IsValidUtf8(readAll(path())));
    EXPECT_EQ(ReadIniValue(QStringLiteral("唱名"), QStringLiteral("0cm"), path()), QStringLiteral("哆"));
    EXPECT_EQ(ReadIniValue(QStringLiteral("唱名"), QStringLiteral("1cm"), path()), QStringLiteral("来"));
}

TEST_F(IniFile, WritesKeepTheRestOfTheFile)
{
    ASSERT_TRUE(writeAll(path(), "; kept\r\n[A]\r\none=1\r\ntwo=2\r\n\r\n[B]\r\nx=y\r\n"));
    ASSERT_TRUE(WriteIniValue(QStringLiteral("A"), QStringLiteral("two"), QStringLiteral("22"), path()));
    ASSERT_TRUE(WriteIniValue(QStringLiteral("A"), QStringLiteral("three"), QStringLiteral("3"), path()));
    ASSERT_TRUE(WriteIniValue(QStringLiteral("A"), QStringLiteral("one"), std::nullopt, path()));
    ASSERT_TRUE(WriteIniValue(QStringLiteral("C"), QStringLiteral("new"), QStringLiteral("n"), path()));
    ASSERT_TRUE(WriteIniValue(QStringLiteral("B"), QStringLiteral("gone"), std::nullopt, path()));
    EXPECT_EQ(readAll(path()),
        QByteArray("; kept\r\n[A]\r\ntwo=22\r\nthree=3\r\n\r\n[B]\r\nx=y\r\n\r\n[C]\r\nnew=n\r\n"));
}

TEST_F(IniFile, WritesANewFileAndKeepsLineStructureSafe)
{
    ASSERT_TRUE(
        WriteIniValue(QStringLiteral("FileN"), QStringLiteral("/tmp/a.vls"), QStringLiteral("7"), path()));
    // A line break inside a value would start a new line of the file.
    ASSERT_TRUE(
        WriteIniValue(QStringLiteral("FileN"), QStringLiteral("b"), QStringLiteral("1\n[X]\nc=2"), path()));
    ASSERT_TRUE(WriteIniValue(
        QStringLiteral("FileN"), QStringLiteral("n"), QStringLiteral("a") + QChar(0) + u'b', path()));
    EXPECT_EQ(readAll(path()), QByteArray("[FileN]\n/tmp/a.vls=7\nb=1\nn=a\n"));
    EXPECT_EQ(ReadIniValue(QStringLiteral("X"), QStringLiteral("c"), path()), QString());
    EXPECT_FALSE(WriteIniValue(QStringLiteral("A"), QStringLiteral(""), QStringLiteral("v"), path()));
    EXPECT_FALSE(WriteIniValue(QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("v"),
        dir.filePath(QStringLiteral("no/such/folder/t.ini"))));
}

TEST_F(IniFile, SeveralKeysLandInOneWrite)
{
    const QByteArray before = "[A]\r\none=1\r\n\r\n[B]\r\nx=y\r\n";
    ASSERT_TRUE(writeAll(path(), before));
    // A key without a name refuses the whole write, so its neighbours do not land alone.
    EXPECT_FALSE(platform::WriteIniValues("A", { { "one", "9" }, { "", "v" } }, path()));
    EXPECT_EQ(readAll(path()), before);

    ASSERT_TRUE(platform::WriteIniValues("A", { { "one", "11" }, { "two", "2" }, { "three", "3" } }, path()));
    ASSERT_TRUE(platform::WriteIniValues("C", { { "p", "1" }, { "q", "2" } }, path()));
    EXPECT_EQ(readAll(path()),
        QByteArray("[A]\r\none=11\r\ntwo=2\r\nthree=3\r\n\r\n[B]\r\nx=y\r\n\r\n[C]\r\np=1\r\nq=2\r\n"));
}

TEST_F(IniFile, ConcurrentWritersLoseNoKey)
{
    const QString tool = QStringLiteral(TUNVALE_BUILD_DIR "/bin/scoretool");
    ASSERT_TRUE(QFile::exists(tool));
    constexpr int kProcesses = 12;
    constexpr int kRounds = 3;
    for (int round = 0; round < kRounds; ++round) {
        std::vector<std::unique_ptr<QProcess>> writers;
        for (int p = 0; p < kProcesses; ++p) {
            auto process = std::make_unique<QProcess>();
            const QString key = QStringLiteral("k%1_%2").arg(round).arg(p);
            process->start(
                tool, { QStringLiteral("ini-write"), path(), QStringLiteral("S"), key, key + u'v' });
            writers.push_back(std::move(process));
        }
        for (auto& process : writers) {
            ASSERT_TRUE(process->waitForFinished(30000));
            EXPECT_EQ(process->exitCode(), 0) << process->readAllStandardError().toStdString();
        }
    }
    for (int round = 0; round < kRounds; ++round) {
        for (int p = 0; p < kProcesses; ++p) {
            const QString key = QStringLiteral("k%1_%2").arg(round).arg(p);
            EXPECT_EQ(ReadIniValue(QStringLiteral("S"), key, path()), key + u'v');
        }
    }
    EXPECT_FALSE(QFile::exists(path() + QStringLiteral(".lock")));
}

TEST_F(IniFile, RemovesAKeyOnlyWhileItHoldsTheExpectedValue)
{
    writeAll(path(), "[FileN]\n/a.vls=100\n/b.vls=200\n[Other]\n/a.vls=100\n");
    EXPECT_FALSE(platform::RemoveIniValueIf("FileN", "/a.vls", "101", path()));
    EXPECT_FALSE(platform::RemoveIniValueIf("FileN", "/c.vls", "100", path()));
    EXPECT_FALSE(platform::RemoveIniValueIf("None", "/a.vls", "100", path()));
    EXPECT_EQ(readAll(path()), QByteArray("[FileN]\n/a.vls=100\n/b.vls=200\n[Other]\n/a.vls=100\n"));
    EXPECT_TRUE(platform::RemoveIniValueIf("FileN", "/a.vls", "100", path()));
    EXPECT_EQ(readAll(path()), QByteArray("[FileN]\n/b.vls=200\n[Other]\n/a.vls=100\n"));
    EXPECT_FALSE(platform::RemoveIniValueIf("FileN", "/a.vls", "100", dir.filePath("missing.ini")));
    EXPECT_FALSE(QFile::exists(dir.filePath("missing.ini")));
}
