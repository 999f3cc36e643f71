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
    return painter_.begin(&printer_);
}

RtfTarget PrinterTarget::target() const
{
    RtfTarget target;
    target.page = printer_.pageLayout().fullRect(QPageLayout::Point).size() * kTwipsPerPoint;
    target.pixelsPerTwip = printer_.resolution() / kTwipsPerInch;
    target.printer = true;
    return target;
}

bool PrinterTarget::newPage() { return printer_.newPage(); }

DocumentEnd PrinterTarget::endDocument()
{
    const bool ended = painter_.end();
    if (printer_.printerState() == QPrinter::Aborted)
        return DocumentEnd::Aborted;
    if (!ended || printer_.printerState() == QPrinter::Error)
        return DocumentEnd::Failed;
    return DocumentEnd::Printed;
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
