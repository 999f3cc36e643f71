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

} // namespace tunvale::frame
