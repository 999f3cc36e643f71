#pragma once

#include "app/notation/drum_record.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

// The sections of a score file, read by the file's structure. After the header come, in this order:
// "/Drum", two bytes and one 0xFF-flagged 103-byte record per pattern, "/EDrum"; "/POrderStr", the
// play-order key, "/EPOrderStr"; "/PlayOrder", one byte per entry, "/EPlayOrder"; "/Chord", "/EChord";
// "/Vls" and the scrambled body. Records, key and order are binary and may spell any marker, so the
// drum section is walked record by record and every other section is looked for only after the one
// before it, never in the header or the body.
namespace tunvale::notation {

// Larger files are no scores (a long score is under 100 KB) and are refused before they are read.
constexpr qint64 kMaxScoreFileBytes = 4 * 1024 * 1024;

// The whole file; no value when it is missing, unreadable or larger than kMaxScoreFileBytes.
std::optional<QByteArray> ReadScoreFileBytes(const QString& path);

// Where a section lies, in 0-based byte offsets.
struct SectionSpan {
    qsizetype begin = -1; // its begin marker; -1 when the section is missing
    qsizetype content = -1; // its first content byte
    qsizetype end = -1; // where the content ends (its end marker, as a rule); -1 when nothing ends it
    qsizetype next = -1; // where the search for the following sections goes on

    bool found() const { return begin >= 0; }
    bool closed() const { return end >= 0; }
};

struct ScoreSections {
    static constexpr QByteArrayView kDrumBegin = "/Drum";
    static constexpr QByteArrayView kDrumEnd = "/EDrum";
    static constexpr QByteArrayView kKeyBegin = "/POrderStr";
    static constexpr QByteArrayView kKeyEnd = "/EPOrderStr";
    static constexpr QByteArrayView kOrderBegin = "/PlayOrder";
    static constexpr QByteArrayView kOrderEnd = "/EPlayOrder";
    static constexpr QByteArrayView kChordBegin = "/Chord";
    static constexpr QByteArrayView kChordEnd = "/EChord";
    static constexpr QByteArrayView kBodyMarker = "/Vls";

    // The whole records of the drum section: a damaged section keeps those that lie in the file whole
    // and that neither a later marker nor the body's start reaches into.
    std::optional<DrumStore> drums;
    std::optional<QByteArray> key;
    std::optional<QByteArray> order;
    std::optional<QByteArray> chord;
    SectionSpan drumSpan, keySpan, orderSpan, chordSpan;

    // The sections within bytes from..to - 1 of `file`.
    static ScoreSections read(const QByteArray& file, qsizetype from, qsizetype to);

    // The sections as written, from "/Drum" to the "/Vls" before the body.
    static QByteArray encode(
        const DrumStore& drums, QByteArrayView key, QByteArrayView order, QByteArrayView chord);

    // The values alone, without where they lie.
    bool sameValues(const ScoreSections& other) const
    {
        return drums == other.drums && key == other.key && order == other.order && chord == other.chord;
    }

private:
    friend struct ScoreFileLayout;
    void readDrums(const QByteArray& file, qsizetype from, qsizetype to);
    void readDelimited(const QByteArray& file, qsizetype from, qsizetype to);
};

// Where the parts of a score file lie.
struct ScoreFileLayout {
    enum class BodyRule {
        Signature, // after the "/Vls" that the scrambled start of an RTF text follows
        LastMarker, // no such "/Vls": after the last one
        Byte10, // no "/Vls" at all: after a 9-character text header
    };

    // False for data without "/Vls" and for a format version above 5: no header is known, so the
    // sections were looked for from the first byte on (the drum template file, a section on its own).
    bool scoreFile = false;
    int version = 0; // byte 14; 0 for the Byte10 rule
    qsizetype sectionsBegin = 0; // the header's length for its version
    qsizetype bodyStart = 9;
    BodyRule rule = BodyRule::Byte10;
    ScoreSections sections;

    static ScoreFileLayout of(const QByteArray& file);

    // The header's length: 14 bytes of text and version for versions 0 and 1, 34 with the colours of
    // versions 2 and 3, 38 with the switches of versions 4 and 5.
    static qsizetype headerSize(int version);

    // "/Vls" and the scrambled "{\rtf" that starts every body written.
    static const QByteArray& bodySignature();
};

} // namespace tunvale::notation
