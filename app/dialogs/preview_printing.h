#pragma once

#include "app/dialogs/print_target.h"

#include <QString>

#include <functional>
#include <memory>

class QPrinter;
class QWidget;

namespace tunvale::dialogs {

// The pages and copies the printer dialog asks for.
struct PrintRange {
    int from = 1;
    int to = 1;
    int copies = 1;
};

// How a printout ended: printed, the dialog cancelled, a job the print system cancelled, or a failure.
// The last two have been shown to the user already; `message` repeats it for a run without a window.
struct PrintResult {
    enum class Outcome { Printed, Cancelled, Aborted, Failed };
    Outcome outcome = Outcome::Printed;
    QString message;
};

// The printer dialog and the target behind it; tests put scripted and recording ones in.
struct PrintServices {
    // Shows the printer dialog over `owner` for `printer` with pages 1 to `pages`, `range` preset; false
    // on cancel, else `range` holds the choice.
    std::function<bool(QWidget* owner, QPrinter& printer, int pages, PrintRange& range)> dialog;
    std::function<std::unique_ptr<PrintTarget>(QPrinter& printer)> target;
    QWidget* dialogOwner = nullptr;
};

// The printer dialog and the printer of the running program.
PrintServices ProgramPrintServices();

// Printing the pages of a pagination: the print preview's printRTF and the range it keeps.
class PreviewPrinting
{
public:
    static constexpr int kSilent = -1;

    PreviewPrinting(const RtfPrintPreview& pages, PrintServices services);
    ~PreviewPrinting();

    // kSilent prints every page once without a dialog; any other value shows the printer dialog
    // first, whose cancel prints nothing and says nothing. Each copy is a document of its own.
    PrintResult printRTF(int Silent);
    // The window the printer dialog belongs to.
    void setDialogOwner(QWidget* owner) { services_.dialogOwner = owner; }

    int PrintFromPage = 1;
    int PrintToPage = 1;
    int PrintCopies = 1;

private:
    // One document of pages PrintFromPage to PrintToPage.
    PrintResult PrintPages();

    const RtfPrintPreview& pages_;
    PrintServices services_;
    std::unique_ptr<QPrinter> printer_;
};

} // namespace tunvale::dialogs
