#include "platform/text/text_compare.h"

namespace tunvale::platform {

QString textCompareFold(const QString& text)
{
    QString folded(text);
    for (QChar& c : folded)
        c = QChar(textCompareFold(c.unicode()));
    return folded;
}

bool containsAsText(const QString& haystack, const QString& needle)
{
    return textCompareFold(haystack).contains(textCompareFold(needle), Qt::CaseSensitive);
}

} // namespace tunvale::platform
