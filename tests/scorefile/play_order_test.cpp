#include "app/notation/play_order.h"
#include "app/notation/play_order_key.h"
#include "app/notation/save_messages.h"
#include "app/notation/score_sections.h"
#include "platform/settings/whole_file.h"
#include "tests/scorefile/scoped_data_folder.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/test_folders.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

using namespace std::string_view_literals;

using namespace tunvale::notation;
using tunvale::testing::readAll;
using tunvale::testing::writeAll;

namespace {

const QString kNote = QStringLiteral("一"); // a note of the notation font
const QString kBar = QString(QChar(0x6352)); // plain bar line, no segment mark
const QString kRepeatEnd = QString(QChar(0x6357)); // segment mark, code 1
const QString kEndMark = QString(QChar(0x638F)); // segment mark, code 57
const QString kSpacer = QString(QChar(0x6351));

class FakeScore final : public PlayOrderScore
{
public:
    QString file;
    QString notation;
    QString currentFile() const override { return file; }
    QString notationText() const override { return notation; }
};

// Bytes of a literal, NULs included.
QByteArray B(std::string_view s) { return QByteArray(s.data(), qsizetype(s.size())); }

// The sections of a freshly written score around a stand-in body.
const QByteArray kFresh = "/Drum/EDrum/POrderStr/EPOrderStr/PlayOrder/EPlayOrder/Chord/EChord/Vls{body}";

} // namespace

