#pragma once

#include "app/frame/open_decision.h"
#include "app/frame/open_score_registry.h"
#include "platform/desktop/file_dialog.h"
#include "platform/richtext/font_tally.h"
#include "platform/richtext/text_height.h"

#include <QString>

#include <functional>
#include <optional>

// The File menu's score commands: New, Open, Save, Save As, the recent files and the open routine
// that all of them and start-up share.
namespace tunvale::frame {

class ScoreWindow;

inline const QString kFileMissingMessage = QStringLiteral("文件不存在!");
inline const QString kCannotOpenMessage = QStringLiteral("无法打开文件：");
// Why a file could not be opened, said on the line after kCannotOpenMessage and the path.
inline const QString kNotAScoreReason = QStringLiteral("这不是乐谱文件。");
inline const QString kDamagedReason = QStringLiteral("乐谱文件已损坏。");
inline const QString kFolderReason = QStringLiteral("这是一个文件夹，不是乐谱文件。");
inline const QString kNoPermissionReason = QStringLiteral("没有读取这个文件的权限。");
inline const QString kUnreadableReason = QStringLiteral("文件无法读取。");
// The window's layout never ends on a text taller than it can count, so a taller score is refused.
inline const QString kTallTextReason
    = QStringLiteral("乐谱排开后高度超过 %1 像素（字号太大、行距太大或页边距太宽），无法显示。")
          .arg(qint64(platform::kMaxTextHeight));
// A text in thousands of fonts would keep the window busy for minutes.
inline const QString kTooManyFontsReason
    = QStringLiteral("乐谱用到的字体超过 %1 种（字体、字号和粗细的搭配），无法显示。")
          .arg(platform::kMostFonts);
inline const QString kSaveTooManyFontsMessage = QStringLiteral(
    "乐谱没有保存：乐谱用到的字体超过 %1 种（字体、字号和粗细的搭配），存成的文件将无法再打开。"
    "原文件没有改动。")
                                                    .arg(platform::kMostFonts);
inline const QString kSaveTooTallMessage = QStringLiteral(
    "乐谱没有保存：乐谱排开后高度超过 %1 像素（字号太大、行距太大或页边距太宽），存成的文件将无法再打开。"
    "原文件没有改动。")
                                               .arg(qint64(platform::kMaxTextHeight));
// Why the window cannot show the score text `rtf` once its margins (twips) are laid on: more fonts than it
// lays out in time, or a height its layout cannot count. Nothing when it can show it or when it is no
// RTF.
std::optional<QString> UnshowableTextReason(const QString& rtf, int leftMargin, int rightMargin);

// The message of a file that could not be opened: the path, then why.
QString CannotOpenText(const QString& path, const QString& reason);
inline const QString kRecentMissingMessage = QStringLiteral("文件未找到...");
inline const QString kTemplateRefusedMessage = QStringLiteral("不能保存为空白模板，请换一个文件名。");
inline const QString kAskSaveQuestion = QStringLiteral("简谱有修改，需要先保存？");

using FileDialogFunction = std::function<QString(const platform::FileDialogRequest&, bool isSave)>;
using RestoreWindowFunction = std::function<RaiseVerdict(qint64 id, const QString& path)>;

// What the commands reach beyond the window; tests replace each.
struct ScoreFileServices {
    qint64 ownId = 0; // this process's id (the default: the real one)
    QString program; // the program a further window runs (the default: this one)
    OpenScoreRegistry registry;
    RestoreWindowFunction restoreWindow; // the default asks the process over its socket
    FileDialogFunction fileDialog; // the default: ShowFileDialog
};

class ScoreFileCommands
{
public:
    explicit ScoreFileCommands(ScoreWindow& window, ScoreFileServices services = {});

    // Opens `fileName` for this window: in another window when one shows it or this one shows another
    // named score, else here. `changesSettled`: the caller has already dealt with unsaved changes.
    void OpenVls(const QString& fileName, bool changesSettled = false);

    void newScore();
    // The open dialog, then the one-window open of the chosen score.
    void openWithDialog();
    // True when the score was saved.
    bool save();
    bool saveAs();
    // Asks to save a changed score and saves it on OK.
    void AskSaveIfModified();
    // Opens the recent entry `path` (the clicked item's data).
    void openRecentFile(const QString& path);
    // Records `path` in the recent list and rebuilds the menu when the list changed.
    void AddRecentFile(const QString& path);

    const ScoreFileServices& services() const { return services_; }

private:
    class OpenServicesOfWindow;

    bool loadHere(const QString& path);
    bool saveTo(const QString& target, bool drumPZFromMenu);
    QString askSaveName(const QString& title, const QStringList& filters, const QString& folder);

    ScoreWindow& window_;
    ScoreFileServices services_;
};

// The user folder's "vls", made when missing: where scores are saved.
QString UserScoreFolder();
// The data folder's "vls": the sample scores.
QString SampleScoreFolder();
// Where opening and searching start: the user folder's "vls" when it holds a score, else the samples,
// so that a new user finds something.
QString ScoreBrowseFolder();
// True for a path inside the read-only data folder.
bool IsInDataFolder(const QString& path);

} // namespace tunvale::frame
