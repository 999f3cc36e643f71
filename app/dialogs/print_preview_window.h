#pragma once

#include "app/dialogs/preview_navigator.h"
#include "app/dialogs/preview_printing.h"
#include "app/dialogs/rtf_print_preview.h"
#include "app/dialogs/score_picture.h"

#include <QImage>
#include <QWidget>

#include <memory>
#include <optional>

class QComboBox;
class QScrollBar;
class QTextDocument;
class QToolBar;
class QToolButton;

// The print preview "打印预览": the score's pages in a column, thumbnails on the left, page and zoom
// lists, navigation and a toolbar with print, zoom in, zoom out and close. Loaded unseen it also serves
// printing and the picture export.
namespace tunvale::dialogs {

// What the preview needs of the main window.
class PreviewHost
{
public:
    virtual ~PreviewHost() = default;
    // The score as the editor holds it.
    virtual const QTextDocument& scoreDocument() const = 0;
    virtual void setEditorBackground(const QColor& color) = 0;
    // The editing background of the score's colour scheme.
    virtual QColor editingBackground() const = 0;
    // Back to editing: the editing margins and wrap, every line laid out again, the focus on the page.
    virtual void EditMode() = 0;
    virtual void JzRTB(int userRightSpace) = 0;
    // The page in front as the user left it, its view where it was before the print layout, with the
    // focus.
    virtual void focusPage() = 0;
};

class PrintPreviewWindow : public QWidget
{
    Q_OBJECT

public:
    PrintPreviewWindow(PreviewHost& host, PrintServices printServices, QWidget* parent = nullptr);
    ~PrintPreviewWindow() override;

    // Paginates the editor's text on A4 with a white editor behind; the pages are drawn when shown.
    void load();
    // Saves the picture of all pages at `path`. A picture above the size limit is refused with a
    // message and nothing is written.
    PictureSave savePicture(const QString& path) const;
    // Gives the editor its background and editing layout back; runs once, also when the window closes.
    void unload();
    // Prints the pages: kSilent all once, anything else after the printer dialog.
    PrintResult printRTF(int Silent);

    const RtfPrintPreview& pagination() const { return pages_; }
    const PreviewNavigator& navigator() const { return *navigator_; }
    PreviewNavigator& navigator() { return *navigator_; }
    // Shows the navigator's state in the controls after a change made outside them.
    void refresh();

    // The toolbar's buttons by their index: 1 print, 3 zoom in, 4 zoom out, 12 close.
    void clickToolbarButton(int index);

    QComboBox* cboPage = nullptr;
    QComboBox* cboPercent = nullptr;
    QToolButton* cmdStart = nullptr;
    QToolButton* cmdPrevious = nullptr;
    QToolButton* cmdNext = nullptr;
    QToolButton* cmdEnd = nullptr;
    QScrollBar* VScroll1 = nullptr; // pages
    QScrollBar* VScroll2 = nullptr; // thumbnails
    QScrollBar* HScroll1 = nullptr; // the page column sideways

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    class ShownImages;
    class PageColumn;
    class ThumbnailStrip;
    friend class PageColumn;
    friend class ThumbnailStrip;

    void buildWindow();
    // Page k + 1 at the screen's resolution, and its thumbnail.
    QImage pageImage(int k) const;
    QImage thumbnail(int k) const;
    void placeControls();
    double twipsPerPixel() const;

    PreviewHost& host_;
    PrintServices printServices_;
    RtfPrintPreview pages_;
    std::unique_ptr<PreviewNavigator> navigator_;
    std::unique_ptr<PreviewPrinting> printing_;
    // Printing and the picture export load the window unseen; only the pages a paint shows are drawn.
    std::unique_ptr<ShownImages> pageImages_;
    std::unique_ptr<ShownImages> thumbnails_;
    QToolBar* tbPreview = nullptr;
    QWidget* Picture3 = nullptr; // the thumbnail panel
    PageColumn* pageColumn_ = nullptr;
    ThumbnailStrip* thumbStrip_ = nullptr;
    bool loaded_ = false;
    bool refreshing_ = false;
};
using frmPreview = PrintPreviewWindow;

} // namespace tunvale::dialogs
