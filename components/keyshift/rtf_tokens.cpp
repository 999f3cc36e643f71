#include "components/keyshift/rtf_tokens.h"

#include "platform/text/gbk.h"

#include <algorithm>
#include <unordered_map>

namespace tunvale::keyshift {

namespace {

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// The byte of "\'hh" at pos, or -1 when there is none before `end`.
int escapedByte(QStringView rtf, qsizetype pos, qsizetype end)
{
    if (pos + 4 > end || rtf.at(pos) != u'\\' || rtf.at(pos + 1) != u'\'')
        return -1;
    const int high = hexValue(rtf.at(pos + 2));
    const int low = hexValue(rtf.at(pos + 3));
    return high < 0 || low < 0 ? -1 : high * 16 + low;
}

bool isAsciiLetter(QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

int decodeGbk(int lead, int trail)
{
    // A pure function of the two bytes, looked up once per character and thread.
    thread_local std::unordered_map<int, int> memo;
    const int value = lead << 8 | trail;
    const auto it = memo.find(value);
    if (it != memo.end())
        return it->second;
    const char bytes[] = { char(lead), char(trail) };
    const QString text = platform::GbkDecode(QByteArray(bytes, 2));
    const int code = text.size() == 1 ? text.at(0).unicode() : 0xFFFD;
    memo.emplace(value, code);
    return code;
}

RtfToken controlWord(const QString& rtf, qsizetype pos, qsizetype end)
{
    qsizetype i = pos + 1;
    while (i < end && isAsciiLetter(rtf.at(i)))
        ++i;
    const QStringView name = QStringView(rtf).sliced(pos + 1, i - pos - 1);
    if (i + 1 < end && rtf.at(i) == u'-' && isDigit(rtf.at(i + 1)))
        ++i;
    while (i < end && isDigit(rtf.at(i)))
        ++i;
    if (i < end && rtf.at(i) == u' ')
        ++i;
    TokenType type = TokenType::Control;
    if (name == u"par")
        type = TokenType::Par;
    else if (name == u"tab" || name == u"line" || name == u"u")
        type = TokenType::TextWord;
    return RtfToken { type, i - pos, 0 };
}

} // namespace

RtfToken ReadToken(const QString& rtf, qsizetype pos, qsizetype end)
{
    const QChar c = rtf.at(pos);
    if (c == u'{' || c == u'}' || c == u'\r' || c == u'\n')
        return RtfToken { TokenType::Control, 1, 0 };
    if (c != u'\\' || pos + 1 >= end)
        return RtfToken { TokenType::Char, 1, c.unicode() };
    const QChar next = rtf.at(pos + 1);
    if (next == u'\'') {
        const int lead = escapedByte(rtf, pos, end);
        if (lead < 0)
            return RtfToken { TokenType::Char, 1, c.unicode() }; // not an escape: text as it stands
        const int trail = lead >= 0x81 && lead <= 0xFE ? escapedByte(rtf, pos + 4, end) : -1;
        if (trail < 0)
            return RtfToken { TokenType::ByteEscape, 4, lead };
        return RtfToken { TokenType::CharEscape, 8, EscapeToCode(QStringView(rtf).sliced(pos, 8)) };
    }
    if (isAsciiLetter(next))
        return controlWord(rtf, pos, end);
    if (next == u'\r' || next == u'\n')
        return RtfToken { TokenType::Par, 2, 0 };
    if (next == u'*')
        return RtfToken { TokenType::Control, 2, 0 };
    return RtfToken { TokenType::TextWord, 2, next.unicode() };
}

int EscapeToCode(QStringView escape)
{
    const int lead = escapedByte(escape, 0, escape.size());
    const int trail = escapedByte(escape, 4, escape.size());
    return lead < 0 || trail < 0 ? 0xFFFD : decodeGbk(lead, trail);
}

QString CodeToEscape(int code)
{
    thread_local std::unordered_map<int, QString> memo;
    const auto it = memo.find(code);
    if (it != memo.end())
        return it->second;
    QString escape;
    for (const char byte : platform::GbkEncode(QString(QChar(char16_t(code)))))
        escape += QStringLiteral("\\'%1").arg(int(quint8(byte)), 2, 16, QLatin1Char('0'));
    memo.emplace(code, escape);
    return escape;
}

void InsertText(QString& s, qsizetype n, const QString& x)
{
    s.insert(std::clamp<qsizetype>(n, 0, s.size()), x);
}

} // namespace tunvale::keyshift
