#include "app/frame/read_vls.h"
#include "app/frame/vls_header.h"
#include "app/frame/write_vls.h"
#include "app/notation/drum_data.h"
#include "app/notation/play_order.h"
#include "app/notation/save_messages.h"
#include "tests/scorefile/resave_check.h"
#include "tests/support/scoretool_run.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/test_folders.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstring>

#include <gtest/gtest.h>

using namespace tunvale;
using frame::VlsContent;
using frame::VlsDocument;
using notation::DrumRecord;
using notation::DrumStore;
using notation::ScoreHeader;
using tunvale::testing::contentOf;
using tunvale::testing::decode;
using tunvale::testing::savesAsRead;
using tunvale::testing::stored;

namespace {

QByteArray sample(const char* name)
{
    return tunvale::testing::readAll(QStringLiteral(TUNVALE_SOURCE_DIR "/data/") + QLatin1String(name));
}

DrumRecord named(const QByteArray& name, std::uint8_t fill)
{
    DrumRecord r;
    r.DrumRhythms.fill(fill);
    r.HaveDrum = 1;
    std::memcpy(r.DrumName.data(), name.constData(), size_t(std::min<qsizetype>(name.size(), 32)));
    return r;
}

} // namespace

// One damaged byte at the end of the drum section ("/" of "/EDrum" made 0xFF, a record flag) must not
// let a record swallow the sections and the body's start.
TEST(DamagedSections, LostDrumEndKeepsTheOtherSectionsAndTheBody)
{
    for (const char* name : { "vls/molihua.vls", "vls/liangzhilaohu.vls" }) {
        const QByteArray original = sample(name);
        const VlsDocument intact = decode(original);
        ASSERT_TRUE(intact.sections.drumSpan.closed()) << name;
        QByteArray damaged = original;
        damaged[intact.sections.drumSpan.end] = char(0xFF);

        const VlsDocument read = decode(damaged);
        ASSERT_EQ(read.status, frame::VlsReadStatus::Ok) << name;
        EXPECT_EQ(read.header, intact.header) << name;
        EXPECT_EQ(read.body, intact.body) << name;
        EXPECT_EQ(read.sections.drums, intact.sections.drums) << name;
        EXPECT_EQ(read.sections.key, intact.sections.key) << name;
        EXPECT_EQ(read.sections.order, intact.sections.order) << name;
        EXPECT_TRUE(savesAsRead(damaged, name));
    }
}

// Header bytes that spell "/Drum" are header fields, never a section.
TEST(DamagedSections, HeaderBytesSpellingAMarkerStayHeaderFields)
{
    const QByteArray original = sample("vls/molihua.vls");
    const VlsDocument intact = decode(original);
    for (const qsizetype at : { 0, 14, 33 }) {
        QByteArray damaged = original;
        damaged.replace(at, 5, "/Drum");
        const VlsDocument read = decode(damaged);
        ASSERT_EQ(read.status, frame::VlsReadStatus::Ok) << at;
        EXPECT_EQ(read.header.FileVer, 5) << at;
        EXPECT_TRUE(read.sections.sameValues(intact.sections)) << at;
        EXPECT_EQ(read.body, intact.body) << at;
        EXPECT_TRUE(savesAsRead(damaged, "/Drum at " + std::to_string(at)));
    }
}

