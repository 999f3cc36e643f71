#include "tests/editing/score_builder.h"

#include "platform/richtext/font_tally.h"

namespace tunvale::testing {

void Append(platform::RichTextBox& box, const QString& font, const QString& text)
{
    box.setSelStart(box.TextLength());
    box.setSelFontName(font);
    box.setSelFontSize(font == kSong ? 12 : 16);
    box.setSelText(text);
}

qsizetype PadToFontLimit(platform::RichTextBox& box)
{
    // Ten fonts in sizes from 1 point up, in steps of half a point.
    QByteArray table;
    for (int font = 0; font < 10; ++font)
        table += "{\\f" + QByteArray::number(font) + " Pad" + QByteArray::number(font) + ";}";
    // They follow a break of their own, so the score's last paragraph keeps its mark.
    box.setSelStart(box.TextLength());
    box.setSelText(QStringLiteral("\r\n"));
    QByteArray body;
    const qsizetype missing = platform::kMostFonts - platform::FontsOf(*box.document()).count();
    for (qsizetype n = 0; n < missing; ++n) {
        body += n > 0 ? "\\par\\f" : "\\f";
        body += QByteArray::number(n % 10) + "\\fs" + QByteArray::number(2 + n / 10) + " 1";
    }
    box.setSelRTF(QString::fromLatin1("{\\rtf1{\\fonttbl" + table + "}" + body + "}"));
    box.setSelStart(0);
    return platform::FontsOf(*box.document()).count();
}

void FillScore(platform::RichTextBox& box, std::initializer_list<ScoreLine> lines)
{
    size_t i = 0;
    for (const ScoreLine& line : lines) {
        const bool last = ++i == lines.size();
        Append(box, line.font, line.text + (last ? QString() : QStringLiteral("\r\n")));
    }
    box.setSelStart(0);
}

QString Codes(std::initializer_list<int> codes) { return Codes(std::vector<int>(codes)); }

QString Codes(const std::vector<int>& codes)
{
    QString text;
    for (int c : codes)
        text += QChar(char16_t(c));
    return text;
}

std::string Hex(const QString& text)
{
    QStringList out;
    for (QChar c : text)
        out << QStringLiteral("U+%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
    return out.join(u' ').toStdString();
}

} // namespace tunvale::testing
