#include "app/frame/read_vls.h"
#include "app/frame/vls_body.h"
#include "app/frame/vls_header.h"
#include "app/frame/write_vls.h"
#include "app/notation/drum_data.h"
#include "app/notation/play_order.h"
#include "platform/richtext/rich_text_box.h"
#include "tests/scorefile/resave_check.h"
#include "tests/scorefile/scoped_data_folder.h"
#include "tests/support/test_folders.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tunvale;
using frame::VlsMarkers;
using frame::VlsReadStatus;
using notation::ColorScheme;
using notation::ScoreHeader;

namespace {

const QByteArray kRtf
    = QByteArrayLiteral("{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil KORVA_Note;}}\\f0 a\\par }");

class RecordingTarget final : public frame::VlsSettingsTarget
{
public:
    QStringList calls;
    void setDrumPZChecked(bool on) override { calls << QStringLiteral("DrumPZ=%1").arg(on); }
    void setAccompanimentType(int index) override
    {
        calls << QStringLiteral("setAccompanimentType(%1)").arg(index);
    }
    void setSameSpeedChecked(bool on) override { calls << QStringLiteral("SameSpeed=%1").arg(on); }
    void setHeYingChecked(bool on) override { calls << QStringLiteral("HeYing=%1").arg(on); }
    void setRulerLeftSpace(int twips) override { calls << QStringLiteral("nLSpace=%1").arg(twips); }
    void setRulerRightSpace(int twips) override { calls << QStringLiteral("nRSpace=%1").arg(twips); }
};

QByteArray withVersion(QByteArray file, int version)
{
    file[13] = char(version);
    return file;
}

frame::VlsDocument decode(const QByteArray& file)
{
    return frame::DecodeVls(file, QStringLiteral("/s/a.vls"), ScoreHeader {}, ColorScheme {}, ColorScheme {});
}

ScoreHeader savedHeader()
{
    ScoreHeader h;
    h.DrumPZ = -1;
    h.PZType = 2;
    h.SameSpeed = 0;
    h.HeYing = -1;
    h.LeftSpace = 500;
    h.RightSpace = 600;
    return h;
}

} // namespace

TEST(ReadVls, AppliesSwitchesAndMarginsInTheWindowsOrder)
{
    const QByteArray file = frame::EncodeVls(savedHeader(), {}, kRtf);
    const struct {
        int version;
        QStringList calls;
    } cases[] = {
        { 0, { "DrumPZ=0", "setAccompanimentType(4)", "SameSpeed=0", "HeYing=0" } },
        { 1, { "DrumPZ=0", "setAccompanimentType(4)", "SameSpeed=0", "HeYing=0" } },
        { 2,
            { "nLSpace=500", "nRSpace=600", "DrumPZ=0", "setAccompanimentType(4)", "SameSpeed=0",
                "HeYing=0" } },
        { 3,
            { "nLSpace=500", "nRSpace=600", "DrumPZ=0", "setAccompanimentType(4)", "SameSpeed=0",
                "HeYing=0" } },
        { 4,
            { "DrumPZ=1", "setAccompanimentType(2)", "SameSpeed=0", "HeYing=1", "nLSpace=500",
                "nRSpace=600" } },
        { 5,
            { "DrumPZ=1", "setAccompanimentType(2)", "SameSpeed=0", "HeYing=1", "nLSpace=500",
                "nRSpace=600" } },
        { 6, {} },
    };
    for (const auto& c : cases) {
        RecordingTarget target;
        frame::ApplyVlsSettings(decode(withVersion(file, c.version)), target);
        EXPECT_EQ(target.calls, c.calls) << c.version;
    }
}