TEST(PlayOrderKey, OneDigitPerSegmentMark)
{
    const struct {
        QString text;
        QString key;
    } cases[] = {
        { "", "" },
        { kNote + kBar + kNote, "00" },
        { kNote + "^" + kNote + kBar, "0d0" },
        { kNote + kRepeatEnd + kNote + kEndMark, "01V" },
        { "`" + kNote + "a", "fg" },
        { "(" + kSpacer + "_" + kNote, "e0" },
        { kNote + "\r\n" + "^\r\n", "0d" },
        { "^", "d" },
        { kSpacer + "(", "" },
        { "$%" + QString(QChar(0x635C)) + QChar(0x635D) + QChar(0x635E) + QChar(0x6362), "00" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlayOrderKey(c.text), c.key) << c.text.toStdString();
}

TEST(PlayOrderKey, NotationLines)
{
    const struct {
        QString text;
        QString font;
        bool notation;
    } cases[] = {
        { kNote, "KORVA_Note", true },
        { kNote, "KORVA_Note_Symbol", true },
        { kNote, "KORVA_Note_yy", true },
        { kNote, "KORVA_Note_yy1", true },
        { kNote, "KORVA_Note_yy2", true },
        { kNote, "KORVA_Note_yy3", true },
        { kNote, "宋体", false },
        { kNote, "korva_note", false },
        { kNote, "", false },
        { kNote + QChar(0x634F), "KORVA_Note", false },
        { QString(QChar(0x6350)), "KORVA_Note", false },
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsNotationLine(c.text, c.font), c.notation) << c.font.toStdString();

    struct Line {
        QString text, startFont;
    };
    const std::vector<Line> lines
        = { { "Title\r\n", "宋体" }, { "1=C\r\n" + QString(QChar(0x634F)), "KORVA_Note" },
              { kNote + "^\r\n", "KORVA_Note" }, { "words\r\n", "宋体" }, { kNote, "KORVA_Note" } };
    EXPECT_EQ(NotationText(lines), kNote + "^\r\n" + kNote);
}

TEST(PlayOrderSections, WritesKeyAndOrderInPlace)
{
    FakeScore score;
    score.notation = kNote + "^" + kNote + kBar;
    PlayOrder order;
    order.setScore(&score);
    order.Entries = { 0, 1, 0 };

    QByteArray file = kFresh;
    ASSERT_TRUE(order.SavePlayOrderKey(file));
    ASSERT_TRUE(order.SavePlayOrder(file));
    EXPECT_EQ(file,
        B("/Drum/EDrum/POrderStr\x30\x64\x30/EPOrderStr/PlayOrder\x00\x01\x00/EPlayOrder"
          "/Chord/EChord/Vls{body}"sv));

    // A second save replaces, never adds.
    order.Entries = { 1, 0, 300, -1 };
    ASSERT_TRUE(order.SavePlayOrderKey(file));
    ASSERT_TRUE(order.SavePlayOrder(file));
    EXPECT_EQ(file,
        B("/Drum/EDrum/POrderStr0d0/EPOrderStr/PlayOrder\x01\x00\x2c\xff/EPlayOrder"
          "/Chord/EChord/Vls{body}"sv));
    EXPECT_EQ(StoredPlayOrderKey(file), QByteArray("0d0"));
    EXPECT_EQ(StoredPlayOrder(file), (PlayOrderEntries { 1, 0, 44, 255 }));
}

TEST(PlayOrderSections, MarkerRules)
{
    const struct {
        const char* what;
        QByteArray file;
        bool written;
        QByteArray after;
    } cases[] = {
        { "section missing: put before /Chord", "/Drum/EDrum/Chord/EChord/Vls", true,
            "/Drum/EDrum/POrderStrKEY/EPOrderStr/Chord/EChord/Vls" },
        { "end marker missing", "/POrderStrold/Chord", false, "/POrderStrold/Chord" },
        { "end marker before begin", "/EPOrderStr/POrderStrold/Chord", false,
            "/EPOrderStr/POrderStrold/Chord" },
        { "neither section nor /Chord", "/Drum/EDrum/Vls", false, "/Drum/EDrum/Vls" },
        { "first occurrences count", "/POrderStrA/EPOrderStr/POrderStrB/EPOrderStr", true,
            "/POrderStrKEY/EPOrderStr/POrderStrB/EPOrderStr" },
    };
    for (const auto& c : cases) {
        QByteArray file = c.file;
        EXPECT_EQ(ReplaceSection(file, "/POrderStr", "/EPOrderStr", "KEY"), c.written) << c.what;
        EXPECT_EQ(file, c.after) << c.what;
    }
}

TEST(PlayOrderLoading, StoredOrderOnlyForItsKey)
{
    FakeScore score;
    score.notation = kNote + "^" + kNote; // key 0d0
    const struct {
        const char* what;
        QByteArray file;
        bool accepted;
        PlayOrderEntries order;
    } cases[] = {
        { "matching key", B("/POrderStr0d0/EPOrderStr/PlayOrder\x00\x01\x00\x01/EPlayOrder"sv), true,
            { 0, 1, 0, 1 } },
        { "one entry", B("/POrderStr0d0/EPOrderStr/PlayOrder\x01/EPlayOrder"sv), true, { 1 } },
        { "no entry", B("/POrderStr0d0/EPOrderStr/PlayOrder/EPlayOrder"sv), false, {} },
        { "other key", B("/POrderStr0d00/EPOrderStr/PlayOrder\x00\x01/EPlayOrder"sv), false, {} },
        { "key of one digit", B("/POrderStrd/EPOrderStr/PlayOrder\x00\x01/EPlayOrder"sv), false, {} },
        { "no key section", B("/PlayOrder\x00\x01/EPlayOrder"sv), false, {} },
        { "order end missing", B("/POrderStr0d0/EPOrderStr/PlayOrder\x00\x01"sv), false, {} },
    };
    for (const auto& c : cases) {
        PlayOrder order;
        order.setScore(&score);
        order.Entries = { 7 };
        EXPECT_EQ(order.ReadPlayOrderFromFile(c.file), c.accepted) << c.what;
        EXPECT_EQ(order.Entries, c.accepted ? c.order : PlayOrderEntries { 7 }) << c.what;
    }
}

TEST(PlayOrderLoading, DefaultOrderAndIniValues)
{
    const struct {
        QString notation;
        PlayOrderEntries order;
    } defaults[] = {
        { kNote + "^" + kNote + kBar, { 0, 1 } },
        { kNote, { 0 } },
        { "^", {} },
        { "", {} },
    };
    for (const auto& c : defaults) {
        FakeScore score;
        score.notation = c.notation;
        PlayOrder order;
        order.setScore(&score);
        EXPECT_TRUE(order.DefaultPlayOrder());
        EXPECT_EQ(order.Entries, c.order) << c.notation.toStdString();
    }

    EXPECT_EQ(ParsePlayOrderText("1,2,1"), (PlayOrderEntries { 0, 1, 0 }));
    EXPECT_EQ(ParsePlayOrderText(" 3 ,2x,2.5"), (PlayOrderEntries { 2, 1, 2 }));
    EXPECT_EQ(ParsePlayOrderText("1,99999,-32767,-32768,2"), (PlayOrderEntries { 0, -32768, 1 }));
}

TEST(PlayOrderFiles, LoadsFromTheScoreFile)
{
    QTemporaryDir dir;
    FakeScore score;
    score.file = dir.filePath(QStringLiteral("a.vls"));
    score.notation = kNote + "^" + kNote;
    PlayOrder order;
    order.setScore(&score);

    ASSERT_TRUE(writeAll(score.file, B("/POrderStr0d0/EPOrderStr/PlayOrder\x01\x00\x01/EPlayOrder"sv)));
    EXPECT_TRUE(order.LoadPlayOrder());
    EXPECT_EQ(order.Entries, (PlayOrderEntries { 1, 0, 1 }));

    QFile::remove(score.file);
    EXPECT_TRUE(order.LoadPlayOrder());
    EXPECT_EQ(order.Entries, (PlayOrderEntries { 0, 1 }));
    EXPECT_FALSE(QFile::exists(score.file));
}

TEST(PlayOrderFiles, WritersReplaceTheFileWholeOrNotAtAll)
{
    ScopedDataFolder data;
    tunvale::testing::ScopedUserFolder user;
    tunvale::testing::ScopedPrompts prompts;
    QTemporaryDir dir;
    FakeScore score;
    score.notation = kNote + "^" + kNote;
    PlayOrder order;
    order.setScore(&score);
    order.Entries = { 0, 1, 0 };

    const QString path = dir.filePath(QStringLiteral("a.vls"));
    ASSERT_TRUE(writeAll(path, kFresh));
    EXPECT_TRUE(order.SavePlayOrderKey(path));
    EXPECT_TRUE(order.SavePlayOrder(path));
    EXPECT_EQ(StoredPlayOrder(readAll(path)), (PlayOrderEntries { 0, 1, 0 }));
    EXPECT_TRUE(prompts->shown.empty());

    // The template of untitled scores is refused quietly, in either folder.
    for (const QString& templ : { data.file("NullVls.Dat"), user.file("NullVls.Dat") }) {
        ASSERT_TRUE(writeAll(templ, kFresh));
        EXPECT_FALSE(order.SavePlayOrderKey(templ));
        EXPECT_FALSE(order.SavePlayOrder(templ));
        EXPECT_EQ(readAll(templ), kFresh);
    }
    EXPECT_TRUE(prompts->shown.empty());

    // Failures: a missing file, a folder, an incomplete marker pair.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.vls")));
    const QString broken = dir.filePath(QStringLiteral("broken.vls"));
    const QByteArray brokenBytes = "/POrderStr0d0/Chord/EChord/Vls";
    ASSERT_TRUE(writeAll(broken, brokenBytes));
    for (const QString& target : { dir.filePath("missing.vls"), dir.filePath("folder.vls"), broken }) {
        prompts->shown.clear();
        EXPECT_FALSE(order.SavePlayOrderKey(target));
        ASSERT_EQ(prompts->texts(), QStringList { kWriteFailedMessage });
        EXPECT_EQ(prompts->shown.front().icon, tunvale::platform::PromptIcon::Information);
    }
    EXPECT_EQ(readAll(broken), brokenBytes);
    EXPECT_FALSE(QFile::exists(dir.filePath("missing.vls")));

    // A file the key would push beyond what the reader opens is left as it was.
    const QString full = dir.filePath(QStringLiteral("full.vls"));
    const QByteArray fullBytes = kFresh.leftJustified(kMaxScoreFileBytes, ' ');
    ASSERT_TRUE(writeAll(full, fullBytes));
    prompts->shown.clear();
    EXPECT_FALSE(order.SavePlayOrderKey(full));
    EXPECT_EQ(prompts->texts(), QStringList { kWriteTooLargeMessage });
    EXPECT_EQ(readAll(full), fullBytes);
    ASSERT_TRUE(QFile::remove(full));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
        (QStringList { "a.vls", "broken.vls", "folder.vls" }));
}

