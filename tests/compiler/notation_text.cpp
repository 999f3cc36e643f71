#include "tests/compiler/notation_text.h"

#include "app/notation/notation_chars.h"

#include <QStringList>

namespace tunvale::testing {

using namespace notation;

namespace {

QString noteChar(const QString& token, int block)
{
    NoteGlyph note { block, 0, 0, token.at(0).digitValue() };
    for (QChar c : token.mid(1)) {
        if (c == 'e')
            ++note.DurIndex;
        else if (c == '\'')
            note.OctaveRow = 4;
        else if (c == ',')
            note.OctaveRow = 1;
        else if (c == 't')
            note.NoteBlock += 8;
        else if (c == '~')
            note.NoteBlock = 3;
    }
    return QChar(char16_t(note.code()));
}

} // namespace

void NotationScore::startParagraph()
{
    if (!first_)
        builder_.paragraph();
    first_ = false;
}

NotationScore& NotationScore::text(const QString& text)
{
    startParagraph();
    builder_.run(text, TextFontFamily, 0xff000000);
    return *this;
}

NotationScore& NotationScore::header(const QString& keyText)
{
    startParagraph();
    builder_.run(QChar(char16_t(KeyMarker::Code)) + keyText, NoteFontFamily, 0xff000000);
    return *this;
}

NotationScore& NotationScore::notation(const QString& tokens)
{
    startParagraph();
    const QString main = NoteFontFamily;
    for (const QString& token : tokens.split(QChar(' '), Qt::SkipEmptyParts)) {
        if (token == QStringLiteral("/"))
            builder_.lineBreak();
        else if (token.startsWith(QChar('@')))
            builder_.run(token.mid(1), SymbolFontFamily, 0xff0000ff);
        else if (token.startsWith(QChar('g'))) {
            const int n = token.at(1).digitValue();
            const int kind = token.at(2).digitValue();
            builder_.run(noteChar(token.mid(4), kind * 2), GraceFontFamilies[size_t(n - 1)], 0xff00ff00);
        } else if (token.startsWith(QStringLiteral("U+")))
            builder_.run(QChar(char16_t(token.mid(2).toInt(nullptr, 16))), main, 0xff000000);
        else if (token == QStringLiteral("sp"))
            builder_.run(QChar(char16_t(SpacerGlyph::Plain)), main, 0xff000000);
        else if (token == QStringLiteral("|"))
            builder_.run(QChar(char16_t(PlainBarLine::Plain)), main, 0xff000000);
        else if (token == QStringLiteral("-"))
            builder_.run(QChar(char16_t(DashGlyph::Plain)), main, 0xff000000);
        else if (token == QStringLiteral("."))
            builder_.run(QChar(char16_t(DotGlyph::First)), main, 0xff000000);
        else if (token.at(0) == '0')
            builder_.run(QChar(char16_t(RestGlyph::First + int(token.count(QChar('e'))))), main, 0xff000000);
        else if (token.at(0).isDigit())
            builder_.run(noteChar(token, 0), main, 0xff000000);
        else
            builder_.run(token, main, 0xff000000); // "^", "(" and other characters as they are
    }
    return *this;
}

std::string Sounding(const std::vector<CodeEvent>& events)
{
    QStringList parts;
    for (const CodeEvent& e : events) {
        if (e.EventTime != 0)
            parts << QStringLiteral("%1:%2:%3").arg(e.EventCode).arg(e.EventTime, 0, 'g', 10).arg(e.Velocity);
    }
    return parts.join(QChar(' ')).toStdString();
}

QString CharCodes(const std::vector<CodeEvent>& events)
{
    QString codes;
    for (const CodeEvent& e : events)
        codes += QChar(char16_t(e.CharCode));
    return codes;
}

} // namespace tunvale::testing
