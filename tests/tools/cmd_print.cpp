#include "tests/tools/command_registry.h"
#include "tests/tools/window_loading.h"

#include "app/dialogs/print_preview_window.h"
#include "app/dialogs/recorder_window.h"
#include "app/dialogs/score_picture.h"
#include "app/editor/parts/main_form_output.h"
#include "app/editor/window/main_form.h"
#include "app/editor/window/status_panels.h"
#include "app/frame/process_state.h"
#include "app/playback/playback_state.h"
#include "platform/midi/midi_devices.h"

#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QPrinter>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

#include <algorithm>
#include <memory>

// The print road in the real main window, offscreen: pagination, the preview, printing to PDF, the
// picture and RTF exports and the recording.
namespace {

using namespace tunvale;

int pages(const QStringList& args)
{
    if (args.size() != 1) {
        scoretool::err(QStringLiteral("usage: scoretool pages IN"));
        return 2;
    }
    const auto form = scoretool::LoadWindow(args[0]);
    if (!form)
        return 1;
    auto& output = form->part<editor::MainFormOutput>();
    output.PrintMode();
    dialogs::PrintPreviewWindow preview(output, {});
    preview.load();
    const dialogs::RtfPrintPreview& pagination = preview.pagination();
    scoretool::out(QStringLiteral("pages %1").arg(pagination.RtfPageCount));
    for (const dialogs::RtfPageInfo& page : pagination.RtfPages)
        scoretool::out(QStringLiteral("page %1 %2 %3 %4")
                           .arg(page.PageNo)
                           .arg(page.StartChar)
                           .arg(page.EndChar)
                           .arg(page.Height));
    scoretool::out(QStringLiteral("last %1").arg(pagination.RtfLastPageHeight));
    preview.unload();
    return 0;
}

void printPreviewState(const dialogs::PrintPreviewWindow& preview)
{
    const dialogs::PreviewNavigator& n = preview.navigator();
    scoretool::out(
        QStringLiteral(
            "page %1 item \"%2\" zoom %3 column %4 scroll %5 start %6 previous %7 next %8 end %9 hscroll %10")
            .arg(n.CurrentPage())
            .arg(preview.cboPage->currentText(), preview.cboPercent->currentText())
            .arg(n.columnWidth())
            .arg(preview.VScroll1->value())
            .arg(scoretool::onOff(preview.cmdStart->isEnabled()),
                scoretool::onOff(preview.cmdPrevious->isEnabled()),
                scoretool::onOff(preview.cmdNext->isEnabled()), scoretool::onOff(preview.cmdEnd->isEnabled()),
                scoretool::onOff(preview.HScroll1->isEnabled())));
}

int preview(const QStringList& args)
{
    const QString usage
        = QStringLiteral("usage: scoretool preview IN [zoom-in|zoom-out|first|previous|next|last|scroll "
                         "V|wheel-down|wheel-up]... "
                         "[--shot OUT.png]");
    if (args.isEmpty()) {
        scoretool::err(usage);
        return 2;
    }
    const auto form = scoretool::LoadWindow(args[0]);
    if (!form)
        return 1;
    auto& output = form->part<editor::MainFormOutput>();
    form->action(QStringLiteral("PrintPreview1"))->trigger();
    dialogs::PrintPreviewWindow* shown = output.preview();
    if (!shown) {
        scoretool::err(QStringLiteral("no preview"));
        return 1;
    }
    printPreviewState(*shown);
    QString shot;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& action = args[i];
        if (action == QStringLiteral("--shot") && i + 1 < args.size()) {
            shot = args[++i];
            continue;
        }
        if (action == QStringLiteral("zoom-in"))
            shown->clickToolbarButton(3);
        else if (action == QStringLiteral("zoom-out"))
            shown->clickToolbarButton(4);
        else if (action == QStringLiteral("first"))
            shown->cmdStart->click();
        else if (action == QStringLiteral("previous"))
            shown->cmdPrevious->click();
        else if (action == QStringLiteral("next"))
            shown->cmdNext->click();
        else if (action == QStringLiteral("last"))
            shown->cmdEnd->click();
        else if (action == QStringLiteral("scroll") && i + 1 < args.size())
            shown->VScroll1->setValue(args[++i].toInt());
        else if (action == QStringLiteral("wheel-down") || action == QStringLiteral("wheel-up")) {
            shown->navigator().wheel(action == QStringLiteral("wheel-down") ? -120 : 120);
            shown->refresh();
        } else {
            scoretool::err(usage);
            return 2;
        }
        printPreviewState(*shown);
    }
    if (!shot.isEmpty()) {
        QTest::qWait(100);
        if (!shown->grab().save(shot)) {
            scoretool::err(QStringLiteral("cannot write %1").arg(shot));
            return 1;
        }
    }
    shown->close();
    return 0;
}

