#include "app/editor/main_form.h"

#include "app/editor/main_toolbar.h"
#include "app/frame/process_state.h"
#include "app/notation/drum_data.h"
#include "app/notation/play_order.h"
#include "app/notation/score_template.h"
#include "platform/desktop/prompts.h"
#include "platform/richtext/rich_text_edit.h"
#include "platform/richtext/rtf_reader.h"
#include "platform/richtext/rtf_writer.h"

#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextDocument>

// Opening a score into the window: the file's header, switches, rich text, drums and play order.
namespace tunvale::editor {

namespace {

// Scores written with the notation font's older name show in the current family. Only the font
// table is touched: text that spells the name stays as it is.
void renameOldNotationFont(platform::RichContent& content)
{
    const auto rename = [](platform::RunFormat& format) {
        if (format.font.compare(QStringLiteral("Velmora"), Qt::CaseInsensitive) == 0)
            format.font = QStringLiteral("KORVA_Note");
    };
    for (platform::RichParagraph& paragraph : content) {
        for (platform::TextRun& run : paragraph.runs)
            rename(run.format);
        rename(paragraph.mark);
    }
}

// The score at `fileName` as read, or the reason it could not be.
frame::VlsDocument readScore(const QString& fileName)
{
    const frame::ProcessState& state = frame::Process();
    return frame::ReadVls(fileName, state.ScoreHeader, state.ColorScheme);
}

} // namespace

bool MainForm::OpenVls(const QString& FileName)
{
    const QString templatePath = notation::TemplatePath();
    frame::VlsDocument document = readScore(FileName.isEmpty() ? templatePath : FileName);
    if (document.status == frame::VlsReadStatus::Missing
        || document.status == frame::VlsReadStatus::Unreadable) {
        platform::Prompts::current().information(document.status == frame::VlsReadStatus::Missing
                ? QStringLiteral("文件不存在!")
                : QStringLiteral("无法打开文件：") + FileName);
        if (notation::IsTemplatePath(FileName) || templatePath.isEmpty()) {
            frame::Process().ScoreHeader.CurrentFile = templatePath;
            return true;
        }
        document = readScore(templatePath);
    }
    if (document.status == frame::VlsReadStatus::TooNew) {
        platform::Prompts::current().information(frame::kTooNewMessage);
        return false;
    }
    if (document.status != frame::VlsReadStatus::Ok)
        return true;

    frame::ProcessState& state = frame::Process();
    state.ScoreHeader = document.header;
    state.ColorScheme = document.colors;
    frame::ApplyVlsSettings(document, *this);

    std::optional<platform::RichContent> content
        = platform::ReadRtf(document.body, RichTextBox1->document()->defaultFont());
    if (content) {
        renameOldNotationFont(*content);
        editor().setTextRTF(platform::WriteRtf(*content));
    }
    editorState.CaretLine = 1;
    editor().setSelStart(0);
    showScoreValues();
    setWindowTitle(QStringLiteral("Tunvale"));

    notation::DrumStore& drums = notation::ProcessDrumStores().XjDrums;
    drums.assign(1, notation::DrumRecord {});
    notation::ReadDrumData(drums, state.ScoreHeader.CurrentFile);
    notation::ProcessPlayOrder().LoadPlayOrder();
    state.ScoreHeader.ScoreSaved = notation::kTrue;
    JzRTB(0);
    return true;
}

// The instrument, tempo and volume of the score. A value the control cannot take is still shown in its
// box, the scroll bar going as far as it can; an instrument the list does not hold shows item 0.
void MainForm::showScoreValues()
{
    const notation::ScoreHeader& header = frame::Process().ScoreHeader;
    QComboBox* sounds = Toolbar1->ComSounds;
    sounds->setCurrentIndex(
        header.Instrument >= 0 && header.Instrument < sounds->count() ? header.Instrument : 0);
    const QSignalBlocker speedBlocker(Toolbar1->VScroll1[0]);
    const QSignalBlocker volumeBlocker(Toolbar1->VScroll1[1]);
    Toolbar1->Text_Speed->setText(QString::number(header.Speed));
    Toolbar1->Text_Volume->setText(QString::number(header.Volume));
    Toolbar1->VScroll1[0]->setValue(header.Speed);
    Toolbar1->VScroll1[1]->setValue(header.Volume);
}

} // namespace tunvale::editor
