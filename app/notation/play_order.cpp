#include "app/notation/play_order.h"

#include "app/notation/play_order_key.h"
#include "app/notation/score_template.h"
#include "app/notation/save_messages.h"
#include "platform/settings/whole_file.h"
#include "platform/desktop/prompts.h"
#include "platform/settings/ini_file.h"
#include "platform/settings/program_folder.h"
#include "platform/text/runtime_numbers.h"

#include <QStringList>

#include <limits>

namespace tunvale::notation {

namespace {

constexpr QByteArrayView kKeyBegin = "/POrderStr";
constexpr QByteArrayView kKeyEnd = "/EPOrderStr";
constexpr QByteArrayView kOrderBegin = "/PlayOrder";
constexpr QByteArrayView kOrderEnd = "/EPlayOrder";
constexpr QByteArrayView kChord = "/Chord";

const QString kIniSection = QStringLiteral("演唱顺序");
const QString kUserIniFileName = QStringLiteral("MyNote.ini");
const QString kShippedIniFileName = QStringLiteral("Note.ini");

} // namespace

std::optional<QByteArray> SectionContent(const QByteArray& file, QByteArrayView begin, QByteArrayView end)
{
    const qsizetype b = file.indexOf(begin);
    const qsizetype e = file.indexOf(end);
    if (b < 0 || e < b + begin.size())
        return std::nullopt;
    return file.mid(b + begin.size(), e - b - begin.size());
}

bool ReplaceSection(QByteArray& file, QByteArrayView begin, QByteArrayView end, QByteArrayView content)
{
    const qsizetype b = file.indexOf(begin);
    if (b >= 0) {
        const qsizetype from = b + begin.size();
        const qsizetype e = file.indexOf(end);
        if (e < from)
            return false;
        file.replace(from, e - from, content.toByteArray());
        return true;
    }
    const qsizetype chord = file.indexOf(kChord);
    if (chord < 0)
        return false;
    file.insert(chord, begin.toByteArray() + content.toByteArray() + end.toByteArray());
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
    PlayOrderEntries order;
    order.reserve(size_t(bytes->size()));
    for (char b : *bytes)
        order.push_back(std::int16_t(std::uint8_t(b)));
    return order;
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

bool PlayOrder2021::LoadPlayOrder()
{
    if (score_ && ReadPlayOrderFromFile(score_->currentFile()))
        return true;
    return ReadPlayOrderFromIni() || DefaultPlayOrder();
}

bool PlayOrder2021::ReadPlayOrderFromIni()
{
    const QString key = GetPlayOrderKey();
    for (const QString& ini : { kUserIniFileName, kShippedIniFileName }) {
        const QString path = platform::ProgramFolder::find(ini);
        const QString text = path.isEmpty() ? QString() : platform::ReadIniValue(kIniSection, key, path);
        if (!text.isEmpty()) {
            PlayOrder = ParsePlayOrderText(text);
            return true;
        }
    }
    return false;
}

bool PlayOrder2021::ReadPlayOrderFromFile(const QString& fileName)
{
    const auto file = platform::ReadWholeFile(fileName);
    return file && ReadPlayOrderFromFile(*file);
}

bool PlayOrder2021::ReadPlayOrderFromFile(const QByteArray& file)
{
    // A stored key needs two digits (one segment); one stored entry is a whole order.
    const auto key = StoredPlayOrderKey(file);
    auto order = StoredPlayOrder(file);
    if (!key || key->size() < 2 || !order || order->empty())
        return false;
    if (QString::fromLatin1(*key) != GetPlayOrderKey())
        return false;
    PlayOrder = std::move(*order);
    return true;
}

bool PlayOrder2021::DefaultPlayOrder()
{
    const qsizetype segments = GetPlayOrderKey().size() - 1;
    PlayOrder.clear();
    for (qsizetype i = 0; i < segments; ++i)
        PlayOrder.push_back(std::int16_t(i));
    return true;
}

bool PlayOrder2021::SavePlayOrderKey(QByteArray& file) const
{
    return ReplaceSection(file, kKeyBegin, kKeyEnd, GetPlayOrderKey().toLatin1());
}

bool PlayOrder2021::SavePlayOrder(QByteArray& file) const
{
    QByteArray bytes;
    bytes.reserve(qsizetype(PlayOrder.size()));
    for (std::int16_t entry : PlayOrder)
        bytes.append(char(platform::ToByteBits(entry)));
    return ReplaceSection(file, kOrderBegin, kOrderEnd, bytes);
}

bool PlayOrder2021::SavePlayOrderKey(const QString& fileName) const
{
    return rewriteFile(fileName, &PlayOrder2021::SavePlayOrderKey);
}

bool PlayOrder2021::SavePlayOrder(const QString& fileName) const
{
    return rewriteFile(fileName, &PlayOrder2021::SavePlayOrder);
}

bool PlayOrder2021::rewriteFile(const QString& fileName, bool (PlayOrder2021::*put)(QByteArray&) const) const
{
    // The template is shared by every untitled score; an order never belongs to it.
    if (IsTemplatePath(fileName))
        return false;
    auto file = platform::ReadWholeFile(fileName);
    if (!file || !(this->*put)(*file) || !platform::CommitWholeFile(fileName, *file)) {
        platform::Prompts::current().information(kWriteFailedMessage);
        return false;
    }
    return true;
}

QString PlayOrder2021::GetPlayOrderKey() const
{
    return score_ ? PlayOrderKey(score_->notationText()) : QString();
}

PlayOrder2021& ProcessPlayOrder()
{
    static PlayOrder2021 playOrder;
    return playOrder;
}

} // namespace tunvale::notation
