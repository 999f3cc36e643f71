#include "app/frame/read_vls.h"
#include "app/frame/vls_body.h"
#include "app/frame/vls_header.h"
#include "app/frame/write_vls.h"
#include "app/notation/drum_data.h"
#include "app/notation/play_order.h"
#include "app/notation/save_messages.h"
#include "platform/settings/whole_file.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/test_folders.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tunvale;
using notation::ColorScheme;
using notation::DrumRecord;
using notation::DrumStore;
using notation::PlayOrder;
using notation::PlayOrderEntries;
using notation::ScoreHeader;
using tunvale::testing::readAll;
using tunvale::testing::writeAll;

namespace {

const QByteArray kRtf = QByteArrayLiteral(
    "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil KORVA_Note;}}\\f0 \\'d2\\'bb^\\'d2\\'bb\\par }");

class FixedScore final : public notation::PlayOrderScore
{
public:
    QString file;
    QString currentFile() const override { return file; }
    QString notationText() const override { return QStringLiteral("一^一"); } // key 0d0
};

DrumRecord drumWith(std::uint8_t fill)
{
    DrumRecord r;
    r.DrumSpeed = fill;
    r.HaveDrum = 1;
    r.DrumRhythms.fill(fill);
    // A pattern whose bytes spell "/Vls" must not confuse the reader.
    r.DrumName = { '/', 'V', 'l', 's' };
    return r;
}

struct Fixture {
    QTemporaryDir dir;
    FixedScore score;
    PlayOrder order;
    ScoreHeader header;
    ColorScheme colors { 0x123456, 0x8000, 67454, 0x7F7F7F, std::int32_t(0x80000005) };
    DrumStore drums { drumWith(0x0F), drumWith(0xF0), drumWith(0xFF) };

    Fixture()
    {
        score.file = dir.filePath(QStringLiteral("song.vls"));
        order.setScore(&score);
        order.Entries = { 0, 1, 0 };
        header.CurrentFile = score.file;
        header.Speed = 88;
        header.PZType = 3;
        header.HeYing = -1;
        header.LeftSpace = 700;
    }
};

} // namespace

TEST(WriteVls, ReadsBackEverythingItWrote)
{
    tunvale::testing::ScopedPrompts prompts;
    Fixture f;
    ASSERT_TRUE(frame::WriteVls(f.header, f.colors, kRtf, f.drums, f.order));
    EXPECT_TRUE(prompts->shown.empty());

    const QByteArray file = readAll(f.score.file);
    const auto document = frame::ReadVls(f.score.file, ScoreHeader {}, ColorScheme {});
    ASSERT_EQ(document.status, frame::VlsReadStatus::Ok);
    ScoreHeader expected = f.header;
    expected.FileVer = 5;
    EXPECT_EQ(document.header, expected);
    EXPECT_EQ(document.colors, f.colors);
    EXPECT_EQ(document.body, kRtf);
    EXPECT_EQ(document.bodyStart.rule, frame::VlsMarkers::Rule::Signature);
    EXPECT_EQ(file.mid(document.bodyStart.offset), frame::VlsBody::scrambled(kRtf));
    EXPECT_EQ(file.mid(38, 5), "/Drum");

    DrumStore drums;
    EXPECT_TRUE(notation::ReadDrumData(drums, file));
    EXPECT_EQ(drums, f.drums);
    EXPECT_EQ(notation::StoredPlayOrderKey(file), QByteArray("0d0"));
    PlayOrder loaded;
    loaded.setScore(&f.score);
    EXPECT_TRUE(loaded.ReadPlayOrderFromFile(f.score.file));
    EXPECT_EQ(loaded.Entries, (PlayOrderEntries { 0, 1, 0 }));
}

TEST(WriteVls, AnOldHeaderKeepsWhatItsFieldsCanHold)
{
    tunvale::testing::ScopedPrompts prompts;
    Fixture f;
    // Version 2 kept the DPI in two bytes: 24590 (0x600E), which the one byte of version 5 cannot hold.
    QByteArray old(frame::VlsHeader::kSize, '\0');
    old[1] = char(0x60);
    old[2] = char(0x0E);
    old[13] = char(2);
    ScoreHeader header = f.header;
    ColorScheme colors;
    frame::VlsHeader::decode(old, 2, header, colors, {});
    ASSERT_EQ(header.ScreenDpi, 24590);
    header.RapDrum = -5;
    header.PZType = 300;

    ASSERT_TRUE(frame::WriteVls(header, f.colors, kRtf, f.drums, f.order));
    EXPECT_TRUE(prompts->shown.empty());
    const auto document = frame::ReadVls(f.score.file, ScoreHeader {}, ColorScheme {});
    EXPECT_EQ(document.header.ScreenDpi, 255);
    EXPECT_EQ(document.header.RapDrum, 0);
    EXPECT_EQ(document.header.PZType, 255);
    EXPECT_EQ(document.header.Speed, header.Speed);
}

