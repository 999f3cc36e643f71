#pragma once

class QTextDocument;

namespace tunvale::editor {

// Gives every paragraph of `document` the left and right indents in twips; paragraphs that have them
// already are left alone, so an unchanged layout changes nothing.
void SetParagraphIndents(QTextDocument& document, int leftTwips, int rightTwips);

} // namespace tunvale::editor
