#include "tests/editing/score_builder.h"

namespace tunvale::testing {

void Append(platform::RichTextBox& box, const QString& font, const QString& text)
{
    box.setSelStart(box.TextLength());
    box.setSelFontName(font);
    box.setSelFontSize(font == kSong ? 12 : 16);
    box.setSelText(text);
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
