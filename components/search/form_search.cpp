#include "components/search/form_search.h"

#include "components/search/search_state.h"
#include "components/search/search_status.h"
#include "components/search/tree_search.h"
#include "glyphrank.h"
#include "platform/desktop/prompts.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QStorageInfo>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

namespace tunvale::search {

namespace {

const QString kSongFont = QStringLiteral("宋体");

bool isEnter(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

QFont songFont(double points)
{
    QFont font(kSongFont);
    font.setPointSizeF(points);
    return font;
}

} // namespace

FormSearch::FormSearch(QWidget* owner)
    : QWidget(owner, Qt::Tool)
{
    setObjectName(QStringLiteral("FormSearch"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("搜索打开..."));
    buildControls();
    buildMenu();
    if (owner)
        owner->installEventFilter(this);
    load();
}

FormSearch::~FormSearch() { unload(); }

void FormSearch::buildControls()
{
    auto* frame1 = new QGroupBox(QStringLiteral("目录及文件名"), this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    Drive1 = new QComboBox(frame1);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    folders_ = new QFileSystemModel(this);
    folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    folders_->setReadOnly(true);
    folders_->setRootPath(QStringLiteral("/"));
    Dir1 = new QTreeView(frame1);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Dir1->setModel(folders_);
    Dir1->setHeaderHidden(true);
    for (int column = 1; column < folders_->columnCount(); ++column)
        Dir1->hideColumn(column);
    auto* label1 = new QLabel(QStringLiteral("文件名(部分)："), frame1);
    label1->setObjectName(QStringLiteral("Label1"));
    SearchFileText = new QLineEdit(frame1);
    SearchFileText->setObjectName(QStringLiteral("SearchFileText"));
    SearchFileText->setFont(songFont(12));
    SearchFileText->setToolTip(QStringLiteral("文件名内容为空，则显示目录下全部文件.."));
    SearchFileText->installEventFilter(this);
    Command1 = new QPushButton(QStringLiteral("开始搜索"), frame1);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setToolTip(QStringLiteral("输入搜索(部分)文件名，按此.."));
    auto* left = new QVBoxLayout(frame1);
    left->addWidget(Drive1);
    left->addWidget(Dir1, 1);
    left->addWidget(label1);
    left->addWidget(SearchFileText);
    left->addWidget(Command1);

    auto* frame2 = new QGroupBox(QStringLiteral("Vls文件(双击打开，右击排序)"), this);
    frame2->setObjectName(QStringLiteral("Frame2"));
    List1 = new QListWidget(frame2);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setFont(songFont(10.5));
    List1->installEventFilter(this);
    List1->viewport()->installEventFilter(this);
    Command2 = new QPushButton(QStringLiteral("确定"), frame2);
    Command2->setObjectName(QStringLiteral("Command2"));
    auto* right = new QVBoxLayout(frame2);
    right->addWidget(List1, 1);
    right->addWidget(Command2, 0, Qt::AlignRight);

    auto* statusBar = new QStatusBar(this);
    statusBar->setObjectName(QStringLiteral("StatusBar1"));
    statusBar->setSizeGripEnabled(false);
    Panel1 = new QLabel(statusBar);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    statusBar->addWidget(Panel1, 1);
    skippedFolders_ = new QLabel(statusBar);
    skippedFolders_->setObjectName(QStringLiteral("SkippedFolders"));
    statusBar->addPermanentWidget(skippedFolders_);
    skippedFolders_->hide();

    auto* frames = new QHBoxLayout;
    frames->addWidget(frame1, 2);
    frames->addWidget(frame2, 3);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 0);
    layout->addLayout(frames, 1);
    layout->addWidget(statusBar);
    resize(760, 500);

    // Folders load in the background: keep the highlighted one in view as its parents arrive.
    connect(folders_, &QFileSystemModel::directoryLoaded, this,
        [this] { Dir1->scrollTo(Dir1->currentIndex(), QAbstractItemView::PositionAtCenter); });
    connect(Drive1, &QComboBox::activated, this, &FormSearch::chooseMountPoint);
    connect(Command1, &QPushButton::clicked, this, &FormSearch::startSearch);
    connect(Command2, &QPushButton::clicked, this, &FormSearch::pick);
    connect(List1, &QListWidget::currentRowChanged, this, &FormSearch::showChosenFile);
    connect(List1, &QListWidget::itemDoubleClicked, this, &FormSearch::pick);
}

void FormSearch::buildMenu()
{
    Mun = new QMenu(QStringLiteral("选项"), this);
    Mun->setObjectName(QStringLiteral("Mun"));
    const QString sortCaptions[2] = { QStringLiteral("按拼音排序"), QStringLiteral("按笔画排序") };
    for (int k = 0; k < 2; ++k) {
        SortHZ[k] = Mun->addAction(sortCaptions[k], this, [this, k] { sortTitles(k); });
        SortHZ[k]->setObjectName(QStringLiteral("SortHZ%1").arg(k));
        SortHZ[k]->setCheckable(true);
    }
    Mun->addSeparator();
    QMenu* sizes = Mun->addMenu(QStringLiteral("显示字号"));
    sizes->setObjectName(QStringLiteral("ZH"));
    const QString sizeCaptions[2] = { QStringLiteral("大"), QStringLiteral("小") };
    for (int k = 0; k < 2; ++k) {
        Hsize[k] = sizes->addAction(sizeCaptions[k], this, [this, k] { setListFontSize(k); });
        Hsize[k]->setObjectName(QStringLiteral("Hsize%1").arg(k));
        Hsize[k]->setCheckable(true);
    }
    Mun->addSeparator();
    HLKG = Mun->addAction(QStringLiteral("忽略空格探索(默认)"), this, &FormSearch::toggleIgnoreBlanks);
    HLKG->setObjectName(QStringLiteral("HLKG"));
    HLKG->setCheckable(true);
}

void FormSearch::load()
{
    HL = true;
    HLKG->setChecked(true);
    Command2->setEnabled(false);
    open_ = true;
    searchState().SearchWindowOpen = true;
    Command1->setFocus();
    setStatus(QStringLiteral("搜索完成后，可用鼠标右击列表框进行歌名排序。"));
    const QString start = searchState().StartFolder;
    if (start.isEmpty() || !goToFolder(start))
        goToFolder(QDir::homePath());
}

void FormSearch::unload()
{
    if (!open_)
        return;
    open_ = false;
    searchState().SearchWindowOpen = false;
    emit unloaded();
}

void FormSearch::closeEvent(QCloseEvent* event)
{
    unload();
    event->accept();
}

void FormSearch::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The start folder was chosen before the tree had its size: bring it into view once it has, also
    // when its folders were read before and no load follows.
    QTimer::singleShot(
        0, this, [this] { Dir1->scrollTo(Dir1->currentIndex(), QAbstractItemView::PositionAtCenter); });
}

bool FormSearch::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parent() && event->type() == QEvent::Close) {
        close();
    } else if (watched == SearchFileText && event->type() == QEvent::KeyPress) {
        if (isEnter(event))
            startSearch();
        Command1->setEnabled(true);
    } else if (watched == List1 && isEnter(event)) {
        pick();
        return true;
    } else if (watched == List1->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const bool any = List1->count() > 0;
        SortHZ[0]->setEnabled(any);
        SortHZ[1]->setEnabled(any);
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton)
            Mun->popup(mouse->globalPosition().toPoint());
    }
    return QWidget::eventFilter(watched, event);
}

