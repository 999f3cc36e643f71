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

FontTally FontsOf(const QTextDocument& document)
{
    // A document holds few formats and many runs in them: each format is read once.
    const QFont defaultFont = document.defaultFont();
    QSet<int> counted;
    FontTally tally;
    const auto add = [&](int index, const QTextCharFormat& format) {
        if (!counted.contains(index)) {
            counted.insert(index);
            tally.add(ToRunFormat(format, defaultFont));
        }
    };
    for (QTextBlock block = document.begin(); block.isValid() && !tally.tooMany(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it)
            add(it.fragment().charFormatIndex(), it.fragment().charFormat());
        if (block.next().isValid())
            add(block.next().charFormatIndex(), block.next().charFormat());
    }
    tally.add(ToRunFormat(MarkFormat(document.lastBlock()), defaultFont));
    return tally;
}

} // namespace tunvale::platform
