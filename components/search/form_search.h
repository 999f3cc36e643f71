#pragma once

#include <QStringList>
#include <QWidget>

class QAction;
class QComboBox;
class QFileSystemModel;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QTreeView;

namespace tunvale::search {

// The search window: the user picks a mount point and a folder, types a part of a file name, searches,
// sorts the found titles by pinyin or strokes from the list's pop-up menu and picks one file. A pick
// sets the component's ChosenFile; closing the window in any way ends the caller's wait.
class FormSearch : public QWidget
{
    Q_OBJECT

public:
    // A tool window above `owner`, which it closes with; at load it opens in the component's
    // StartFolder, or the home folder when that is missing.
    explicit FormSearch(QWidget* owner);
    ~FormSearch() override;

    const QStringList& foundNames() const { return FoundNames; }
    const QStringList& foundPaths() const { return FoundPaths; }
    // The folder a search starts from: the one highlighted in the folder tree.
    QString highlightedFolder() const;
    // Moves the folder tree to `path` on its mount point; false when it is no readable folder.
    bool goToFolder(const QString& path);

signals:
    void unloaded();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildMenu();
    void load();
    void unload();
    void setStatus(const QString& text);
    void fillList();
    void startSearch();
    void showChosenFile(int row);
    void pick();
    void sortTitles(int k);
    void setListFontSize(int k);
    void toggleIgnoreBlanks();
    void chooseMountPoint(int index);
    void fillDrives();

    bool HL = true;
    QString SearchRoot;
    QStringList FoundNames;
    QStringList FoundPaths;
    QString currentDrive_;
    bool open_ = false;

    QComboBox* Drive1 = nullptr;
    QFileSystemModel* folders_ = nullptr;
    QTreeView* Dir1 = nullptr;
    QLineEdit* SearchFileText = nullptr;
    QPushButton* Command1 = nullptr;
    QListWidget* List1 = nullptr;
    QPushButton* Command2 = nullptr;
    QLabel* Panel1 = nullptr;
    // How many folders the last search could not enter, and which in its tip; hidden when none.
    QLabel* skippedFolders_ = nullptr;
    QMenu* Mun = nullptr;
    QAction* SortHZ[2] = {};
    QAction* Hsize[2] = {};
    QAction* HLKG = nullptr;
};

} // namespace tunvale::search
