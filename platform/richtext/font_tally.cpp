#include "platform/richtext/font_tally.h"

#include <QHashFunctions>
#include <QTextBlock>
#include <QTextDocument>

namespace tunvale::platform {

size_t qHash(const FontKey& key, size_t seed) { return qHashMulti(seed, key.name, key.halfPoints, key.bold); }

FontKey FontKeyOf(const RunFormat& format) { return { format.font, format.halfPoints, format.bold }; }

void FontTally::add(const RunFormat& format)
{
    if (!tooMany())
        fonts_.insert(FontKeyOf(format));
}

namespace {

// The fonts of every character format a document holds: never fewer than its text uses.
FontTally formatFonts(const QTextDocument& document)
{
    const QFont defaultFont = document.defaultFont();
    FontTally tally;
    tally.add(ToRunFormat(MarkFormat(document.lastBlock()), defaultFont));
    const QList<QTextFormat> formats = document.allFormats();
    for (auto it = formats.begin(); it != formats.end() && !tally.tooMany(); ++it) {
        if (it->isCharFormat())
            tally.add(ToRunFormat(it->toCharFormat(), defaultFont));
    }
    return tally;
}

} // namespace

FontTally FontsOf(const QTextDocument& document, int from, int to)
{
    // A document holds few formats and many runs in them: each format is read once.
    const QFont defaultFont = document.defaultFont();
    QSet<int> counted;
    FontTally tally;
    const auto add = [&](int start, int length, int index, const QTextCharFormat& format) {
        if (start >= from && start + length <= to)
            return;
        if (!counted.contains(index)) {
            counted.insert(index);
            tally.add(ToRunFormat(format, defaultFont));
        }
    };
    for (QTextBlock block = document.begin(); block.isValid() && !tally.tooMany(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            add(fragment.position(), fragment.length(), fragment.charFormatIndex(), fragment.charFormat());
        }
        if (const QTextBlock next = block.next(); next.isValid())
            add(next.position() - 1, 1, next.charFormatIndex(), next.charFormat());
    }
    tally.add(ToRunFormat(MarkFormat(document.lastBlock()), defaultFont));
    return tally;
}

bool TooManyFontsWith(const QTextDocument& document, int from, int to, const std::vector<RunFormat>& formats)
{
    const auto tooManyWith = [&formats](FontTally tally) {
        for (const RunFormat& format : formats)
            tally.add(format);
        return tally.tooMany();
    };
    return tooManyWith(formatFonts(document)) && tooManyWith(FontsOf(document, from, to));
}

} // namespace tunvale::platform
