#pragma once

#include "app/dialogs/print_file.h"
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
    // The message of a failure of this target: `message`, and for a print to a file the file and why
    // it could not be written.
    virtual QString failureText(const QString& message) const { return message; }
};

// The platform's printer: the whole A4 sheet at the printer's resolution, one copy per document. A
// print to a file replaces the file only with a whole document.
class PrinterTarget final : public PrintTarget
{
public:
    explicit PrinterTarget(QPrinter& printer);

    bool beginDocument() override;
    QPainter& painter() override { return painter_; }
    RtfTarget target() const override;
    bool newPage() override;
    DocumentEnd endDocument() override;
    QString failureText(const QString& message) const override { return file_.failureText(message); }

private:
    QPrinter& printer_;
    QPainter painter_;
    PrintFile file_;
    bool pagesWhole_ = true; // no page was refused
};

// A printer as the program prints with it: high resolution, A4 portrait, the full sheet.
std::unique_ptr<QPrinter> NewScorePrinter();

} // namespace tunvale::dialogs
