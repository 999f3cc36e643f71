#include "app/editor/editing/paragraph_indents.h"

#include "platform/richtext/rich_text_format.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace tunvale::editor {

void SetParagraphIndents(QTextDocument& document, int leftTwips, int rightTwips)
{
    QTextCursor cursor(&document);
    bool editing = false;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        platform::ParagraphFormat format = platform::ToParagraphFormat(block.blockFormat());
        if (format.leftIndent == leftTwips && format.rightIndent == rightTwips)
            continue;
        if (!editing) {
            cursor.beginEditBlock();
            editing = true;
        }
        format.leftIndent = leftTwips;
        format.rightIndent = rightTwips;
        cursor.setPosition(block.position());
        cursor.setBlockFormat(platform::ToBlockFormat(platform::Clamped(format)));
    }
    if (editing)
        cursor.endEditBlock();
}

} // namespace tunvale::editor
