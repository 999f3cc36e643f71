#pragma once

class QTextDocument;

namespace tunvale::platform {
class RichTextBox;
}

namespace tunvale::editor {

// Gives every paragraph of `document` the left and right indents in twips; paragraphs that have them
// already are left alone, so an unchanged layout changes nothing.
void SetParagraphIndents(QTextDocument& document, int leftTwips, int rightTwips);

// The score's margins laid onto the editor for editing and for printing: every paragraph, the last one
// too, gets the left and right indents, and the caret goes to the start of the score.
void SetLeftRightSpace(platform::RichTextBox& editor, int leftTwips, int rightTwips);

} // namespace tunvale::editor
