#include "app/notation/play_order.h"

#include "app/notation/play_order_key.h"
#include "app/notation/save_messages.h"
#include "app/notation/score_sections.h"
#include "app/notation/score_template.h"
#include "platform/desktop/prompts.h"
#include "platform/settings/ini_file.h"
#include "platform/settings/program_folder.h"
#include "platform/settings/whole_file.h"
#include "platform/settings/write_failure.h"
#include "platform/text/runtime_numbers.h"

#include <QStringList>

#include <limits>

namespace tunvale::notation {

namespace {

constexpr QByteArrayView kKeyBegin = ScoreSections::kKeyBegin;
constexpr QByteArrayView kKeyEnd = ScoreSections::kKeyEnd;
constexpr QByteArrayView kOrderBegin = ScoreSections::kOrderBegin;
constexpr QByteArrayView kOrderEnd = ScoreSections::kOrderEnd;

// A key of a score with a segment has a digit on each side of its first mark at least.
constexpr qsizetype kSegmentKeyDigits = 2;

const QString kIniSection = QStringLiteral("演唱顺序");
const QString kUserIniFileName = QStringLiteral("MyNote.ini");
const QString kShippedIniFileName = QStringLiteral("Note.ini");

} // namespace

namespace {

// The section of `sections` that `begin` and `end` mark; none for the drum section and other markers.
struct Slot {
    const SectionSpan* span;
    std::optional<QByteArray> ScoreSections::*value;
};
std::optional<Slot> slotOf(const ScoreSections& sections, QByteArrayView begin, QByteArrayView end)
{
    if (begin == kKeyBegin && end == kKeyEnd)
        return Slot { &sections.keySpan, &ScoreSections::key };
    if (begin == kOrderBegin && end == kOrderEnd)
        return Slot { &sections.orderSpan, &ScoreSections::order };
    if (begin == ScoreSections::kChordBegin && end == ScoreSections::kChordEnd)
        return Slot { &sections.chordSpan, &ScoreSections::chord };
    return std::nullopt;
}

} // namespace

std::optional<QByteArray> SectionContent(const QByteArray& file, QByteArrayView begin, QByteArrayView end)
{
    const ScoreFileLayout layout = ScoreFileLayout::of(file);
    const auto slot = slotOf(layout.sections, begin, end);
    return slot ? layout.sections.*(slot->value) : std::nullopt;
}

bool ReplaceSection(QByteArray& file, QByteArrayView begin, QByteArrayView end, QByteArrayView content)
{
    const ScoreFileLayout layout = ScoreFileLayout::of(file);
    const auto slot = slotOf(layout.sections, begin, end);
    if (!slot)
        return false;
    const SectionSpan& span = *slot->span;
    QByteArray result = file;
    if (span.found()) {
        if (!span.closed())
            return false;
        result.replace(span.content, span.end - span.content, content.toByteArray());
    } else {
        const SectionSpan& chord = layout.sections.chordSpan;
        if (!chord.found())
            return false;
        result.insert(chord.begin, begin.toByteArray() + content.toByteArray() + end.toByteArray());
    }
    // Key and order may hold any byte: the file must read back with the new content, the other
    // sections and the body as they were.
    const ScoreFileLayout written = ScoreFileLayout::of(result);
    ScoreSections expected = layout.sections;
    expected.*(slot->value) = content.toByteArray();
    const bool sameBody = written.scoreFile == layout.scoreFile
        && (!layout.scoreFile || result.sliced(written.bodyStart) == file.sliced(layout.bodyStart));
    if (!written.sections.sameValues(expected) || !sameBody)
        return false;
    file = std::move(result);
    return true;
}

std::optional<QByteArray> StoredPlayOrderKey(const QByteArray& file)
{
    return SectionContent(file, kKeyBegin, kKeyEnd);
}

std::optional<PlayOrderEntries> StoredPlayOrder(const QByteArray& file)
{
    const auto bytes = SectionContent(file, kOrderBegin, kOrderEnd);
    if (!bytes)
        return std::nullopt;
    return PlayOrderEntriesOf(*bytes);
}

PlayOrderEntries PlayOrderEntriesOf(const QByteArray& bytes)
{
    PlayOrderEntries order;
    order.reserve(size_t(bytes.size()));
    for (char b : bytes)
        order.push_back(std::int16_t(std::uint8_t(b)));
    return order;
}

QByteArray PlayOrderBytes(const PlayOrderEntries& order)
{
    QByteArray bytes;
    bytes.reserve(qsizetype(order.size()));
    for (std::int16_t entry : order)
        bytes.append(char(platform::ToByteBits(entry)));
    return bytes;
}

PlayOrderEntries ParsePlayOrderText(const QString& text)
{
    PlayOrderEntries order;
    for (const QString& item : text.split(u',')) {
        const double entry = platform::RoundHalfEven(platform::Val(item) - 1);
        if (entry >= std::numeric_limits<std::int16_t>::min()
            && entry <= std::numeric_limits<std::int16_t>::max())
            order.push_back(std::int16_t(entry));
    }
    return order;
}

bool PlayOrder::LoadPlayOrder()
{
    return keepOrDefault((score_ && ReadPlayOrderFromFile(score_->currentFile())) || ReadPlayOrderFromIni());
}

bool PlayOrder::LoadPlayOrder(const ScoreSections& stored)
{
    return keepOrDefault(ReadPlayOrderFromFile(stored) || ReadPlayOrderFromIni());
}

bool PlayOrder::keepOrDefault(bool stored)
{
    if (stored && playsTooLong()) {
        if (!quiet_)
            platform::Prompts::current().information(kPlayOrderTooLongMessage);
        return DefaultPlayOrder();
    }
    return stored || DefaultPlayOrder();
}

bool PlayOrder::playsTooLong() const
{
    if (!score_)
        return false;
    const std::vector<qsizetype> segments = SegmentLengths(score_->notationText());
    qsizetype events = 0;
    for (const std::int16_t entry : Entries) {
        if (entry >= 0 && size_t(entry) < segments.size())
            events += segments[size_t(entry)];
        if (events > MaxPlayedEvents)
            return true;
    }
    return false;
}

bool PlayOrder::ReadPlayOrderFromIni()
{
    const QString key = GetPlayOrderKey();
    for (const QString& ini : { kUserIniFileName, kShippedIniFileName }) {
        const QString path = platform::ProgramFolder::find(ini);
        const QString text = path.isEmpty() ? QString() : platform::ReadIniValue(kIniSection, key, path);
        if (!text.isEmpty()) {
            Entries = ParsePlayOrderText(text);
            return true;
        }
    }
    return false;
}

bool PlayOrder::ReadPlayOrderFromFile(const QString& fileName)
{
    const auto file = ReadScoreFileBytes(fileName);
    return file && ReadPlayOrderFromFile(*file);
}

bool PlayOrder::ReadPlayOrderFromFile(const QByteArray& file)
{
    return ReadPlayOrderFromFile(ScoreFileLayout::of(file).sections);
}

bool PlayOrder::ReadPlayOrderFromFile(const ScoreSections& stored)
{
    // A stored key needs two digits (one segment); one stored entry is a whole order.
    const std::optional<QByteArray>& key = stored.key;
    if (!key || key->size() < kSegmentKeyDigits || !stored.order || stored.order->isEmpty())
        return false;
    if (QString::fromLatin1(*key) != GetPlayOrderKey())
        return false;
    Entries = PlayOrderEntriesOf(*stored.order);
    return true;
}

bool PlayOrder::DefaultPlayOrder()
{
    const qsizetype segments = GetPlayOrderKey().size() - 1;
    Entries.clear();
    for (qsizetype i = 0; i < segments; ++i)
        Entries.push_back(std::int16_t(i));
    return true;
}

bool PlayOrder::SavePlayOrderKey(QByteArray& file) const
{
    return ReplaceSection(file, kKeyBegin, kKeyEnd, GetPlayOrderKey().toLatin1());
}

bool PlayOrder::SavePlayOrder(QByteArray& file) const
{
    return ReplaceSection(file, kOrderBegin, kOrderEnd, PlayOrderBytes(EntriesToSave(GetPlayOrderKey())));
}

bool PlayOrder::SavePlayOrderKey(const QString& fileName) const
{
    return rewriteFile(fileName, &PlayOrder::SavePlayOrderKey);
}

bool PlayOrder::SavePlayOrder(const QString& fileName) const
{
    return rewriteFile(fileName, &PlayOrder::SavePlayOrder);
}

bool PlayOrder::rewriteFile(const QString& fileName, bool (PlayOrder::*put)(QByteArray&) const) const
{
    // The template is shared by every untitled score; an order never belongs to it.
    if (IsTemplatePath(fileName))
        return false;
    auto file = ReadScoreFileBytes(fileName);
    if (!file || !(this->*put)(*file)) {
        platform::Prompts::current().information(kWriteFailedMessage);
        return false;
    }
    if (file->size() > kMaxScoreFileBytes) {
        platform::Prompts::current().information(kWriteTooLargeMessage);
        return false;
    }
    if (const platform::WriteResult written = platform::CommitWholeFile(fileName, *file); !written) {
        platform::Prompts::current().information(
            platform::WriteFailureText(kWriteFailedMessage, fileName, written.error));
        return false;
    }
    return true;
}

QString PlayOrder::GetPlayOrderKey() const
{
    return score_ ? PlayOrderKey(score_->notationText()) : QString();
}

PlayOrderEntries PlayOrder::EntriesToSave(const QString& key) const
{
    return key.size() < kSegmentKeyDigits ? PlayOrderEntries {} : Entries;
}

PlayOrder& ProcessPlayOrder()
{
    static PlayOrder playOrder;
    return playOrder;
}

} // namespace tunvale::notation
