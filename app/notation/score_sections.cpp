#include "app/notation/score_sections.h"

#include "app/notation/vls_key.h"
#include "platform/settings/whole_file.h"
#include "platform/text/runtime_random.h"

#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <initializer_list>

namespace tunvale::notation {

namespace {

constexpr char kRecordFlag = char(0xFF);
constexpr qsizetype kFlaggedRecord = 1 + DrumRecord::Size;
constexpr qsizetype kFixedBytes = 2; // 0x01 0x00 after "/Drum"

// The first `marker` that lies whole within from..to - 1; -1 when there is none.
qsizetype find(const QByteArray& file, QByteArrayView marker, qsizetype from, qsizetype to)
{
    return QByteArrayView(file).first(to).indexOf(marker, from);
}

bool startsAt(const QByteArray& file, qsizetype at, QByteArrayView marker, qsizetype to)
{
    return at + marker.size() <= to && QByteArrayView(file).sliced(at, marker.size()) == marker;
}

// The first of `markers` from `from` on; -1 when there is none.
qsizetype firstOf(
    const QByteArray& file, std::initializer_list<QByteArrayView> markers, qsizetype from, qsizetype to)
{
    qsizetype first = -1;
    for (QByteArrayView marker : markers) {
        const qsizetype at = find(file, marker, from, to);
        if (at >= 0 && (first < 0 || at < first))
            first = at;
    }
    return first;
}

// A section that `begin` opens and `end` closes. Its content ends at the first `end` that `follower`
// (the next marker as written) comes right after, else at the first `end`.
SectionSpan delimited(const QByteArray& file, qsizetype from, qsizetype to, QByteArrayView begin,
    QByteArrayView end, QByteArrayView follower)
{
    SectionSpan span;
    span.begin = find(file, begin, from, to);
    if (!span.found()) {
        span.next = from;
        return span;
    }
    span.content = span.begin + begin.size();
    const QByteArray pair = end.toByteArray() + follower.toByteArray();
    span.end = find(file, pair, span.content, to);
    if (!span.closed())
        span.end = find(file, end, span.content, to);
    span.next = span.closed() ? span.end + end.size() : span.content;
    return span;
}

std::optional<QByteArray> contentOf(const QByteArray& file, const SectionSpan& span)
{
    if (!span.found() || !span.closed())
        return std::nullopt;
    return file.mid(span.content, span.end - span.content);
}

} // namespace

std::optional<QByteArray> ReadScoreFileBytes(const QString& path)
{
    if (QFileInfo(path).size() > kMaxScoreFileBytes)
        return std::nullopt;
    auto bytes = platform::ReadWholeFile(path);
    if (bytes && bytes->size() > kMaxScoreFileBytes)
        return std::nullopt;
    return bytes;
}

ScoreSections ScoreSections::read(const QByteArray& file, qsizetype from, qsizetype to)
{
    ScoreSections sections;
    sections.readDrums(file, from, to);
    sections.readDelimited(file, sections.drumSpan.next, to);
    return sections;
}

void ScoreSections::readDrums(const QByteArray& file, qsizetype from, qsizetype to)
{
    drumSpan = {};
    drumSpan.begin = find(file, kDrumBegin, from, to);
    if (!drumSpan.found()) {
        drumSpan.next = from;
        return;
    }
    drumSpan.content = drumSpan.begin + kDrumBegin.size();
    drums.emplace();
    // A file whose section was never filled: "/Drum/EDrum".
    if (startsAt(file, drumSpan.content, kDrumEnd, to)) {
        drumSpan.end = drumSpan.content;
        drumSpan.next = drumSpan.end + kDrumEnd.size();
        return;
    }
    const qsizetype first = drumSpan.content + kFixedBytes;
    qsizetype pos = first;
    while (pos < to && file[pos] == kRecordFlag && pos + kFlaggedRecord <= to)
        pos += kFlaggedRecord;
    if (startsAt(file, pos, kDrumEnd, to)) {
        drumSpan.end = pos;
        drumSpan.next = pos + kDrumEnd.size();
    } else {
        // Damaged: a flag or an end marker was lost. No record may reach over a later marker or the
        // body's start, which a record read on through the lost end would swallow.
        const qsizetype reach = firstOf(file,
            { kDrumEnd, kKeyBegin, kKeyEnd, kOrderBegin, kOrderEnd, kChordBegin, kChordEnd,
                ScoreFileLayout::bodySignature() },
            first, to);
        if (reach >= 0)
            pos = std::min(pos, first + (reach - first) / kFlaggedRecord * kFlaggedRecord);
        // The block runs up to the next section's marker, or to "/EDrum" when that is still there.
        drumSpan.end = firstOf(file, { kDrumEnd, kKeyBegin, kOrderBegin, kChordBegin }, pos, to);
        drumSpan.next = !drumSpan.closed()               ? pos
            : startsAt(file, drumSpan.end, kDrumEnd, to) ? drumSpan.end + kDrumEnd.size()
                                                         : drumSpan.end;
    }
    for (qsizetype at = first; at + kFlaggedRecord <= pos; at += kFlaggedRecord) {
        DrumRecord& record = drums->emplace_back();
        std::memcpy(record.bytes(), file.constData() + at + 1, size_t(DrumRecord::Size));
    }
}

void ScoreSections::readDelimited(const QByteArray& file, qsizetype from, qsizetype to)
{
    keySpan = delimited(file, from, to, kKeyBegin, kKeyEnd, kOrderBegin);
    orderSpan = delimited(file, keySpan.next, to, kOrderBegin, kOrderEnd, kChordBegin);
    chordSpan = delimited(file, orderSpan.next, to, kChordBegin, kChordEnd, kBodyMarker);
    key = contentOf(file, keySpan);
    order = contentOf(file, orderSpan);
    chord = contentOf(file, chordSpan);
}

QByteArray ScoreSections::encode(
    const DrumStore& drums, QByteArrayView key, QByteArrayView order, QByteArrayView chord)
{
    QByteArray bytes;
    bytes.reserve(80 + qsizetype(drums.size()) * kFlaggedRecord + key.size() + order.size() + chord.size());
    bytes += kDrumBegin;
    bytes += QByteArrayView("\x01\x00", kFixedBytes);
    for (const DrumRecord& record : drums) {
        bytes += kRecordFlag;
        bytes += QByteArrayView(reinterpret_cast<const char*>(record.bytes()), DrumRecord::Size);
    }
    for (QByteArrayView part : { kDrumEnd, kKeyBegin, key, kKeyEnd, kOrderBegin, order, kOrderEnd,
             kChordBegin, chord, kChordEnd, kBodyMarker })
        bytes += part;
    return bytes;
}

qsizetype ScoreFileLayout::headerSize(int version) { return version <= 1 ? 14 : version <= 3 ? 34 : 38; }

const QByteArray& ScoreFileLayout::bodySignature()
{
    static const QByteArray signature = [] {
        QByteArray rtfStart = QByteArrayLiteral("{\\rtf");
        platform::RuntimeRandom random;
        random.Rnd(VlsKey::seedArgument());
        random.xorKeystream(rtfStart);
        return ScoreSections::kBodyMarker.toByteArray() + rtfStart;
    }();
    return signature;
}

ScoreFileLayout ScoreFileLayout::of(const QByteArray& file)
{
    ScoreFileLayout layout;
    const QByteArrayView bodyMarker = ScoreSections::kBodyMarker;
    const int version = file.size() >= 14 ? std::uint8_t(file[13]) : 0;
    if (!file.contains(bodyMarker) || version > 5) {
        layout.version = file.contains(bodyMarker) ? version : 0;
        layout.sections = ScoreSections::read(file, 0, file.size());
        return layout;
    }
    layout.scoreFile = true;
    layout.version = version;
    layout.sectionsBegin = std::min(headerSize(version), file.size());
    const qsizetype size = file.size();

    // The drum records come first and are walked by their length; they end before any body.
    qsizetype bodyMark = find(file, bodySignature(), layout.sectionsBegin, size);
    if (bodyMark < 0)
        bodyMark = std::max<qsizetype>(file.lastIndexOf(bodyMarker), layout.sectionsBegin);
    ScoreSections& sections = layout.sections;
    sections.readDrums(file, layout.sectionsBegin, std::min(size, bodyMark + bodyMarker.size()));

    const qsizetype after = sections.drumSpan.next;
    const qsizetype signature = find(file, bodySignature(), after, size);
    const qsizetype last = file.lastIndexOf(bodyMarker);
    if (signature >= 0) {
        layout.bodyStart = signature + bodyMarker.size();
        layout.rule = BodyRule::Signature;
    } else {
        layout.bodyStart = last >= after ? last + bodyMarker.size() : size;
        layout.rule = BodyRule::LastMarker;
    }
    sections.readDelimited(file, after, layout.bodyStart);
    return layout;
}

} // namespace tunvale::notation
