#pragma once

#include <QString>

// Which window process shows which score: section [FileN] of "MyNote.ini" in the user folder maps a
// score's path to the decimal process id of its window. Paths are in the form ScorePathKey gives.
namespace tunvale::frame {

class OpenScoreRegistry
{
public:
    // The user folder's "MyNote.ini", or another file tests name.
    OpenScoreRegistry();
    explicit OpenScoreRegistry(QString iniFile);

    // True for a path that may be a key: not empty, not the template, and free of what an ini line
    // cannot hold as a key ("=", CR, LF, NUL, blanks at either end).
    static bool CanRegister(const QString& path);

    // The process id registered for `path`: the leading number of its value, 0 when there is none.
    // Whether that process still lives is not checked.
    qint64 FindFileWindow(const QString& path) const;

    // Registers `path` for the process `id`, replacing what the key held; false when the path can't be
    // a key or the file can't be written.
    bool Register(const QString& path, qint64 id) const;

    // Registers `path` for the process `id` unless another process's window lives and shows it: that
    // window keeps its entry, and a second window on the score registers nothing. True when the entry
    // is `id`'s afterwards.
    bool Claim(const QString& path, qint64 id) const;

    // Removes the entry of `path` only while it still holds `id`, so another window's newer
    // registration stays.
    bool RemoveIfHeldBy(const QString& path, qint64 id) const;

    // [WinPos] "WindowPos": where the window that starts a further one stands.
    bool WriteWinPos(const QString& value) const;

    const QString& iniFile() const { return iniFile_; }

private:
    QString iniFile_;
};

} // namespace tunvale::frame
