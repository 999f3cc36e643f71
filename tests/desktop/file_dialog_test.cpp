#include "platform/desktop/file_dialog.h"
#include "platform/settings/desktop_folder.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/test_folders.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <functional>

using namespace tunvale::platform;

namespace {

// Answers the file dialog that the next ShowFileDialog call opens.
void whenDialogShows(std::function<void(QFileDialog&)> answer)
{
    QTimer::singleShot(0, [answer] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        answer(*dialog);
    });
}

FileDialogRequest vlsRequest(const QString& folder, const QString& name)
{
    FileDialogRequest r;
    r.title = QStringLiteral("保存简谱...");
    r.filters = { QStringLiteral("Vls 文件(*.vls)"), QStringLiteral("*.vls"), QStringLiteral("所有文件(*.*)"),
        QStringLiteral("*.*") };
    r.fileName = name;
    r.initialFolder = folder;
    r.defaultExtension = QStringLiteral(".vls");
    return r;
}

} // namespace

TEST(FileDialog, CancelGivesAnEmptyPath)
{
    QTemporaryDir dir;
    whenDialogShows([](QFileDialog& d) { d.reject(); });
    EXPECT_EQ(ShowFileDialog(vlsRequest(dir.path(), QStringLiteral("茉莉花")), true), QString());
}

TEST(FileDialog, SaveProposesTheNameWithTheDefaultExtension)
{
    QTemporaryDir dir;
    QString title;
    QString filter;
    whenDialogShows([&](QFileDialog& d) {
        title = d.windowTitle();
        filter = d.selectedNameFilter();
        static_cast<QDialog&>(d).accept();
    });
    // A "/" in a title would name a folder.
    EXPECT_EQ(ShowFileDialog(vlsRequest(dir.path(), QStringLiteral(" 1/4拍练习 ")), true),
        QDir(dir.path()).filePath(QStringLiteral("1_4拍练习.vls")));
    EXPECT_EQ(title, QStringLiteral("保存简谱..."));
    EXPECT_TRUE(filter.startsWith(QStringLiteral("Vls 文件(*.vls)"))) << filter.toStdString();
}

TEST(FileDialog, OpensOnTheDesktopFolderByDefault)
{
    const QString desktop = GetSpecialFolder(CSIDL_DESKTOPDIRECTORY);
    EXPECT_TRUE(QDir(desktop).exists()) << desktop.toStdString();
    EXPECT_EQ(GetSpecialFolder(5), QString());

    QString shown;
    whenDialogShows([&](QFileDialog& d) {
        shown = d.directory().absolutePath();
        d.reject();
    });
    FileDialogRequest request = vlsRequest(QString(), QString());
    EXPECT_EQ(ShowFileDialog(request, false), QString());
    EXPECT_EQ(shown, QDir(desktop).absolutePath());
}

TEST(FileDialog, TheReplaceQuestionNamesTheFileWithItsExtension)
{
    tunvale::testing::ScopedPrompts prompts;
    QTemporaryDir dir;
    QFile(QDir(dir.path()).filePath(QStringLiteral("song.vls"))).open(QIODevice::WriteOnly);
    FileDialogRequest request = vlsRequest(dir.path(), QStringLiteral("song"));
    request.sidebarPlaces = { { dir.path(), QStringLiteral("我的乐谱") } };
    QList<QUrl> sidebar;
    int shown = 0;
    // No: back to the dialog, which is then cancelled; Yes: the existing file is chosen.
    std::function<void(QFileDialog&)> answer = [&](QFileDialog& d) {
        ++shown;
        sidebar = d.sidebarUrls();
        if (shown == 2) {
            d.reject();
            return;
        }
        static_cast<QDialog&>(d).accept();
        if (shown == 1)
            whenDialogShows(answer);
    };
    whenDialogShows(answer);
    prompts->answers = { PromptAnswer::No };
    EXPECT_EQ(ShowFileDialog(request, true), QString());
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(prompts->texts(), QStringList { QStringLiteral("song.vls 已存在。\n要替换它吗？") });
    EXPECT_EQ(sidebar, QList<QUrl> { QUrl::fromLocalFile(dir.path()) });

    whenDialogShows(answer);
    prompts->answers = { PromptAnswer::Yes };
    EXPECT_EQ(ShowFileDialog(request, true), QDir(dir.path()).filePath(QStringLiteral("song.vls")));
}

// The names of the places in the dialog's sidebar, top down, that its width shows whole.
QStringList sidebarNames(QFileDialog& dialog)
{
    const auto* sidebar = dialog.findChild<QAbstractItemView*>(QStringLiteral("sidebar"));
    QStringList names;
    for (int row = 0; sidebar && row < sidebar->model()->rowCount(); ++row) {
        if (sidebar->sizeHintForIndex(sidebar->model()->index(row, 0)).width()
            <= sidebar->viewport()->width())
            names << sidebar->model()->index(row, 0).data().toString();
    }
    return names;
}

// Qt offers again the places and the sidebar's width of the last file dialog: a dialog shows the places
// it asks for, under the names it gives them however alike their folders' names, and one that asks for
// none shows no folder of an earlier dialog.
TEST(FileDialog, TheSidebarShowsOnlyThePlacesAskedForUnderTheirNames)
{
    tunvale::testing::ScopedSettingsFolder settings;
    QSettings qtDialogs(QSettings::UserScope, QStringLiteral("QtProject"));
    qtDialogs.setValue(QStringLiteral("FileDialog/qtVersion"), QString::fromLatin1(qVersion()));
    qtDialogs.setValue(QStringLiteral("FileDialog/sidebarWidth"), 20);
    qtDialogs.sync();
    QTemporaryDir first;
    QTemporaryDir second;
    const QString mine = QDir(first.path()).filePath(QStringLiteral("vls"));
    const QString samples = QDir(second.path()).filePath(QStringLiteral("vls"));
    ASSERT_TRUE(QDir().mkpath(mine) && QDir().mkpath(samples));
    FileDialogRequest request = vlsRequest(mine, QString());
    request.sidebarPlaces = { { mine, QStringLiteral("我的乐谱") }, { samples, QStringLiteral("示例乐谱") } };
    QList<QUrl> shown;
    QStringList names;
    QStringList namesAfterReading;
    const auto look = [&](QFileDialog& d) {
        shown = d.sidebarUrls();
        names = sidebarNames(d);
        // Qt names the places after their folders again when it reads them anew.
        d.setSidebarUrls(shown);
        namesAfterReading = sidebarNames(d);
        d.reject();
    };
    whenDialogShows(look);
    ShowFileDialog(request, false);
    EXPECT_EQ(shown, (QList<QUrl> { QUrl::fromLocalFile(mine), QUrl::fromLocalFile(samples) }));
    EXPECT_EQ(names, (QStringList { QStringLiteral("我的乐谱"), QStringLiteral("示例乐谱") }));
    EXPECT_EQ(namesAfterReading, names);

    request.sidebarPlaces.clear();
    whenDialogShows(look);
    ShowFileDialog(request, true);
    EXPECT_FALSE(shown.contains(QUrl::fromLocalFile(mine)));
    EXPECT_FALSE(shown.contains(QUrl::fromLocalFile(samples)));
    EXPECT_TRUE(shown.contains(QUrl::fromLocalFile(QDir::homePath())));
}