TEST(ReadVls, TooNewOrMissingChangesNothing)
{
    ScoreHeader current;
    current.Speed = 77;
    current.CurrentFile = QStringLiteral("old.vls");
    const ColorScheme colors { 1, 2, 3, 4, 5 };

    const auto tooNew = frame::DecodeVls(withVersion(frame::EncodeVls(savedHeader(), {}, kRtf), 6),
        QStringLiteral("new.vls"), current, colors, {});
    EXPECT_EQ(tooNew.status, VlsReadStatus::TooNew);
    EXPECT_EQ(tooNew.header, current);
    EXPECT_EQ(tooNew.colors, colors);
    EXPECT_TRUE(tooNew.body.isEmpty());

    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("missing.vls"));
    const auto notThere = frame::ReadVls(missing, current, colors);
    EXPECT_EQ(notThere.status, VlsReadStatus::Missing);
    EXPECT_EQ(notThere.header, current);
    EXPECT_FALSE(QFile::exists(missing));
    EXPECT_EQ(frame::ReadVls(dir.path(), current, colors).status, VlsReadStatus::Unreadable);
}

TEST(ReadVls, FindsTheBodyWhereverElseTheMarkerOccurs)
{
    const QByteArray plain = frame::EncodeVls(savedHeader(), {}, kRtf);

    // A body whose scrambled bytes hold "/Vls": it starts with the RTF signature and its scrambled
    // form reads "/Vls" after the first five bytes.
    const QByteArray trap = frame::VlsBody::scrambled(QByteArrayLiteral("{\\rtf")).left(5) + "xx/Vlsxx/Vls";
    const QByteArray trickyRtf = frame::VlsBody::scrambled(trap);
    ASSERT_TRUE(trickyRtf.startsWith("{\\rtf"));
    const QByteArray trickyBody = frame::EncodeVls(savedHeader(), {}, trickyRtf);

    // A drum record that holds "/Vls" ahead of the real marker.
    QByteArray drumRecord(103, '\0');
    drumRecord.replace(10, 4, "/Vls");
    QByteArray drummed = plain;
    drummed.insert(43, QByteArray("\x01\x00\xff", 3) + drumRecord);

    const QByteArray kOldFile = QByteArray("/096001120098\0body", 18);
    const QByteArray notRtf = frame::EncodeVls(savedHeader(), {}, QByteArrayLiteral("plain text"));

    const struct {
        const char* what;
        QByteArray file;
        qsizetype offset;
        VlsMarkers::Rule rule;
        QByteArray body;
    } cases[] = {
        { "as written", plain, 108, VlsMarkers::Rule::Signature, kRtf },
        { "marker in the scrambled body", trickyBody, 108, VlsMarkers::Rule::Signature, trickyRtf },
        { "marker in a drum record", drummed, 108 + 106, VlsMarkers::Rule::Signature, kRtf },
        { "not rich text", notRtf, 108, VlsMarkers::Rule::LastMarker, "plain text" },
        { "no marker at all", kOldFile, 9, VlsMarkers::Rule::Byte10,
            frame::VlsBody::scrambled(kOldFile.mid(9)) },
    };
    for (const auto& c : cases) {
        const auto document = decode(c.file);
        EXPECT_EQ(document.bodyStart.offset, c.offset) << c.what;
        EXPECT_EQ(document.bodyStart.rule, c.rule) << c.what;
        EXPECT_EQ(document.body, c.body) << c.what;
    }
}

TEST(ReadVls, FileWithoutMarkersHasATextHeader)
{
    // Its body starts at byte 10, so byte 14 holds a scrambled body byte, not a version.
    const QByteArray file = "001120098" + frame::VlsBody::scrambled(kRtf);
    ASSERT_GT(frame::VlsHeader::version(file), frame::VlsHeader::kVersion);
    const auto document = decode(file);
    ASSERT_EQ(document.status, VlsReadStatus::Ok);
    EXPECT_EQ(document.header.FileVer, 0);
    EXPECT_EQ(document.header.ScreenDpi, 96);
    EXPECT_EQ(document.header.Instrument, 1);
    EXPECT_EQ(document.header.Speed, 120);
    EXPECT_EQ(document.header.Volume, 98);
    EXPECT_EQ(document.body, kRtf);
}

