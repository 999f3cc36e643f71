#pragma once

#include "app/notation/drum_record.h"
#include "app/notation/play_order.h"
#include "app/notation/score_header.h"
#include "platform/richtext/rich_text_box.h"

// Score files of the score in a rich-text box.
namespace tunvale::frame {

// The play order's view of a score shown in a rich-text box: its notation lines as laid out in the
// box, and its file.
class EditorPlayOrderScore final : public notation::PlayOrderScore
{
public:
    EditorPlayOrderScore(const platform::RichTextBox& editor, const notation::ScoreHeader& header)
        : editor_(editor)
        , header_(header)
    {
    }

    QString currentFile() const override { return header_.CurrentFile; }
    QString notationText() const override;

private:
    const platform::RichTextBox& editor_;
    const notation::ScoreHeader& header_;
};

// WriteVls with the editor's rich text.
bool WriteVls(const notation::ScoreHeader& header, const notation::ColorScheme& colors,
    const platform::RichTextBox& editor, const notation::DrumStore& drums,
    const notation::PlayOrder& playOrder);

} // namespace tunvale::frame
