#include "app/dialogs/preview_printing.h"

#include "platform/desktop/prompts.h"

#include <QPrintDialog>
#include <QPrinter>

#include <algorithm>

namespace tunvale::dialogs {

namespace {

const QString kAborted = QStringLiteral("用户取消操作！");
const QString kFailed = QStringLiteral("打印失败！");

bool showPrintDialog(QWidget* owner, QPrinter& printer, int pages, PrintRange& range)
{
    QPrintDialog dialog(&printer, owner);
    dialog.setMinMax(1, pages);
    dialog.setFromTo(range.from, range.to);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange);
    dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, false);
    printer.setPrintRange(QPrinter::PageRange);
    printer.setCopyCount(range.copies);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    if (printer.printRange() == QPrinter::PageRange) {
        range.from = printer.fromPage();
        range.to = printer.toPage();
    } else {
        range.from = 1;
        range.to = pages;
    }
    range.copies = printer.copyCount();
    return true;
}

} // namespace

PrintServices ProgramPrintServices()
{
    PrintServices services;
    services.dialog = showPrintDialog;
    services.target = [](QPrinter& printer) { return std::make_unique<PrinterTarget>(printer); };
    return services;
}

PreviewPrinting::PreviewPrinting(const RtfPrintPreview& pages, PrintServices services)
    : pages_(pages)
    , services_(std::move(services))
    , printer_(NewScorePrinter())
{
}

PreviewPrinting::~PreviewPrinting() = default;

PrintResult PreviewPrinting::printRTF(int Silent)
{
    const int pageCount = pages_.RtfPageCount;
    if (Silent == kSilent) {
        PrintCopies = 1;
        PrintFromPage = 1;
        PrintToPage = pageCount;
    } else {
        PrintRange range { 1, pageCount, 1 };
        if (!services_.dialog(services_.dialogOwner, *printer_, pageCount, range))
            return { PrintResult::Outcome::Cancelled, {} };
        PrintFromPage = std::clamp(range.from, 1, pageCount);
        PrintToPage = std::clamp(range.to, PrintFromPage, pageCount);
        PrintCopies = std::max(1, range.copies);
    }
    PrintResult result;
    for (int copy = 0; copy < PrintCopies; ++copy) {
        const PrintResult run = PrintPages();
        if (run.outcome == PrintResult::Outcome::Printed)
            continue;
        result = run;
        // A job the print system cancelled leaves the next copy to run; a printer that failed once
        // fails again.
        if (run.outcome == PrintResult::Outcome::Failed)
            break;
    }
    return result;
}

PrintResult PreviewPrinting::PrintPages()
{
    std::unique_ptr<PrintTarget> target = services_.target(*printer_);
    const auto failed
        = [](const QString& message, PrintResult::Outcome outcome = PrintResult::Outcome::Failed) {
              platform::Prompts::current().information(message);
              return PrintResult { outcome, message };
          };
    if (!target->beginDocument())
        return failed(target->failureText(kFailed));
    for (int page = PrintFromPage; page <= PrintToPage; ++page) {
        if (page > PrintFromPage && !target->newPage()) {
            target->endDocument();
            return failed(target->failureText(kFailed));
        }
        pages_.PrintRtfPage(page, PageMargins(page), target->painter(), target->target());
    }
    switch (target->endDocument()) {
    case DocumentEnd::Printed:
        return {};
    case DocumentEnd::Aborted:
        return failed(kAborted, PrintResult::Outcome::Aborted);
    case DocumentEnd::Failed:
        break;
    }
    return failed(target->failureText(kFailed));
}

} // namespace tunvale::dialogs
