#include "app/frame/editor_score_file.h"

#include "app/frame/write_vls.h"
#include "app/notation/play_order_key.h"

namespace tunvale::frame {

QString EditorPlayOrderScore::notationText() const
{
    return notation::NotationText(editor_.snapshot().lines);
}

bool WriteVls(const notation::ScoreHeader& header, const notation::ColorScheme& colors,
    const platform::RichTextBox& editor, const notation::DrumStore& drums,
    const notation::PlayOrder& playOrder)
{
    // Our RTF dialect is pure ASCII.
    return WriteVls(header, colors, editor.TextRTF().toLatin1(), drums, playOrder);
}

} // namespace tunvale::frame
