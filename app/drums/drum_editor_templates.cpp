#include "app/drums/drum_editor.h"

#include "app/drums/drum_record_mime.h"
#include "app/drums/drum_template_file.h"
#include "app/drums/template_list.h"
#include "app/notation/save_messages.h"
#include "platform/desktop/prompts.h"
#include "platform/text/runtime_numbers.h"

#include <QDropEvent>
#include <QMenu>

#include <algorithm>

// The template library and what the editor sends to the score.
namespace tunvale::drums {

namespace {

using platform::PromptAnswer;
using platform::Prompts;

const QString kBadBarMessage = QStringLiteral("输入的简谱编号不正确！");

} // namespace

void DrumEditor::fillTemplateList()
{
    myDrumList->fill(stores_.DrumTemplates);
    window_.listPatterns();
}

int DrumEditor::selectedTemplate() const
{
    const int row = myDrumList->currentRow();
    const bool selected = row >= 0 && myDrumList->item(row)->isSelected();
    return selected && row < int(stores_.DrumTemplates.size()) ? row : -1;
}

// Shows `record` unless the user keeps the pattern shown; DrumEdit then stays as it was.
void DrumEditor::offer(const notation::DrumRecord& record)
{
    if (!mayReplaceShown())
        return;
    stores_.DrumEdit = record;
    showEditRecord();
}

void DrumEditor::enableTemplateMenu()
{
    const bool named = selectedTemplate() >= 0 && !myDrumList->currentItem()->text().isEmpty();
    for (QAction* item : { ModAudition, munEditForDat, munDelDataDrum, munSendForSong })
        item->setEnabled(named);
}

void DrumEditor::auditionTemplate()
{
    const int row = selectedTemplate();
    if (row < 0)
        return;
    ControlsEnabled(false);
    if (!window_.audition(playback::PlayMode::TemplateAudition, row))
        ControlsEnabled(true);
}

void DrumEditor::editTemplate()
{
    const int row = selectedTemplate();
    if (row < 0)
        return;
    notation::DrumRecord& chosen = stores_.DrumTemplates[std::size_t(row)];
    chosen.HaveDrum = 1;
    offer(chosen);
}

bool DrumEditor::templateDropped(QEvent* event)
{
    if (event->type() != QEvent::DragEnter && event->type() != QEvent::DragMove
        && event->type() != QEvent::Drop)
        return false;
    auto* drop = static_cast<QDropEvent*>(event);
    if (!DrumRecordFromMime(drop->mimeData()))
        return false;
    drop->acceptProposedAction();
    if (event->type() == QEvent::Drop && selectedTemplate() >= 0)
        offer(stores_.DrumTemplates[std::size_t(selectedTemplate())]);
    return true;
}

void DrumEditor::deleteTemplate()
{
    const int row = selectedTemplate();
    if (row < 0)
        return;
    const PromptAnswer answer
        = Prompts::current().ask({ QStringLiteral("删除鼓点模板文件中的一个鼓点？"), platform::kProgramTitle,
            platform::PromptIcon::Information, platform::PromptButtons::YesNo, PromptAnswer::Yes });
    if (answer != PromptAnswer::Yes)
        return;
    const bool emptied = DeleteDrumRecord(stores_.DrumTemplates, row);
    if (emptied)
        offer(stores_.DrumTemplates[0]);
    if (!SaveDrumTemplates(stores_.DrumTemplates))
        Prompts::current().information(notation::kWriteFailedMessage);
    fillTemplateList();
}

std::optional<int> DrumEditor::askForBar(int proposed)
{
    const int bars = int(stores_.XjDrums.size());
    const std::optional<QString> answer
        = Prompts::current().input(QStringLiteral("请输入简谱小节编号(1-%1)：").arg(bars),
            QStringLiteral("小节鼓点"), QString::number(proposed));
    if (!answer)
        return std::nullopt;
    // A number beyond the bars, however far, is no bar.
    const double bar = platform::RoundHalfEven(platform::Val(*answer) - 1);
    if (!(bar >= 0 && bar < bars))
        return std::nullopt;
    return int(bar);
}

void DrumEditor::sendToBar(std::optional<int> bar, const notation::DrumRecord& record)
{
    if (!bar || *bar < 0 || *bar >= int(stores_.XjDrums.size())) {
        window_.showHint(kBadBarMessage);
        Prompts::current().beep();
        return;
    }
    window_.sendToBar(*bar, record);
}

void DrumEditor::sendTemplateToSong()
{
    const int row = selectedTemplate();
    if (row < 0)
        return;
    const notation::DrumRecord chosen = stores_.DrumTemplates[std::size_t(row)];
    sendToBar(askForBar(1), chosen);
}

void DrumEditor::saveAs(int item)
{
    const notation::DrumRecord record = BuildDrumRecord();
    if (RecordName(record).isEmpty()) {
        Prompts::current().information(QStringLiteral("鼓点描述是鼓点的标识符号，不可为空!"));
        return;
    }
    if (item == 0)
        saveAsTemplate(record);
    else if (item == 2)
        sendToBar(window_.editedBar(), record);
    else if (item == 3)
        sendToBar(askForBar(window_.editedBar() + 1), record);
}

void DrumEditor::saveAsTemplate(const notation::DrumRecord& record)
{
    notation::DrumStore& templates = stores_.DrumTemplates;
    const QString name = RecordName(record);
    const auto same = std::find_if(templates.begin(), templates.end(),
        [&name](const notation::DrumRecord& t) { return RecordName(t) == name; });
    if (same != templates.end()) {
        const PromptAnswer answer
            = Prompts::current().ask({ QStringLiteral("已包含一个同名鼓点，按“是”替换它，否则请更换名称。"),
                QStringLiteral("将鼓点保存至Dat模板文件.."), platform::PromptIcon::Information,
                platform::PromptButtons::YesNo, PromptAnswer::Yes });
        if (answer != PromptAnswer::Yes)
            return;
        *same = record;
    } else {
        AppendDrumRecord(templates, record);
    }
    fillTemplateList();
    if (!SaveDrumTemplates(templates)) {
        Prompts::current().information(notation::kWriteFailedMessage);
        return;
    }
    Prompts::current().beep();
    window_.showHint(QStringLiteral("保存当前界面到鼓点模板，成功！"));
    Prompts::current().information(QStringLiteral("保存成功！"));
}

} // namespace tunvale::drums
