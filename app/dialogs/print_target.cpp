#include "app/dialogs/print_target.h"

#include <QPageLayout>
#include <QPrinter>

namespace tunvale::dialogs {

namespace {

constexpr double kTwipsPerPoint = 20;
constexpr double kTwipsPerInch = 1440;

} // namespace

PrinterTarget::PrinterTarget(QPrinter& printer)
    : printer_(printer)
{
}

bool PrinterTarget::beginDocument()
{
    printer_.setCopyCount(1);
    if (!file_.begin(printer_))
        return false;
    if (painter_.begin(&printer_))
        return true;
    file_.end(printer_, false);
    return false;
}

RtfTarget PrinterTarget::target() const
{
    RtfTarget target;
    target.page = printer_.pageLayout().fullRect(QPageLayout::Point).size() * kTwipsPerPoint;
    target.pixelsPerTwip = printer_.resolution() / kTwipsPerInch;
    target.printer = true;
    return target;
}

bool PrinterTarget::newPage()
{
    pagesWhole_ = pagesWhole_ && printer_.newPage();
    return pagesWhole_;
}

DocumentEnd PrinterTarget::endDocument()
{
    const bool ended = painter_.end();
    const QPrinter::PrinterState state = printer_.printerState();
    const bool printed = ended && pagesWhole_ && state != QPrinter::Aborted && state != QPrinter::Error;
    const bool written = bool(file_.end(printer_, printed));
    if (state == QPrinter::Aborted)
        return DocumentEnd::Aborted;
    return printed && written ? DocumentEnd::Printed : DocumentEnd::Failed;
}

std::unique_ptr<QPrinter> NewScorePrinter()
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setPageOrientation(QPageLayout::Portrait);
    printer->setFullPage(true);
    return printer;
}

} // namespace tunvale::dialogs
