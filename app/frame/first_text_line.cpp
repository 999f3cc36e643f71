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
    const qsizetype room = kMaxFileNameBytes - extension.toUtf8().size();
    // The name is taken from the line's start up to the first character that no longer fits: a title
    // line may hold a whole score, and measuring the name anew after every cut took quadratic time.
    const QString line = GetFirstTextLine(score);
    QString name;
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c.category() == QChar::Other_Control)
            continue;
        const bool pair = c.isHighSurrogate() && i + 1 < line.size() && line[i + 1].isLowSurrogate();
        // Its UTF-8 length; a lone surrogate is written as U+FFFD.
        const qsizetype size = pair ? 4 : c.unicode() < 0x80 ? 1 : c.unicode() < 0x800 ? 2 : 3;
        if (bytes + size > room)
            break;
        bytes += size;
        name += c;
        if (pair)
            name += line[++i];
    }
    return name;
}

} // namespace tunvale::frame
