#pragma once

#include "app/dialogs/rtf_print_preview.h"

#include <QPainter>

#include <memory>

class QPrinter;

namespace tunvale::dialogs {

// How a print document ended.
enum class DocumentEnd {
    Printed,
    Aborted, // the print system cancelled the job
    Failed,
};

// Where the pages of one print document go: the printer, or a recording in tests. Each copy of a
// printout is a document of its own.
class PrintTarget
{
public:
    virtual ~PrintTarget() = default;

    // Opens a document; false when the printer cannot be opened.
    virtual bool beginDocument() = 0;
    virtual QPainter& painter() = 0;
    // The page size and resolution that pages are drawn for.
    virtual RtfTarget target() const = 0;
    // Starts the next page; false when the printer refuses it.
    virtual bool newPage() = 0;
    virtual DocumentEnd endDocument() = 0;
};

// The platform's printer: the whole A4 sheet at the printer's resolution, one copy per document.
class PrinterTarget final : public PrintTarget
{
public:
    explicit PrinterTarget(QPrinter& printer);

    bool beginDocument() override;
    QPainter& painter() override { return painter_; }
    RtfTarget target() const override;
    bool newPage() override;
    DocumentEnd endDocument() override;

private:
    QPrinter& printer_;
    QPainter painter_;
};

// A printer as the program prints with it: high resolution, A4 portrait, the full sheet.
std::unique_ptr<QPrinter> NewScorePrinter();

} // namespace tunvale::dialogs
