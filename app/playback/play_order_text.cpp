#include "app/playback/play_order_text.h"

#include "app/notation/play_order_key.h"
#include "platform/text/radix64.h"

#include <QStringList>

namespace tunvale::playback {

namespace {

constexpr char16_t SpacerGlyph = 0x6351;
constexpr char16_t FirstMarkGlyph = 0x6356; // the glyph of mark code v is FirstMarkGlyph + v

} // namespace

QString KeyGlyphText(const QString& key)
{
    const QString spacer(QChar { SpacerGlyph });
    QString text;
    const qsizetype last = key.size();
    for (qsizetype i = 1; i <= last; ++i) {
        const int v = platform::Radix64ToInt(key.mid(i - 1, 1)).value_or(0);
        const QString glyph(QChar(char16_t(FirstMarkGlyph + v)));
        const QString number = QString::number(i);
        if (i == 1 && v == 0)
            text += spacer + number + spacer;
        else if (i == last && v != 0)
            text += spacer + glyph;
        else if (i != last)
            text += spacer + glyph + spacer + number;
    }
    return text.replace(spacer + spacer, spacer);
}

bool IsSegmentNumber(const QString& glyphText, qsizetype index)
{
    return index >= 1 && index < glyphText.size() && glyphText[index] >= u'0' && glyphText[index] <= u'9';
}

QString PlayOrderText(const notation::PlayOrderEntries& order)
{
    QStringList parts;
    for (int entry : order)
        parts << QString::number(entry + 1);
    return parts.join(QChar(u','));
}

CleanedPlayOrder CleanPlayOrderText(const QString& typed, int segmentCount)
{
    QString text = typed;
    text.replace(QChar(u'，'), QChar(u','));
    QString kept;
    for (QChar c : text) {
        if ((c >= u'0' && c <= u'9') || c == u',')
            kept += c;
    }
    while (kept.contains(QStringLiteral(",,")))
        kept.replace(QStringLiteral(",,"), QStringLiteral(","));
    if (kept.startsWith(QChar(u',')))
        kept.remove(0, 1);
    if (kept.endsWith(QChar(u',')))
        kept.chop(1);

    CleanedPlayOrder cleaned;
    QStringList parts = kept.split(QChar(u','));
    for (QString& part : parts) {
        bool ok = false;
        const qlonglong v = part.toLongLong(&ok);
        if (!ok || v == 0 || v > segmentCount)
            part = QStringLiteral("1");
        cleaned.order.push_back(std::int16_t(part.toInt() - 1));
    }
    cleaned.text = parts.join(QChar(u','));
    return cleaned;
}

void ChosenPlayOrder::choose(const QString& key, notation::PlayOrderEntries order)
{
    chosen_.emplace(key, std::move(order));
}

std::optional<notation::PlayOrderEntries> ChosenPlayOrder::orderFor(const QString& key) const
{
    if (chosen_ && chosen_->first == key)
        return chosen_->second;
    return std::nullopt;
}

notation::PlayOrderSource ChosenPlayOrder::source(const QString& currentFile) const
{
    return [chosen = chosen_, loaded = notation::LoadedPlayOrder(currentFile)](const QString& notationText) {
        if (chosen && chosen->first == notation::PlayOrderKey(notationText))
            return std::vector<int>(chosen->second.begin(), chosen->second.end());
        return loaded(notationText);
    };
}

} // namespace tunvale::playback
