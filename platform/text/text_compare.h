#pragma once

#include <QString>

// Text comparison of titles and file names: letters compare without regard to case, and a full-width
// form compares equal to its ASCII twin (the ideographic space to the space).
namespace tunvale::platform {

// The character that `c` compares as: ASCII lower case for letters and full-width forms, else `c`.
constexpr char16_t textCompareFold(char16_t c)
{
    if (c >= 0xFF01 && c <= 0xFF5E)
        c = static_cast<char16_t>(c - 0xFEE0);
    else if (c == 0x3000)
        c = u' ';
    if (c >= u'A' && c <= u'Z')
        c = static_cast<char16_t>(c + 32);
    return c;
}

// `text` with every character folded as above.
QString textCompareFold(const QString& text);

// Whether `needle` occurs in `haystack` under text comparison; an empty needle occurs in every text.
bool containsAsText(const QString& haystack, const QString& needle);

} // namespace tunvale::platform
