#include "app/dialogs/print_file.h"

#include "platform/settings/write_failure.h"

#include <QPrinter>

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>

namespace tunvale::dialogs {

namespace {

// The printer writes without telling a write that failed: a document is whole when it ends with its
// trailer and its cross-reference table lies where the trailer says.
bool isWholePdf(const QByteArray& document)
{
    static constexpr QByteArrayView kStart = "startxref\n";
    static constexpr QByteArrayView kEnd = "%%EOF\n";
    const qsizetype start = document.lastIndexOf(kStart);
    if (start < 0 || !document.endsWith(kEnd))
        return false;
    const qsizetype digits = start + kStart.size();
    bool number = false;
    const qsizetype table
        = document.sliced(digits, document.size() - kEnd.size() - digits).trimmed().toLongLong(&number);
    return number && table >= 0 && document.mid(table, 4) == "xref";
}

} // namespace

PrintFile::~PrintFile()
{
    if (memory_ >= 0)
        ::close(memory_);
}

bool PrintFile::begin(QPrinter& printer)
{
    path_ = printer.outputFileName();
    error_ = 0;
    if (path_.isEmpty())
        return true;
    memory_ = ::memfd_create("tunvale-print", MFD_CLOEXEC);
    if (memory_ < 0) {
        error_ = errno;
        return false;
    }
    // The printer opens its file by name: the memory's is its entry in /proc.
    printer.setOutputFileName(memoryName());
    return true;
}

platform::WriteResult PrintFile::end(QPrinter& printer, bool printed)
{
    if (path_.isEmpty())
        return { printed, 0 };
    if (memory_ < 0)
        return { false, error_ };
    printer.setOutputFileName(path_);
    platform::WriteResult written;
    if (printed) {
        const auto document = platform::ReadWholeFile(memoryName());
        if (document && isWholePdf(*document))
            written = platform::CommitWholeFile(path_, *document);
    }
    ::close(memory_);
    memory_ = -1;
    error_ = written.error;
    return written;
}

QString PrintFile::failureText(const QString& message) const
{
    return path_.isEmpty() ? message : platform::WriteFailureText(message, path_, error_);
}

QString PrintFile::memoryName() const { return QStringLiteral("/proc/self/fd/%1").arg(memory_); }

} // namespace tunvale::dialogs