// The platform's PDF printer, telling each document it prints and counting those that failed.
class LoggingTarget final : public dialogs::PrintTarget
{
public:
    LoggingTarget(QPrinter& printer, int& documents, int& failures, const int& from, const int& to)
        : printer_(printer)
        , documents_(documents)
        , failures_(failures)
        , from_(from)
        , to_(to)
    {
    }
    bool beginDocument() override
    {
        scoretool::out(QStringLiteral("document %1 pages %2-%3").arg(++documents_).arg(from_).arg(to_));
        return counted(printer_.beginDocument());
    }
    QPainter& painter() override { return printer_.painter(); }
    dialogs::RtfTarget target() const override { return printer_.target(); }
    bool newPage() override { return counted(printer_.newPage()); }
    dialogs::DocumentEnd endDocument() override
    {
        const dialogs::DocumentEnd end = printer_.endDocument();
        counted(end == dialogs::DocumentEnd::Printed);
        return end;
    }
    QString failureText(const QString& message) const override { return printer_.failureText(message); }

private:
    bool counted(bool done)
    {
        failures_ += done ? 0 : 1;
        return done;
    }

    dialogs::PrinterTarget printer_;
    int& documents_;
    int& failures_;
    const int& from_;
    const int& to_;
};

int printPdf(const QStringList& args)
{
    const QString usage
        = QStringLiteral("usage: scoretool print-pdf IN OUT.pdf [--from A --to B] [--copies K]");
    if (args.size() < 2) {
        scoretool::err(usage);
        return 2;
    }
    int from = 0;
    int to = 0;
    int copies = 1;
    for (qsizetype i = 2; i + 1 < args.size(); i += 2) {
        int* value = args[i] == QStringLiteral("--from") ? &from
            : args[i] == QStringLiteral("--to")          ? &to
            : args[i] == QStringLiteral("--copies")      ? &copies
                                                         : nullptr;
        if (!value) {
            scoretool::err(usage);
            return 2;
        }
        *value = args[i + 1].toInt();
    }
    const QString out = QFileInfo(args[1]).absoluteFilePath();
    int documents = 0;
    int failures = 0;
    int chosenFrom = 0;
    int chosenTo = 0;
    editor::MainFormServices services;
    // The printer dialog, answered as the arguments say: the PDF printer, the range and the copies.
    services.printing.dialog = [&](QWidget*, QPrinter& printer, int pageCount, dialogs::PrintRange& range) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(out);
        range = { from > 0 ? from : 1, to > 0 ? to : pageCount, copies };
        chosenFrom = std::clamp(range.from, 1, pageCount);
        chosenTo = std::clamp(range.to, chosenFrom, pageCount);
        return true;
    };
    services.printing.target = [&](QPrinter& printer) {
        return std::make_unique<LoggingTarget>(printer, documents, failures, chosenFrom, chosenTo);
    };
    const auto form = scoretool::LoadWindow(args[0], std::move(services));
    if (!form)
        return 1;
    form->action(QStringLiteral("PRt"))->trigger();
    return documents > 0 && failures == 0 ? 0 : 1;
}

// The window with `in` loaded, whose save dialogs answer `file`.
std::unique_ptr<editor::MainForm> openWindowSavingTo(const QString& in, const QString& file)
{
    editor::MainFormServices services;
    services.outputSaveDialog
        = [file](const platform::FileDialogRequest&) { return QFileInfo(file).absoluteFilePath(); };
    return scoretool::LoadWindow(in, std::move(services));
}

