#pragma once

#include "platform/desktop/file_dialog.h"

#include <QString>

#include <functional>

namespace tunvale::frame {

// The dialog a command asks for the file to write through; tests script it.
using SaveDialog = std::function<QString(const platform::FileDialogRequest&)>;

// The program's own save dialog.
inline SaveDialog ProgramSaveDialog()
{
    return [](const platform::FileDialogRequest& request) { return platform::ShowFileDialog(request, true); };
}

} // namespace tunvale::frame
