#pragma once

#include "platform/settings/whole_file.h"

#include <QString>

class QPrinter;

namespace tunvale::dialogs {

// A print to a file, written as a save is: the printer draws the document into memory, and the file
// is replaced only when all of it is there, so a failure keeps the old file. A print to a printer
// passes through untouched.
class PrintFile
{
public:
    PrintFile() = default;
    ~PrintFile();
    PrintFile(const PrintFile&) = delete;
    PrintFile& operator=(const PrintFile&) = delete;

    // Points a printer that prints to a file at memory; false when there is no memory for it.
    bool begin(QPrinter& printer);
    // Points the printer at its file again and, when the document was `printed`, writes it there.
    platform::WriteResult end(QPrinter& printer, bool printed);
    // The message of a failure: `message`, and for a file its path and why it could not be written.
    QString failureText(const QString& message) const;

private:
    QString memoryName() const;

    QString path_; // empty for a printer
    int memory_ = -1;
    int error_ = 0;
};

} // namespace tunvale::dialogs