int picture(const QStringList& args)
{
    if (args.size() != 2) {
        scoretool::err(QStringLiteral("usage: scoretool picture IN OUT.bmp"));
        return 2;
    }
    const auto form = openWindowSavingTo(args[0], args[1]);
    if (!form)
        return 1;
    form->action(QStringLiteral("OutputPic"))->trigger();
    if (!QFileInfo::exists(args[1]))
        return 1;
    auto& output = form->part<editor::MainFormOutput>();
    output.PrintMode();
    dialogs::PrintPreviewWindow preview(output, {});
    preview.load();
    const QSizeF canvas
        = dialogs::ScorePictureSize(preview.pagination(), frame::Process().start.PageHeightTwips);
    scoretool::out(QStringLiteral("canvas %1 %2").arg(canvas.width()).arg(canvas.height()));
    preview.unload();
    return 0;
}

int exportRtf(const QStringList& args)
{
    if (args.size() != 2) {
        scoretool::err(QStringLiteral("usage: scoretool export-rtf IN OUT.rtf"));
        return 2;
    }
    const auto form = openWindowSavingTo(args[0], args[1]);
    if (!form)
        return 1;
    form->action(QStringLiteral("OutputRTF"))->trigger();
    return QFileInfo::exists(args[1]) ? 0 : 1;
}

int record(const QStringList& args)
{
    const QString usage = QStringLiteral("usage: scoretool record IN [OUT.wav] --states S,S,...");
    const qsizetype option = args.indexOf(QStringLiteral("--states"));
    if (args.isEmpty() || option < 1 || option > 2 || option + 2 != args.size()) {
        scoretool::err(usage);
        return 2;
    }
    std::vector<int> states;
    for (const QString& state : args[option + 1].split(u',')) {
        states.push_back(state.toInt());
        if (states.back() < 2 || states.back() > 4) {
            scoretool::err(usage);
            return 2;
        }
    }
    const auto form = scoretool::LoadWindow(args[0], {}, std::make_unique<platform::SystemMidiDevices>());
    if (!form)
        return 1;
    auto& output = form->part<editor::MainFormOutput>();
    int plays = 0;
    QObject::connect(&output, &editor::MainFormOutput::playbackStartedForRecording, [&plays] { ++plays; });
    form->action(QStringLiteral("Tape"))->trigger();
    dialogs::RecorderWindow* recorder = output.recorderWindow();
    if (!recorder) {
        scoretool::err(QStringLiteral("no recorder"));
        return 1;
    }
    const QString path = option == 2 ? QFileInfo(args[1]).absoluteFilePath() : recorder->labPath->text();
    if (option == 2)
        recorder->WavFileName(path);
    // The ticks come from here, a second apart, instead of from the window's timer.
    output.setRecorderTimer(false);
    const auto press = [&](int state) {
        if (!output.recorderWindow())
            return;
        if (state == 2)
            recorder->startRecording();
        else if (state == 3)
            recorder->pauseRecording();
        else
            recorder->finishRecording();
    };
    press(states.front());
    for (size_t k = 0; k < states.size(); ++k) {
        QTest::qWait(1000);
        const int state = output.recorderWindow() ? output.recorderWindow()->RecorderState() : 0;
        output.recording().pollRecorder(output);
        scoretool::out(QStringLiteral("tick %1 state %2 panel \"%3\" plays %4")
                           .arg(k + 1)
                           .arg(state)
                           .arg(form->statusPanels().panelText(editor::StatusPanel::Recording))
                           .arg(plays));
        if (k + 1 < states.size())
            press(states[k + 1]);
    }
    if (option == 1)
        scoretool::out(QStringLiteral("path %1").arg(path));
    form->close();
    return 0;
}

} // namespace

SCORETOOL_COMMAND("pages", "IN  the print preview's pagination of a score or RTF file", pages);
SCORETOOL_COMMAND("preview",
    "IN [ACTION]... [--shot OUT.png]  the print preview after the load and after each action: zoom-in, "
    "zoom-out, first, previous, next, last, scroll V, wheel-down, wheel-up",
    preview);
SCORETOOL_COMMAND("print-pdf",
    "IN OUT.pdf [--from A --to B] [--copies K]  prints through the printer dialog to PDF", printPdf);
SCORETOOL_COMMAND(
    "picture", "IN OUT.bmp  exports all pages as one bitmap and prints its size in twips", picture);
SCORETOOL_COMMAND("export-rtf", "IN OUT.rtf  exports the score as RTF", exportRtf);
SCORETOOL_COMMAND("record",
    "IN [OUT.wav] --states S,S,...  records the playback, the recorder's buttons pressed for "
    "the states S (2 start, 3 pause, 4 finish), a tick a second",
    record);
