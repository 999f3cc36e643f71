#pragma once

#include "components/symbolpick/palette_model.h"
#include "components/symbolpick/palette_scroll.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QTabBar;

// The palette window "符号...": the kinds of "Note.ini" on tabs, each a grid of characters in its own
// font, a preview, the insert options and Insert. One per process, kept hidden while closed; opening
// it again reads "Note.ini" afresh.
namespace tunvale::symbolpick {

class PaletteWindow : public QWidget
{
    Q_OBJECT

public:
    explicit PaletteWindow(QWidget* mainWindow);
    ~PaletteWindow() override;

    // Loads and shows a closed palette, or brings an open one to the front.
    void open(QWidget* mainWindow);
    bool isLoaded() const { return loaded_; }

    QString sizeBoxText() const;
    void setSizeBoxText(const QString& text);
    bool boldTicked() const;
    bool sizeTicked() const;
    bool raiseTicked() const;

signals:
    // Insert or a double-click handed a character to the caller.
    void inserted();
    // The palette closed.
    void unloaded();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void place(QWidget* widget, int left, int top, int width, int height);
    // Where it was last (the first time at the main window's right), wholly within the screen's
    // available area.
    void placeOnScreen(const QWidget* mainWindow);
    void load();
    void unload();
    void showKind(int k);
    void drawGrid();
    void showPreview(const QString& text, double points);
    void moveCanvas();
    void pick(QPointF pixels);
    void insert();
    void setStatus(const QString& text);

    double twipsPerPixel_ = 15;
    bool loaded_ = false;
    bool placed_ = false;
    PaletteModel model_;
    PaletteScroll scroll_;
    int currentKind_ = 0;
    QString selectedChar_;

    QTabBar* TabStrip1 = nullptr;
    QWidget* PicMain = nullptr;
    QWidget* PicBack = nullptr;
    QLabel* PicMdi = nullptr;
    QScrollBar* VScroll1 = nullptr;
    QLabel* PicShow = nullptr;
    QCheckBox* Check1 = nullptr;
    QCheckBox* Check2 = nullptr;
    QCheckBox* Check3 = nullptr;
    QLineEdit* Text1 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QLabel* StatusPanel = nullptr;
};

} // namespace tunvale::symbolpick