void FormSearch::setStatus(const QString& text) { Panel1->setText(text); }

void FormSearch::fillDrives()
{
    Drive1->clear();
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady())
            roots << volume.rootPath();
    }
    roots.sort();
    roots.removeDuplicates();
    for (const QString& root : std::as_const(roots))
        Drive1->addItem(root, root);
}

bool FormSearch::goToFolder(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isDir() || !info.isReadable())
        return false;
    const QString folder = info.absoluteFilePath();
    const QString drive = QStorageInfo(folder).rootPath();
    if (Drive1->findData(drive) < 0)
        fillDrives();
    if (Drive1->findData(drive) < 0)
        Drive1->addItem(drive, drive);
    Drive1->setCurrentIndex(Drive1->findData(drive));
    currentDrive_ = drive;
    Dir1->setRootIndex(folders_->index(drive));
    const QModelIndex index = folders_->index(folder);
    Dir1->setCurrentIndex(index);
    Dir1->expand(index);
    Dir1->scrollTo(index, QAbstractItemView::PositionAtCenter);
    return true;
}

QString FormSearch::highlightedFolder() const
{
    const QModelIndex index = Dir1->currentIndex().isValid() ? Dir1->currentIndex() : Dir1->rootIndex();
    return index.isValid() ? folders_->filePath(index) : currentDrive_;
}

