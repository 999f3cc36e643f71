#include "components/glyphrank/order_tables.h"

#include "glyphrank.h"
#include "platform/text/text_compare.h"

#include <QFile>

namespace tunvale::glyphrank {

namespace {

// Every line of a table file but the comments holds a label, a tab and the characters of that label.
QString readCharacters(const QString& resource)
{
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("Glyphrank: the order table %s is missing from the library", qUtf8Printable(resource));
    QString characters;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        if (line.startsWith(u'#'))
            continue;
        const qsizetype tab = line.indexOf(u'\t');
        characters += line.mid(tab + 1);
    }
    return characters;
}

} // namespace

QString pinyinCharacters()
{
    static const QString characters = readCharacters(QStringLiteral(":/glyphrank/pinyin_order.txt"));
    return characters;
}

QString strokeCharacters()
{
    static const QString characters = readCharacters(QStringLiteral(":/glyphrank/stroke_order.txt"));
    return characters;
}

std::vector<int> buildRankTable(const QString& orderTable)
{
    std::vector<int> firstPlace(0x10000, 0);
    for (qsizetype i = 0; i < orderTable.size(); ++i) {
        int& place = firstPlace[platform::textCompareFold(orderTable[i].unicode())];
        if (place == 0)
            place = static_cast<int>(i + 1);
    }
    std::vector<int> ranks(0x10000);
    for (int u = 0; u < 0x10000; ++u)
        ranks[u] = firstPlace[platform::textCompareFold(static_cast<char16_t>(u))];
    return ranks;
}

} // namespace tunvale::glyphrank