// Pattern names may spell any marker: the records are walked by their length, and every section is
// looked for after the one before it.
TEST(DamagedSections, DrumNamesSpellingMarkersAreStoredAndReadIntact)
{
    tunvale::testing::ScopedPrompts prompts;
    QTemporaryDir dir;
    const VlsDocument intact = decode(sample("vls/molihua.vls"));
    ASSERT_EQ(intact.sections.order, QByteArray("\x00\x00\x01", 3));
    for (const char* marker : { "/Drum", "/EDrum", "/POrderStr", "/EPOrderStr", "/PlayOrder", "/EPlayOrder",
             "/Chord", "/EChord", "/Vls", "/EDrum/POrderStr/EPOrderStr/PlayOrder/EPlayOrder" }) {
        VlsContent content = contentOf(intact);
        content.header.CurrentFile = dir.filePath(QStringLiteral("song.vls"));
        content.drums = { named("drums", 0x11), named(marker, 0xFF), named(marker, 0x2F) };
        ASSERT_TRUE(frame::WriteVls(content)) << marker;
        const QByteArray file = tunvale::testing::readAll(content.header.CurrentFile);
        ASSERT_TRUE(savesAsRead(file, marker));
        const VlsDocument read = decode(file);
        EXPECT_EQ(read.sections.drums, content.drums) << marker;
        EXPECT_EQ(read.sections.order, intact.sections.order) << marker;
        EXPECT_EQ(read.body, intact.body) << marker;

        // The section writers find their sections by the same structure.
        QByteArray rewritten = file;
        ASSERT_TRUE(
            notation::ReplaceSection(rewritten, "/PlayOrder", "/EPlayOrder", QByteArray("\x01\x00", 2)))
            << marker;
        EXPECT_EQ(notation::StoredPlayOrder(rewritten), (notation::PlayOrderEntries { 1, 0 })) << marker;
        EXPECT_EQ(decode(rewritten).sections.drums, content.drums) << marker;
        EXPECT_EQ(decode(rewritten).body, intact.body) << marker;
        ASSERT_TRUE(notation::WriteDrumData(DrumStore { named(marker, 1) }, rewritten)) << marker;
        EXPECT_EQ(decode(rewritten).sections.drums, DrumStore { named(marker, 1) }) << marker;
        EXPECT_EQ(decode(rewritten).sections.order, QByteArray("\x01\x00", 2)) << marker;
    }
    EXPECT_TRUE(prompts->shown.empty());
}

// A key that holds its own section's end and the next marker can't be told from the real end: the
// save is refused with its message and the old file stays as it was.
TEST(DamagedSections, UnreadableSaveIsRefusedAndTheOldFileKept)
{
    tunvale::testing::ScopedPrompts prompts;
    QTemporaryDir dir;
    VlsContent content = contentOf(decode(sample("vls/molihua.vls")));
    content.header.CurrentFile = dir.filePath(QStringLiteral("song.vls"));
    const QByteArray old = sample("vls/liangzhilaohu.vls");
    ASSERT_TRUE(tunvale::testing::writeAll(content.header.CurrentFile, old));
    for (const auto& [key, order] : { std::pair<QByteArray, QByteArray> { "0/EPOrderStr/PlayOrder0", "" },
             { "120", "\x01/EPlayOrder/Chord" } }) {
        prompts->shown.clear();
        content.playOrderKey = key;
        content.playOrder = order;
        EXPECT_FALSE(frame::BuildVlsFile(content).has_value());
        EXPECT_FALSE(frame::WriteVls(content));
        EXPECT_EQ(prompts->texts(), QStringList { notation::kWriteUnverifiedMessage });
        EXPECT_EQ(tunvale::testing::readAll(content.header.CurrentFile), old);
    }
}

// Whatever the program holds is written and read back: header fields, records whose names spell
// markers or hold 0xFF, keys, orders, the chord section and bodies.
TEST(DamagedSections, EveryValueWrittenReadsBack)
{
    const QList<QByteArray> pieces = { "/Drum", "/EDrum", "/POrderStr", "/EPOrderStr", "/PlayOrder",
        "/EPlayOrder", "/Chord", "/EChord", "/Vls", "\xFF\xFF", "0d", "V" };
    for (quint32 seed = 1; seed <= 1000; ++seed) {
        QRandomGenerator random(seed);
        const auto text = [&](int maxPieces) {
            QByteArray bytes;
            for (int n = int(random.bounded(maxPieces + 1)); n > 0; --n) {
                if (random.bounded(2))
                    bytes += pieces[random.bounded(pieces.size())];
                else
                    bytes += char(random.bounded(256));
                bytes += "x"; // markers never touch: a pair of them is a section's end
            }
            return bytes;
        };
        VlsContent content;
        content.header.CurrentFile = QStringLiteral("a.vls");
        for (std::int16_t* field : { &content.header.ScreenDpi, &content.header.RapDrum,
                 &content.header.Instrument, &content.header.Speed, &content.header.Volume,
                 &content.header.LeftSpace, &content.header.RightSpace, &content.header.PZType })
            *field = std::int16_t(random.bounded(65536));
        for (bool* field : { &content.header.DrumPZ, &content.header.SameSpeed, &content.header.HeYing })
            *field = random.bounded(2) == 1;
        for (std::int32_t* color :
            { &content.colors.EditBackColor, &content.colors.PlayNoteColor, &content.colors.PlayNoteBackColor,
                &content.colors.JpLineColor, &content.colors.LyricLineColor })
            *color = std::int32_t(random.generate());
        for (int n = int(random.bounded(5)); n > 0; --n) {
            DrumRecord& r = content.drums.emplace_back();
            for (int i = 0; i < DrumRecord::Size; ++i)
                r.bytes()[i] = std::uint8_t(random.bounded(256));
            const QByteArray name = text(3).left(32);
            r.DrumName.fill(0);
            std::memcpy(r.DrumName.data(), name.constData(), size_t(name.size()));
        }
        content.playOrderKey = text(4);
        content.playOrder = text(6);
        content.chord = random.bounded(4) == 0 ? text(3) : QByteArray();
        content.rtf = "{\\rtf1 " + text(8) + "}";

        const auto file = frame::BuildVlsFile(content);
        ASSERT_TRUE(file.has_value()) << seed;
        const VlsDocument back = decode(*file);
        const auto [header, colors] = stored(content);
        ASSERT_EQ(back.header, header) << seed;
        ASSERT_EQ(back.colors, colors) << seed;
        ASSERT_EQ(back.sections.drums, content.drums) << seed;
        ASSERT_EQ(back.sections.key, content.playOrderKey) << seed;
        ASSERT_EQ(back.sections.order, content.playOrder) << seed;
        ASSERT_EQ(back.sections.chord, content.chord) << seed;
        ASSERT_EQ(back.body, content.rtf) << seed;
    }
}

