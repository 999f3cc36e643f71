#include "tests/fonts/font_catalogue.h"

#include "platform/settings/program_folder.h"

#include <QDataStream>
#include <QFile>
#include <QTextStream>

namespace tunvale::testing {

std::vector<CatalogueEntry> readFontCatalogue(const QString& path)
{
    std::vector<CatalogueEntry> entries;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return entries;
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (line.startsWith(u'#') || line.isEmpty())
            continue;
        const QStringList cells = line.split(u'\t');
        if (cells.size() < 5)
            continue;
        CatalogueEntry e;
        e.family = cells[0];
        e.code = char16_t(cells[1].mid(2).toUInt(nullptr, 16));
        e.kind = cells[2];
        e.shape = cells[3] == QStringLiteral("-") ? QString() : cells[3];
        e.meaning = cells[4];
        entries.push_back(e);
    }
    return entries;
}

QRawFont rawNotationFont(const QString& family)
{
    return QRawFont(platform::ProgramFolder::dataPath(QStringLiteral("fonts/%1.ttf").arg(family)), 1000);
}

namespace {

quint32 glyphIndex(const QRawFont& font, char16_t code)
{
    const QList<quint32> indexes = font.glyphIndexesForString(QString(QChar(code)));
    return indexes.isEmpty() ? 0 : indexes.first();
}

} // namespace

QPainterPath glyphPath(const QRawFont& font, char16_t code)
{
    return font.pathForGlyph(glyphIndex(font, code));
}

double glyphAdvance(const QRawFont& font, char16_t code)
{
    const QList<QPointF> advances = font.advancesForGlyphIndexes({ glyphIndex(font, code) });
    return advances.isEmpty() ? 0 : advances.first().x();
}

QByteArray outlineKey(const QPainterPath& path)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        out << int(e.type) << qRound(e.x * 4) << qRound(e.y * 4);
    }
    return bytes;
}

} // namespace tunvale::testing
