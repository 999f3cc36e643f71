#pragma once

#include <QString>

// Reading a font run token by token, and the code page 936 escapes the transposer decodes and writes.
namespace tunvale::keyshift {

enum class TokenType {
    Char, // a plain character of text
    ByteEscape, // "\'hh": one byte of text
    CharEscape, // "\'hh\'hh", hh first a GBK lead byte: one double-byte character
    TextWord, // a control word or symbol that writes text: \tab, \line, \uN, \\, \{, \} ...
    Par, // a paragraph break
    Control, // any other control word or symbol, a group brace, a raw line break
};

struct RtfToken {
    TokenType type = TokenType::Char;
    qsizetype length = 1; // never 0
    int code = 0; // Char: the character; CharEscape: its code point through code page 936
};

// The token at `pos`, read no further than `end`.
RtfToken ReadToken(const QString& rtf, qsizetype pos, qsizetype end);

// True for the tokens a reader shows as text.
constexpr bool WritesText(TokenType type) { return type != TokenType::Control && type != TokenType::Par; }

// The code point of a double-byte escape "\'hh\'hh" (either case of hex digits) through code page
// 936; U+FFFD when code page 936 has no such character.
int EscapeToCode(QStringView escape);

// A character as the escape of its code page 936 bytes, lower-case hex; the notation characters
// all have two bytes.
QString CodeToEscape(int code);

// The first n characters of s, then x, then the rest of s; n is kept within 0 and the length of s.
void InsertText(QString& s, qsizetype n, const QString& x);

} // namespace tunvale::keyshift
