#include "tests/compiler/compile_helpers.h"

#include "app/notation/notation_chars.h"
#include "platform/richtext/rich_text_box.h"
#include "tests/support/test_folders.h"

#include <QFile>
#include <QProcess>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace tunvale::testing {
namespace {

using notation::CodeEvent;

// A song with a title, a header line, lyrics and three notation paragraphs, loaded from RTF.
class AdapterScore : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(
            box_.setTextRTF(QString::fromLatin1(readAll(testDataPath(QStringLiteral("compiler/song.rtf"))))));
        // A third notation paragraph, long enough to wrap, typed at the end in the notation font.
        box_.setSelStart(box_.TextLength());
        box_.setSelText(QStringLiteral("\r\n"));
        box_.setSelFontName(notation::NoteFontFamily);
        box_.setSelText(QString(40, QChar(0x4E00)) + QChar(0x6352));
    }

    platform::RichTextBox box_;
};

TEST_F(AdapterScore, EveryEventSitsOnItsCharacter)
{
    const auto compiler = Compile(box_.snapshot());
    ASSERT_EQ(compiler.workingEvents().size(), 61U);
    for (const CodeEvent& e : compiler.workingEvents()) {
        box_.select(e.CharPos, 1);
        EXPECT_EQ(box_.SelText(), QString(QChar(char16_t(e.CharCode)))) << e.CharPos;
    }
}

TEST_F(AdapterScore, WrappingTheNotationChangesNoEvent)
{
    const auto unwrapped = box_.snapshot();
    box_.document()->setTextWidth(120);
    const auto wrapped = box_.snapshot();
    ASSERT_GT(wrapped.lines.size(), unwrapped.lines.size() + 1);

    const auto a = Compile(unwrapped).workingEvents();
    const auto b = Compile(wrapped).workingEvents();
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(
            std::tie(a[i].CharPos, a[i].CharCode, a[i].BarNo, a[i].EventCode, a[i].EventTime, a[i].Velocity),
            std::tie(b[i].CharPos, b[i].CharCode, b[i].BarNo, b[i].EventCode, b[i].EventTime, b[i].Velocity))
            << i;
    }
}

TEST_F(AdapterScore, RepeatedSegmentKeepsItsPositions)
{
    const auto compiler = Compile(box_.snapshot(), Order({ 0, 1, 0 }));
    const auto& events = compiler.workingEvents();
    const int first = compiler.ScoreSegments()[0].EventCount;
    const size_t repeat = events.size() - size_t(first);
    for (int i = 0; i < first; ++i)
        EXPECT_EQ(events[repeat + size_t(i)].CharPos, events[size_t(i)].CharPos);
}

// The test tool prints the working stage of score and RTF files exactly as written down by hand.
TEST(ScoretoolCompile, PrintsTheWorkingStage)
{
    const struct {
        QStringList args;
        const char* expected;
    } cases[] = {
        { { QStringLiteral("song.rtf"), QStringLiteral("--stage"), QStringLiteral("working") },
            "song.rtf.working" },
        { { QStringLiteral("song.vls"), QStringLiteral("--stage"), QStringLiteral("working") },
            "song.vls.working" },
        { { QStringLiteral("song.rtf"), QStringLiteral("--order"), QStringLiteral("2"),
              QStringLiteral("--key"), QStringLiteral("33"), QStringLiteral("--width"), QStringLiteral("150"),
              QStringLiteral("--stage"), QStringLiteral("working") },
            "song.rtf.order2-key33" },
    };
    for (const auto& c : cases) {
        QStringList args = c.args;
        args[0] = testDataPath(QStringLiteral("compiler/") + args[0]);
        QProcess tool;
        tool.start(QStringLiteral(TUNVALE_BUILD_DIR "/bin/scoretool"),
            QStringList { QStringLiteral("compile") } + args);
        ASSERT_TRUE(tool.waitForFinished(30000));
        EXPECT_EQ(tool.exitCode(), 0);
        const QByteArray expected
            = readAll(testDataPath(QStringLiteral("compiler/") + QLatin1String(c.expected)));
        EXPECT_EQ(tool.readAllStandardOutput().toStdString(), expected.toStdString()) << c.expected;
    }
}

} // namespace
} // namespace tunvale::testing
