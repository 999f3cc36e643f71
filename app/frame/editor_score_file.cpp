#include "app/frame/editor_score_file.h"

#include "app/frame/write_vls.h"
#include "app/notation/play_order_key.h"

namespace tunvale::frame {

QString EditorPlayOrderScore::notationText() const { return notation::NotationText(editor_.snapshotLines()); }

bool WriteVls(const notation::ScoreHeader& header, const notation::ColorScheme& colors,
    const platform::RichTextBox& editor, const notation::DrumStore& drums,
    const notation::PlayOrder& playOrder)
{
    return WriteVls(header, colors, editor.TextRTFBytes(), drums, playOrder);
}

} // namespace tunvale::frame
