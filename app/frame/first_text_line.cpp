#include "app/frame/first_text_line.h"

namespace tunvale::frame {

QString GetFirstTextLine(const platform::RichTextSnapshot& score)
{
    for (const platform::RichTextSnapshot::Line& line : score.lines) {
        QString text = line.text;
        // Only a paragraph's last line carries a break; a wrapped line or the last line has none, and
        // cutting two characters off those would cut the title.
        while (text.endsWith(u'\n') || text.endsWith(u'\r'))
            text.chop(1);
        if (!text.isEmpty())
            return text;
    }
    return {};
}

QString ProposedFileName(const platform::RichTextSnapshot& score, const QString& extension)
{
    constexpr qsizetype kMaxFileNameBytes = 255;
    QString name;
    for (const QChar c : GetFirstTextLine(score)) {
        if (c.category() != QChar::Other_Control)
            name += c;
    }
    const qsizetype room = kMaxFileNameBytes - extension.toUtf8().size();
    while (name.toUtf8().size() > room)
        name.chop(name.size() >= 2 && name.back().isLowSurrogate() ? 2 : 1);
    return name;
}

} // namespace tunvale::frame
