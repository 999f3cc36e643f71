#include "tools/vlsgen/score_document.h"

#include "app/frame/editor_score_file.h"
#include "app/frame/write_vls.h"
#include "app/notation/notation_chars.h"
#include "app/notation/play_order.h"
#include "platform/richtext/rich_text_box.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tunvale::vlsgen {

using platform::RichParagraph;
using platform::RunFormat;

namespace {

constexpr int kTextHalfPoints = 24;
constexpr int kNotationHalfPoints = 64;
constexpr int kKeyNameMiddleRegister = notation::KeyNameGlyph::First + 7;

// A colour of the scheme (&H00BBGGRR) as the rich text keeps it.
QRgb schemeColor(std::int32_t c) { return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

RichParagraph paragraph(const QString& font, int halfPoints, std::optional<QRgb> color, const QString& text)
{
    RunFormat format;
    format.font = font;
    format.halfPoints = halfPoints;
    format.color = color;
    RichParagraph p;
    p.mark = format;
    if (!text.isEmpty())
        p.runs.push_back({ format, text });
    return p;
}

QString keyLine(const ScoreDescription& d)
{
    QString line;
    if (d.keyLetter >= 0) {
        line += QChar(notation::KeyMarker::Code);
        line += QChar(kKeyNameMiddleRegister + d.keyLetter);
    }
    if (d.timeSig >= 0) {
        if (!line.isEmpty())
            line += QChar(notation::SpacerGlyph::Plain);
        line += QChar(notation::TimeSigGlyph::First + d.timeSig);
    }
    return line;
}

} // namespace

platform::RichContent ScoreContent(const ScoreDescription& d)
{
    const notation::ColorScheme colors;
    const QRgb notationColor = schemeColor(colors.JpLineColor);
    const QRgb lyricColor = schemeColor(colors.LyricLineColor);
    platform::RichContent content;
    content.push_back(paragraph(notation::TextFontFamily, kTextHalfPoints, std::nullopt, d.title));
    if (const QString key = keyLine(d); !key.isEmpty())
        content.push_back(paragraph(notation::NoteFontFamily, kNotationHalfPoints, notationColor, key));
    for (const ScoreLine& line : d.lines) {
        if (line.kind == ScoreLine::Kind::Notes)
            content.push_back(
                paragraph(notation::NoteFontFamily, kNotationHalfPoints, notationColor, line.text));
        else
            content.push_back(paragraph(notation::TextFontFamily, kTextHalfPoints, lyricColor, line.text));
    }
    return content;
}

bool WriteScoreFile(const ScoreDescription& d, const QString& outputDir)
{
    platform::RichTextBox box;
    if (d.body.isEmpty()) {
        platform::SetContent(*box.document(), ScoreContent(d));
    } else {
        QFile body(d.body);
        if (!body.open(QIODevice::ReadOnly) || !box.setTextRTF(QString::fromLatin1(body.readAll())))
            return false;
    }

    notation::ScoreHeader header = d.header;
    header.CurrentFile = QDir(outputDir).filePath(d.output);
    QDir().mkpath(QFileInfo(header.CurrentFile).path());

    const frame::EditorPlayOrderScore score(box, header);
    notation::PlayOrder order;
    order.setScore(&score);
    if (d.order.isEmpty())
        order.DefaultPlayOrder();
    else
        order.Entries = notation::ParsePlayOrderText(d.order);
    return frame::WriteVls(header, notation::ColorScheme {}, box, d.drums, order);
}

} // namespace tunvale::vlsgen
