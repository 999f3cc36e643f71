#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

namespace tunvale::platform {

// A folder offered beside the folder view, under the name the user knows it by.
struct FileDialogPlace {
    QString folder;
    QString name;
    bool operator==(const FileDialogPlace&) const = default;
};

struct FileDialogRequest {
    QWidget* owner = nullptr;
    QString title;
    // Pairs of a description and its pattern: {"Vls 文件(*.vls)", "*.vls", "所有文件(*.*)", "*.*"}.
    QStringList filters;
    int filterIndex = 1; // 1-based, into the pairs
    QString fileName; // the proposed name
    QString initialFolder; // the desktop folder when empty
    QString defaultExtension; // ".vls": added when the user types a name without extension
    QList<FileDialogPlace> sidebarPlaces; // in this order; none: the computer and home
};

// Shows an open dialog, or a save dialog (which asks before replacing a file) when `isSave` is set.
// Returns the chosen path, or an empty string when the user cancels. Extensions match regardless of
// case, and "*.*" matches every file. The replace question is asked through Prompts about the name
// with its extension added; No returns to the dialog.
QString ShowFileDialog(const FileDialogRequest& request, bool isSave);

} // namespace tunvale::platform