void FormSearch::chooseMountPoint(int index)
{
    const QString drive = Drive1->itemData(index).toString();
    if (drive == currentDrive_)
        return;
    const QFileInfo info(drive);
    if (!info.isDir() || !info.isReadable() || !goToFolder(drive)) {
        platform::Prompts::current().information(QStringLiteral("设备不可用!"));
        Drive1->setCurrentIndex(Drive1->findData(currentDrive_));
    }
}

void FormSearch::fillList()
{
    List1->clear();
    for (qsizetype i = 0; i < FoundNames.size(); ++i)
        List1->addItem(QStringLiteral("%1.%2").arg(i + 1).arg(FoundNames[i]));
}

void FormSearch::startSearch()
{
    Command1->setEnabled(false);
    Command1->setText(QStringLiteral("搜索中..."));
    Command2->setEnabled(false);
    Command1->repaint();
    const QString text = HL ? withoutSpaces(SearchFileText->text()) : SearchFileText->text();
    SearchRoot = highlightedFolder();
    List1->clear();

    QStringList names;
    QStringList paths;
    Class_Search search;
    const int n = search.TreeSearch(SearchRoot, text, names, paths, HL);
    if (n > 0) {
        FoundNames = names;
        FoundPaths = paths;
        fillList();
        Command1->setEnabled(true);
        List1->setFocus();
        SortHZ[0]->setChecked(false);
        SortHZ[1]->setChecked(false);
    }
    Command1->setText(QStringLiteral("开始搜索"));
    setStatus(foundFilesText(n));
    // Folders that could not be entered are no silent gap in the list.
    const QStringList& skipped = search.unenterableFolders();
    skippedFolders_->setText(QStringLiteral("%1 个文件夹无法进入").arg(skipped.size()));
    skippedFolders_->setToolTip(skipped.join(u'\n'));
    skippedFolders_->setVisible(!skipped.isEmpty());
    if (n > 0)
        List1->setCurrentRow(0);
}

void FormSearch::showChosenFile(int row)
{
    if (row < 0 || row >= FoundPaths.size())
        return;
    setStatus(statusPath(FoundPaths[row], SearchRoot));
    Command2->setEnabled(true);
}

void FormSearch::pick()
{
    const int row = List1->currentRow();
    if (row < 0 || row >= FoundPaths.size() || !List1->item(row)->isSelected())
        return;
    searchState().ChosenFile = FoundPaths[row];
    close();
}

void FormSearch::sortTitles(int k)
{
    SortHZ[0]->setChecked(k == 0);
    SortHZ[1]->setChecked(k == 1);
    setStatus(QStringLiteral("请稍候..."));
    Panel1->repaint();
    auto sorter
        = glyphrank::createSorter(k == 0 ? glyphrank::SortOrder::Pinyin : glyphrank::SortOrder::Strokes);
    sorter->Glyphrank(FoundNames, FoundPaths);
    setStatus(k == 0 ? QStringLiteral("排序完成（多音字以第一个音为准）。")
                     : QStringLiteral("排序完成（非常用字不参与排序，列最前边）。"));
    fillList();
}

void FormSearch::setListFontSize(int k)
{
    List1->setFont(songFont(k == 0 ? 16 : 9));
    Hsize[0]->setChecked(k == 0);
    Hsize[1]->setChecked(k == 1);
}

void FormSearch::toggleIgnoreBlanks()
{
    HL = HLKG->isChecked();
    Command1->setEnabled(true);
}

} // namespace tunvale::search