// Files above the limit are refused unread; one at the limit opens.
TEST(DamagedSections, ScoreFilesAboveTheLimitAreRefused)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.vls"));
    QByteArray file = sample("NullVls.Dat");
    file.append(notation::kMaxScoreFileBytes - file.size(), ' ');
    ASSERT_TRUE(tunvale::testing::writeAll(path, file));
    EXPECT_EQ(frame::ReadVls(path, {}, {}).status, frame::VlsReadStatus::Ok);
    ASSERT_TRUE(tunvale::testing::writeAll(path, file + ' '));
    const VlsDocument refused = frame::ReadVls(path, {}, {});
    EXPECT_EQ(refused.status, frame::VlsReadStatus::TooLarge);
    EXPECT_TRUE(refused.body.isEmpty());
    EXPECT_FALSE(notation::ReadScoreFileBytes(path).has_value());
}

// A file cut anywhere after its header, in the sections or in the body, is damaged: nothing of it is
// opened or saved again. Only the line break after the body's last brace may go.
TEST(DamagedSections, ACutScoreIsDamaged)
{
    QTemporaryDir dir;
    const QString cut = dir.filePath(QStringLiteral("cut.vls"));
    const QByteArray whole = sample("vls/liangzhilaohu.vls");
    const qsizetype lastBrace = whole.size() - 3;
    for (qsizetype size = 38; size <= whole.size(); ++size) {
        ASSERT_TRUE(tunvale::testing::writeAll(cut, whole.left(size)));
        const VlsDocument read = frame::ReadVls(cut, {}, {});
        EXPECT_EQ(read.status, size > lastBrace ? frame::VlsReadStatus::Ok : frame::VlsReadStatus::Damaged)
            << size;
        EXPECT_TRUE(read.status != frame::VlsReadStatus::Damaged || read.body.isEmpty()) << size;
    }

    // The first half, as a user found it: the tool refuses it too and writes nothing.
    ASSERT_TRUE(tunvale::testing::writeAll(cut, whole.left(whole.size() / 2)));
    const QString out = dir.filePath(QStringLiteral("out.vls"));
    const auto result = tunvale::testing::RunScoretool({ QStringLiteral("vls-resave"), cut, out });
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_FALSE(QFile::exists(out));
}

// Braces inside the data of \binN belong to the data, not to the groups.
TEST(DamagedSections, BinaryDataDoesNotEndTheBody)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bin.vls"));
    notation::ScoreHeader header;
    for (const QByteArray rtf :
        { "{\\rtf1 {\\*\\pict\\bin3 {{{}a\\par }", "{\\rtf1 {\\*\\pict\\bin4 }}}}}a\\par }" }) {
        ASSERT_TRUE(tunvale::testing::writeAll(path, frame::EncodeVls(header, {}, rtf)));
        EXPECT_EQ(frame::ReadVls(path, {}, {}).status, frame::VlsReadStatus::Ok) << rtf.constData();
        ASSERT_TRUE(tunvale::testing::writeAll(path, frame::EncodeVls(header, {}, rtf.chopped(1))));
        EXPECT_EQ(frame::ReadVls(path, {}, {}).status, frame::VlsReadStatus::Damaged) << rtf.constData();
    }
}
