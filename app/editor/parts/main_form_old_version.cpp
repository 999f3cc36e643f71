#include "app/editor/parts/main_form_old_version.h"

#include "app/editor/editing/line_table.h"
#include "app/editor/parts/main_form_editing.h"
#include "app/editor/parts/main_form_score_files.h"
#include "app/editor/window/main_form.h"
#include "app/frame/old_score_converter.h"
#include "platform/desktop/prompts.h"

namespace tunvale::editor {

namespace {

const QString kQuestion = QStringLiteral("此工具不可重复使用,适用5.2以前版本简谱乱码转换!需要使用吗？");

// Rewrites the text from the first replacement to the last in one go, so the editor lays its text out
// once; every character keeps its format.
void rewrite(platform::RichTextBox& editor, const std::vector<frame::CodeReplacement>& replacements)
{
    if (replacements.empty())
        return;
    const int first = replacements.front().position;
    QString text = editor.Text().mid(first, replacements.back().position - first + 1);
    for (const frame::CodeReplacement& replacement : replacements)
        text[replacement.position - first] = replacement.code;
    editor.RewriteRange(first, text);
}

} // namespace

MainFormOldVersion::MainFormOldVersion(MainForm& form)
    : MainFormPart(form)
{
    form_.connectItem(QStringLiteral("TurnVer"), [this] { convertOldVersion(); });
}

void MainFormOldVersion::convertOldVersion()
{
    const platform::PromptRequest question { kQuestion, platform::kProgramTitle,
        platform::PromptIcon::Information, platform::PromptButtons::YesNo, platform::PromptAnswer::Yes };
    if (platform::Prompts::current().ask(question) != platform::PromptAnswer::Yes)
        return;
    platform::RichTextBox& editor = form_.editor();
    const platform::RichTextSnapshot score = editor.snapshot();
    std::vector<bool> notation;
    for (const LineInfo& line : BuildLineTable(score))
        notation.push_back(line.IsJpLine);
    const std::vector<frame::CodeReplacement> replacements
        = frame::ConvertOldScore(frame::OldScoreLines(score, notation));
    auto& files = form_.part<MainFormScoreFiles>();
    notation::DrumStore records = files.XjDrums();
    UndoEngine& undo = form_.part<MainFormEditing>().undo();
    undo.RecordStep([&] { rewrite(editor, replacements); });

    // The bars were there before, only unreadable: each keeps its record, whatever bars the undo engine
    // took for inserted. A score without bars keeps the records it has.
    const int bars = undo.XJInteger();
    if (bars > 0)
        records.resize(std::size_t(bars));
    files.XjDrums() = std::move(records);
    files.RefreshDrumSlider(0);
}

} // namespace tunvale::editor
