#pragma once

#include "app/frame/open_score_registry.h"
#include "app/frame/window_raiser.h"

#include <QString>

// The one-window-per-score decision that every open takes before it loads anything: bring up the
// window that already shows the score, start a further window beside this one, or load here.
namespace tunvale::frame {

inline const QString kBusyWindowMessage = QStringLiteral("该简谱已在另一个窗口中打开，但那个窗口没有响应。");
inline const QString kStartFailedMessage = QStringLiteral("无法启动新的窗口！");
inline const QString kSaveFirstQuestion = QStringLiteral("当前简谱有修改，先保存吗？");

// What the decision uses: the open-score registry, the raise protocol, the start of a further
// process, the recent list and the state of this window.
class OpenServices
{
public:
    virtual ~OpenServices() = default;

    virtual qint64 FindFileWindow(const QString& path) const = 0;
    // Registers `path` for this window (nothing for a path that can't be a key, or that another live
    // window shows).
    virtual void Register(const QString& path) = 0;
    // Removes the entry of `path` while it still holds `id`.
    virtual void RemoveEntry(const QString& path, qint64 id) = 0;
    virtual RaiseVerdict RestoreWindow(qint64 id, const QString& path) = 0;

    // [WinPos] from this window, so a further window opens beside it.
    virtual void WriteWinPos() = 0;
    // Starts a further window process with "/OpenFile" and `path`; false when it could not start.
    virtual bool StartWindow(const QString& path) = 0;

    virtual void AddRecentFile(const QString& path) = 0;

    // True while this window's score has unsaved changes.
    virtual bool ScoreModified() const = 0;
    // Saves this window's score as the Save command does; true when it was saved.
    virtual bool SaveScore() = 0;
};

enum class OpenOutcome {
    LoadHere, // load the score into this window (it is registered already)
    Raised, // another window shows it and is up
    Started, // a further window was started for it
    CloseThisWindow, // another window shows it and this unchanged untitled window goes
    Nothing, // cancelled, or a failure the user was told about
};

// The decision for opening `path` in a window whose score is `currentFile` (the template's path while
// untitled, empty while the window loads its first score). Both paths are in ScorePathKey. Before
// loading over unsaved changes it asks to save them, unless the caller has settled them already.
OpenOutcome DecideOpen(
    const QString& path, const QString& currentFile, bool changesSettled, OpenServices& services);

// An ordinary start of `path` (in ScorePathKey) that a live window shows brings that window up, or
// tells that it does not answer; either way the start opens no window of its own and the result is
// true. An entry whose window is gone is removed and the start goes on.
bool ShownByAnotherWindow(const QString& path, const OpenScoreRegistry& registry, qint64 ownId);

} // namespace tunvale::frame