TEST(WriteVls, SavingAgainReplacesOnlyWhatChanged)
{
    tunvale::testing::ScopedPrompts prompts;
    Fixture f;
    // A longer old file leaves nothing behind.
    ASSERT_TRUE(writeAll(f.score.file, QByteArray(5000, 'x')));
    ASSERT_TRUE(frame::WriteVls(f.header, f.colors, kRtf, f.drums, f.order));
    const QByteArray first = readAll(f.score.file);

    f.order.Entries = { 1, 0, 1, 0 };
    ASSERT_TRUE(frame::WriteVls(f.header, f.colors, kRtf, f.drums, f.order));
    const QByteArray second = readAll(f.score.file);
    EXPECT_EQ(second.size(), first.size() + 1);
    EXPECT_EQ(second.count("/POrderStr"), 1);
    EXPECT_EQ(second.count("/PlayOrder"), 1);
    EXPECT_EQ(notation::StoredPlayOrder(second), (PlayOrderEntries { 1, 0, 1, 0 }));
    const qsizetype orderAt = first.indexOf("/PlayOrder");
    EXPECT_EQ(second.left(orderAt), first.left(orderAt));
    EXPECT_EQ(
        second.right(first.size() - first.indexOf("/EPlayOrder")), first.mid(first.indexOf("/EPlayOrder")));
    EXPECT_EQ(QDir(f.dir.path()).entryList(QDir::Files), QStringList { "song.vls" });
}

TEST(WriteVls, FailedSaveKeepsTheOldFile)
{
    tunvale::testing::ScopedPrompts prompts;
    Fixture f;
    const QByteArray old = "old score";
    ASSERT_TRUE(writeAll(f.score.file, old));
    ASSERT_TRUE(QDir(f.dir.path()).mkdir(QStringLiteral("folder.vls")));

    // The message keeps its first line and says which file and why.
    const std::pair<QString, QString> cases[] = { { f.dir.filePath("missing/song.vls"), "文件夹不存在。" },
        { f.score.file + "/song.vls", "路径中的一部分是文件，不是文件夹。" },
        { f.dir.filePath("folder.vls"), "已经有一个同名的文件夹。" } };
    for (const auto& [target, reason] : cases) {
        prompts->shown.clear();
        f.header.CurrentFile = target;
        EXPECT_FALSE(frame::WriteVls(f.header, f.colors, kRtf, f.drums, f.order));
        EXPECT_EQ(prompts->texts(),
            QStringList { notation::kWriteFailedMessage + u'\n' + target + u'\n' + reason });
        EXPECT_EQ(prompts->shown.front().icon, platform::PromptIcon::Information);
    }
    EXPECT_EQ(readAll(f.score.file), old);
    EXPECT_EQ(QDir(f.dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
        (QStringList { "folder.vls", "song.vls" }));
    EXPECT_TRUE(QDir(f.dir.filePath("folder.vls")).isEmpty());
}

// The writer's limit is the reader's: a file at the limit is written and opens, one byte more is
// refused before anything is written.
TEST(WriteVls, AFileTheReaderWouldRefuseIsNeverWritten)
{
    tunvale::testing::ScopedPrompts prompts;
    Fixture f;
    const qsizetype sections = frame::BuildVlsFile(f.header, f.colors, {}, f.drums, f.order)->size();
    QByteArray rtf = kRtf;
    rtf.insert(rtf.size() - 1, QByteArray(notation::kMaxScoreFileBytes - sections - kRtf.size(), 'x'));
    ASSERT_TRUE(frame::WriteVls(f.header, f.colors, rtf, f.drums, f.order));
    const QByteArray atTheLimit = readAll(f.score.file);
    EXPECT_EQ(atTheLimit.size(), notation::kMaxScoreFileBytes);
    const auto document = frame::ReadVls(f.score.file, ScoreHeader {}, ColorScheme {});
    ASSERT_EQ(document.status, frame::VlsReadStatus::Ok);
    EXPECT_EQ(document.body, rtf);
    EXPECT_TRUE(prompts->shown.empty());

    rtf.insert(rtf.size() - 1, 'x');
    EXPECT_FALSE(frame::WriteVls(f.header, f.colors, rtf, f.drums, f.order));
    EXPECT_EQ(prompts->texts(), QStringList { notation::kWriteTooLargeMessage });
    EXPECT_EQ(readAll(f.score.file), atTheLimit);
    EXPECT_EQ(QDir(f.dir.path()).entryList(QDir::Files), QStringList { "song.vls" });
}
