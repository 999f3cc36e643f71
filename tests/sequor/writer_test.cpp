#include "components/sequor/core/midi_export.h"
#include "components/sequor/core/midi_track.h"
#include "components/sequor/core/play_order_expansion.h"
#include "tests/sequor/sequor_text.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tunvale::testing {
namespace {

using namespace sequor_text;
using sequor::EncodeVarLen;
using sequor::MidiTrack;

QByteArray Hex(const char* hex) { return QByteArray::fromHex(hex); }

// The file for `text` in the order "as written", with the given input fields.
QByteArray FileFor(const QString& text, sequor::ExportInput input = {})
{
    input.text = text;
    input.loadedOrder = sequor::LoadedOrder { sequor::MakeOrderKey(text), { 0 } };
    const auto converted = sequor::ConvertScore(input);
    EXPECT_TRUE(converted.has_value());
    const sequor::MidFile file = sequor::BuildMidFile(input, *converted);
    EXPECT_TRUE(file.error.isEmpty()) << file.error.toStdString();
    return file.bytes;
}

const char* const Header2 = "4D546864 00000006 0001 0002 0078";
const char* const Marker = "00FF0611 C2BCD6C6C8EDBCFEA3BA 54756E76616C65";

TEST(SequorWriter, EncodesVariableLengthQuantities)
{
    const struct {
        std::uint32_t value;
        const char* bytes;
    } cases[] = { { 0, "00" }, { 120, "78" }, { 127, "7F" }, { 128, "8100" }, { 480, "8360" },
        { 1u << 21, "81808000" }, { (1u << 28) - 1, "FFFFFF7F" } };
    for (const auto& c : cases)
        EXPECT_EQ(EncodeVarLen(c.value).toHex().toUpper(), Hex(c.bytes).toHex().toUpper()) << c.value;
}

// The smallest file: header, conductor (time and key signature, marker, tempo) and one melody note.
TEST(SequorWriter, MinimalFileHasTwoTracks)
{
    const QByteArray expected = Hex(Header2) + Hex("4D54726B 0000002E 00FF5804 04021808 00FF5902 0000")
        + Hex(Marker) + Hex("00FF5103 07A120 00FF2F00")
        + Hex("4D54726B 00000015 00FF5103 07A120 00C100 00913C62783C00 00FF2F00");
    EXPECT_EQ(FileFor(Text({ Note(1) })).toHex(), expected.toHex());
}

TEST(SequorWriter, ConductorTexts)
{
    sequor::ExportInput input;
    input.options.MidTitle = QStringLiteral("歌A");
    input.options.MidNotice = QStringLiteral("c");
    input.options.MidComment = QStringLiteral("歌");
    const QByteArray expected = Hex("4D54726B 00000040 00FF0303 B8E841 00FF5804 04021808 00FF5902 0000")
        + Hex(Marker) + Hex("00FF5103 07A120 00FF020163 00FF0102B8E8 00FF2F00");
    const QByteArray bytes = FileFor(Text({ Note(1) }), input);
    EXPECT_EQ(bytes.mid(14, expected.size()).toHex(), expected.toHex());
}

TEST(SequorWriter, TempoBytes)
{
    const struct {
        int bpm;
        const char* signature;
        const char* time;
        const char* tempo;
    } cases[] = {
        { 120, "4/4", "04021808", "07A120" }, { 60, "6/8", "06031808", "1E8480" },
        { 96, "3/4", "03021808", "098968" }, // 625,000
        { 5, "4/4", "04021808", "5B8D80" }, // clamped to 10
        { 1000, "2/2", "02011808", "0186A0" }, // clamped to 300, half notes: 100,000
        { 40, "1/1", "01001808", "05B8D8" }, // whole notes: 375,000
    };
    for (const auto& c : cases) {
        sequor::ExportInput input;
        input.OldSpeed1 = c.bpm;
        input.JeiPai1 = QString::fromLatin1(c.signature);
        const QByteArray bytes = FileFor(Text({ Note(1) }), input);
        EXPECT_EQ(bytes.mid(22, 8).toHex(), (Hex("00FF5804") + Hex(c.time)).toHex()) << c.bpm;
        EXPECT_EQ(bytes.mid(57, 7).toHex(), (Hex("00FF5103") + Hex(c.tempo)).toHex()) << c.bpm;
    }
}

TEST(SequorWriter, RefusesTimeSignaturesItCannotWrite)
{
    for (const char* signature : { "5/3", "0/4", "256/4", "4", "4/16", "x/4" }) {
        sequor::ExportInput input;
        input.text = Text({ Note(1) });
        input.JeiPai1 = QString::fromLatin1(signature);
        input.loadedOrder = sequor::LoadedOrder { QStringLiteral("00"), { 0 } };
        EXPECT_FALSE(sequor::BuildMidFile(input, *sequor::ConvertScore(input)).error.isEmpty()) << signature;
    }
}

TEST(SequorWriter, KeySignatureFromTheKeyShift)
{
    const int sf[] = { 0, -5, 2, -3, 4, -1, 6, 1, -4, 3, -2, 5 };
    for (int shift = -12; shift <= 23; ++shift) {
        sequor::ExportInput input;
        input.OldYDiao1 = shift;
        const QByteArray bytes = FileFor(Text({ Note(1) }), input);
        EXPECT_EQ(bytes.mid(30, 4).toHex(), Hex("00FF5902").toHex());
        EXPECT_EQ(int(std::int8_t(bytes[34])), sf[(shift + 12) % 12]) << shift;
        EXPECT_EQ(bytes[35], 0);
    }
}

// The melody track's events after its tempo and program change.
QByteArray MelodyEvents(const QString& text, sequor::ExportInput input = {})
{
    const QByteArray bytes = FileFor(text, input);
    const int conductorLength
        = int(quint8(bytes[18]) << 24 | quint8(bytes[19]) << 16 | quint8(bytes[20]) << 8 | quint8(bytes[21]));
    const int melody = 14 + 8 + conductorLength;
    const int length = int(quint8(bytes[melody + 6]) << 8 | quint8(bytes[melody + 7]));
    return bytes.mid(melody + 8 + 10, length - 10 - 4);
}

TEST(SequorWriter, MelodyEvents)
{
    sequor::ExportInput shifted;
    shifted.OldYDiao1 = 2;
    sequor::ExportInput top;
    top.OldYDiao1 = 23;
    sequor::ExportInput loud;
    loud.Text_VolumeText1 = 200;
    const struct {
        QString text;
        sequor::ExportInput input;
        const char* events;
        const char* what;
    } cases[] = {
        { Text({ Note(1), Note(2) }), {}, "00913C62783C00 003E62783E00", "running status" },
        { Text({ Note(1), 0x5F80, Note(2) }), {}, "00913C62783C00 00FF510316E360 00913E62783E00",
            "status again after a tempo" },
        { Text({ Rest() }), shifted, "00913E00783E00", "a rest at the transpose" },
        { Text({ Note(1), Dash, Dash, Dash }), {}, "00913C6283603C00", "a whole note" },
        { Text({ Note(7, 0, 0, 6) }), top, "00915300785300", "out of range: a rest" },
        { Text({ Note(1) }), loud, "00913C7F783C00", "velocity capped" },
        { Text({ Note(1, 0, 1), Note(1, 0, 3) }), {}, "00913C6281703C00", "a tie end writes nothing" },
        { Text({ 0x5F91, Note(1), 0x5F9B, Note(1) }), {}, "00913E62783E00 003C62783C00",
            "key change and back" },
        { Text({ 0x5F80, 0x5F8E }), {}, "00FF510316E360 00FF510307A120", "tempo terms" },
        { Text({ u'^', 0x62FE, 0x638D, Bar }), {}, "", "codes that play nothing" },
        // Ornament notes of 3.75 ticks take their ticks from the running time: 4, 4, 3, 4, then 105.
        { Text({ u'D', u'F', u'F', u'F', Note(1) }), {},
            "00913C62043C00 003E62043E00 003C62033C00 003E62043E00 003C62693C00", "ornament ticks" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(MelodyEvents(c.text, c.input).toHex(), Hex(c.events).toHex()) << c.what;
}

TEST(SequorWriter, NoteBytesAndClamps)
{
    MidiTrack track(2);
    track.WriteNote(4, 60, 127.6);
    track.WriteNote(4, 60, 64.5);
    track.WriteNote(4, 60, 65.5);
    track.WriteNote(4, 60, -3);
    track.WriteProgramChange(200);
    track.WriteController(10, 300);
    track.WriteController(10, -1);
    track.WriteNote(16, 60, 10);
    const QByteArray expected = Hex("4D54726B 00000030 00913C7F783C00 003C40783C00 003C42783C00 003C00783C00"
                                    "00C100 00B10A7F 00B10A00 00913C0A83603C00 00FF2F00");
    EXPECT_EQ(track.chunk().toHex(), expected.toHex());
}

TEST(SequorWriter, AFailedWriteLeavesNoFile)
{
    QTemporaryDir dir;
    const QString existing = dir.filePath(QStringLiteral("old.mid"));
    {
        QFile file(existing);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("old bytes");
    }
    sequor::ExportInput input;
    input.text = Text({ Note(1) });
    input.loadedOrder = sequor::LoadedOrder { QStringLiteral("00"), { 0 } };
    for (const QString& path : { dir.filePath(QStringLiteral("missing/out.mid")), dir.path() }) {
        const sequor::ExportResult result = sequor::ExportMidi(input, path);
        EXPECT_EQ(result.status, sequor::ExportResult::Failed) << path.toStdString();
        EXPECT_FALSE(result.message.isEmpty());
    }
    // A time signature the writer refuses leaves the existing file as it was.
    input.JeiPai1 = QStringLiteral("4/3");
    EXPECT_EQ(sequor::ExportMidi(input, existing).status, sequor::ExportResult::Failed);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
        QStringList { QStringLiteral("old.mid") });
    QFile file(existing);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("old bytes"));
}

} // namespace
} // namespace tunvale::testing