TEST(ReadVls, OldVersionsTakeTheTemplateColoursOnWhite)
{
    ScopedDataFolder data;
    tunvale::testing::ScopedUserFolder user;
    const ColorScheme templateColors { 0x111111, 0x222222, 0x333333, 0x444444, 0x555555 };
    ASSERT_TRUE(tunvale::testing::writeAll(
        data.file(QStringLiteral("NullVls.Dat")), frame::EncodeVls(ScoreHeader {}, templateColors, kRtf)));

    QTemporaryDir scores;
    const QString path = scores.filePath(QStringLiteral("old.vls"));
    ASSERT_TRUE(tunvale::testing::writeAll(path, withVersion(frame::EncodeVls(savedHeader(), {}, kRtf), 1)));
    const auto document = frame::ReadVls(path, ScoreHeader {}, ColorScheme { 1, 2, 3, 4, 5 });
    ColorScheme expected = templateColors;
    expected.EditBackColor = 0xFFFFFF;
    EXPECT_EQ(document.colors, expected);
    EXPECT_EQ(document.header.CurrentFile, path);

    // Without a template the colours stay as they were, apart from the white background.
    QFile::remove(data.file(QStringLiteral("NullVls.Dat")));
    const auto noTemplate = frame::ReadVls(path, ScoreHeader {}, ColorScheme { 1, 2, 3, 4, 5 });
    EXPECT_EQ(noTemplate.colors, (ColorScheme { 0xFFFFFF, 2, 3, 4, 5 }));
}

TEST(ReadVls, UnscramblesBodiesAcrossChunkSizes)
{
    for (const qsizetype size : { 0, 1, 32768, 65536, 65537 }) {
        QByteArray rtf = kRtf;
        rtf.append(size - qMin(size, rtf.size()), 'x');
        rtf.truncate(size);
        const auto document = decode(frame::EncodeVls(savedHeader(), {}, rtf));
        EXPECT_EQ(document.body, rtf) << size;
    }
}

// Opening reads header, drums, play order and body of whatever it is given; a cut or damaged file may
// read wrong, but must never read past its end. Saving what it opened with is refused, or gives a file
// that reads back with those values and saves again byte for byte.
TEST(ReadVls, DamagedFilesAreReadWithinTheirBytes)
{
    class AnyScore final : public notation::PlayOrderScore
    {
    public:
        QString currentFile() const override { return {}; }
        QString notationText() const override { return QStringLiteral("一^一"); }
    } score;
    const auto open = [&](const QByteArray& bytes, const std::string& what) {
        const auto document = decode(bytes);
        if (document.status == VlsReadStatus::Ok)
            tunvale::testing::savesAsRead(bytes, what);
        RecordingTarget target;
        frame::ApplyVlsSettings(document, target);
        notation::DrumStore drums;
        notation::ReadDrumData(drums, bytes);
        notation::PlayOrder order;
        order.setScore(&score);
        order.ReadPlayOrderFromFile(bytes);
        platform::RichTextBox editor;
        editor.setTextRTF(QString::fromLatin1(document.body));
        return document.body.size() <= bytes.size();
    };

    QRandomGenerator damage(6);
    for (const char* name : { "NullVls.Dat", "vls/liangzhilaohu.vls", "vls/molihua.vls" }) {
        const QByteArray file = tunvale::testing::readAll(QStringLiteral(TUNVALE_SOURCE_DIR "/data/") + name);
        ASSERT_GT(file.size(), 108) << name;
        for (qsizetype size = 0; size <= file.size(); ++size)
            ASSERT_TRUE(open(file.left(size), name + (" cut to " + std::to_string(size))));
        for (int i = 0; i < 300; ++i) {
            QByteArray damaged = file;
            for (int n = 0; n < 8; ++n)
                damaged[damage.bounded(damaged.size())] = char(damage.bounded(256));
            ASSERT_TRUE(open(damaged, name + (" damage " + std::to_string(i))));
        }
    }
}
