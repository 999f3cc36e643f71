#pragma once

#include <QPainterPath>
#include <QRawFont>
#include <QString>

#include <vector>

namespace tunvale::testing {

// One row of the table the font generator writes: every character of every notation family.
struct CatalogueEntry {
    QString family;
    char16_t code = 0;
    QString kind; // "note", "grace", "spacer" or "sign"
    QString shape; // characters with the same non-empty shape key may look alike
    QString meaning;
};

std::vector<CatalogueEntry> readFontCatalogue(const QString& path);

// A notation family loaded from the data folder at 1000 pixels, so outlines come in font units.
QRawFont rawNotationFont(const QString& family);

QPainterPath glyphPath(const QRawFont& font, char16_t code);
double glyphAdvance(const QRawFont& font, char16_t code);
// The outline as bytes, equal for equal outlines.
QByteArray outlineKey(const QPainterPath& path);

} // namespace tunvale::testing