TEST(PlayOrderFiles, IniOrdersUserFirst)
{
    ScopedDataFolder data;
    tunvale::testing::ScopedUserFolder user;
    FakeScore score;
    score.notation = kNote + "^" + kNote; // key 0d0
    PlayOrder order;
    order.setScore(&score);

    EXPECT_FALSE(order.ReadPlayOrderFromIni());
    ASSERT_TRUE(writeAll(data.file("Note.ini"), "[演唱顺序]\n0d0=1,2,1\n00=1\n"));
    EXPECT_TRUE(order.ReadPlayOrderFromIni());
    EXPECT_EQ(order.Entries, (PlayOrderEntries { 0, 1, 0 }));

    ASSERT_TRUE(writeAll(user.file("MyNote.ini"), "[演唱顺序]\n0d0=2,1\n"));
    EXPECT_TRUE(order.LoadPlayOrder());
    EXPECT_EQ(order.Entries, (PlayOrderEntries { 1, 0 }));

    // Another arrangement of marks has no ini entry: the default order.
    score.notation = kNote + "^" + kNote + "^";
    EXPECT_TRUE(order.LoadPlayOrder());
    EXPECT_EQ(order.Entries, (PlayOrderEntries { 0, 1 }));
}

TEST(PlayOrderLoading, AnOrderPlayingMoreThanTheStoresHoldIsRefusedForTheDefault)
{
    ScopedDataFolder data;
    tunvale::testing::ScopedUserFolder user;
    tunvale::testing::ScopedPrompts prompts;
    QTemporaryDir dir;
    FakeScore score;
    score.file = dir.filePath(QStringLiteral("long.vls"));
    // Two segments of 64 events each: 63 notes and the mark, then 64 notes.
    score.notation = kNote.repeated(63) + "^" + kNote.repeated(64);
    PlayOrder order;
    order.setScore(&score);
    const auto storeOrder = [&](qsizetype entries) {
        QByteArray bytes(entries, '\0');
        for (qsizetype i = 1; i < entries; i += 2)
            bytes[i] = '\1';
        return writeAll(score.file, "/POrderStr0d0/EPOrderStr/PlayOrder" + bytes + "/EPlayOrder");
    };

    const qsizetype fitting = MaxPlayedEvents / 64;
    ASSERT_TRUE(storeOrder(fitting));
    EXPECT_TRUE(order.LoadPlayOrder());
    EXPECT_EQ(order.Entries.size(), size_t(fitting));
    EXPECT_TRUE(prompts->shown.empty());

    // One entry more, and the 100,000 entries of a hostile score: the default order, said once.
    for (const qsizetype entries : { fitting + 1, qsizetype(100'000) }) {
        prompts->shown.clear();
        ASSERT_TRUE(storeOrder(entries));
        EXPECT_TRUE(order.LoadPlayOrder());
        EXPECT_EQ(order.Entries, (PlayOrderEntries { 0, 1 })) << entries;
        EXPECT_EQ(prompts->texts(), QStringList { kPlayOrderTooLongMessage }) << entries;
    }

    // The ini files are held to the same bound; a quiet load tells nobody.
    QFile::remove(score.file);
    ASSERT_TRUE(
        writeAll(user.file("MyNote.ini"), "[演唱顺序]\n0d0=" + QByteArray("1,").repeated(70'000) + "2\n"));
    prompts->shown.clear();
    order.setQuiet(true);
    EXPECT_TRUE(order.LoadPlayOrder());
    EXPECT_EQ(order.Entries, (PlayOrderEntries { 0, 1 }));
    EXPECT_TRUE(prompts->shown.empty());
}
