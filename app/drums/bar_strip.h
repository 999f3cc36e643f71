#pragma once

#include "app/drums/strip_geometry.h"

#include <QHash>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <vector>

class QMenu;
class QMimeData;

// The bar strip under the score: one numbered label per bar, coloured by whether the bar has drums
// and by the audition marks, a pointer on the current bar, the caret's bar in red with a bevel, and
// two arrows that scroll. It keeps only a copy of the per-bar drum flags: what the user does becomes
// a signal, and the window does the work and pushes the flags and the bar back in.
//
// Bars in signals are 0-based; mouse positions are twips inside the label, buttons and modifier
// keys are bit sets (buttons: 1 left, 2 right, 4 middle; keys: 1 Shift, 2 Ctrl, 4 Alt).
namespace tunvale::drums {

class BarStrip : public QWidget
{
    Q_OBJECT

public:
    explicit BarStrip(QWidget* parent = nullptr);

    QColor BackColor() const;
    void setBackColor(const QColor& color);
    // While playing, presses on labels and arrows and the bar menu do nothing.
    void setIsPlaying(bool playing);
    bool isPlaying() const { return isPlaying_; }
    // The mouse pointer of the label last under the mouse, as a numbered pointer (12 no drop).
    int MousePointer() const;
    void setMousePointer(int pointer);
    // 0 transparent, 1 opaque.
    int BackStyle() const { return autoFillBackground() ? 1 : 0; }
    void setBackStyle(int style);
    // The tooltip of the label last under the mouse.
    void setXJToolTipText(const QString& text);
    void Refresh();
    bool Enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    // The two audition marks, -1 when unset, in either order.
    int nPlay1() const { return geometry_.nPlay1; }
    int nPlay2() const { return geometry_.nPlay2; }
    // The bar being played; the red mark keeps its label slot meanwhile.
    void setPlayXJ(int bar);
    QWidget* hwnd() { return this; }
    // Takes a copy of the per-bar drum flags and the current bar (at most one past the last bar).
    bool GetValueLong(const std::vector<bool>& XjDrum0, int OnXj1);
    int MyXj() const { return geometry_.MyXj; }
    // The current bar; a bar past the last one is ignored.
    void setMyXj(int bar);
    int XjCount() const { return geometry_.XjCount; }

    const StripGeometry& geometry() const { return geometry_; }
    // Twips and pixels of this widget's screen.
    double twipsPerPixel() const;
    QPointF toPixels(double x, double y) const;
    // The centre of label e and of an arrow, in pixels, for a click; (0, 0) for one that does not exist.
    QPoint labelCentre(int e) const;
    QPoint arrowCentre(Arrow arrow) const;
    QPoint pointerCentre() const;
    // The label showing `bar`, -1 when none does.
    int labelOfBar(int bar) const;
    // The bar menu and the arrow menu.
    QMenu* ABC = nullptr;
    QMenu* CDE = nullptr;
    QTimer Timer1;

    QSize sizeHint() const override;
    // Tall enough for the labels and the caret's bevel under them.
    static constexpr double HeightTwips = 540;

signals:
    void SendEdit(int XJ);
    void DelaDrum(int XJ);
    void DelAllDrum();
    void PestDrum(int XJ);
    void CopyDrum(int XJ);
    void CutDrum(int XJ);
    void PestDrumAll();
    void PestDrumSection(int first, int last);
    void DellDrumSection(int first, int last);
    void DrumSection(int first, int last);
    void OLEDragDrop(int XJ, const QMimeData* Data, int Effect, int Button, int Shift, double X, double Y);
    void XjMouseMove(int XJ, int Button, int Shift, double X, double Y);
    void XjMouseUp(int XJ, int Button, int Shift, double X, double Y);
    void XjMouseDown(int XJ, int Button, int Shift, double X, double Y);
    void XjClick(int XJ);
    void SetOnXj(int XJ);
    void SetShowBiaoTi();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool event(QEvent* event) override;

private:
    void buildMenus();
    void openBarMenu(int e, const QPoint& at);
    void pressLabel(int e, int button, int shift, QPointF twips);
    void pressArrow(Arrow arrow, int button, const QPoint& at);
    void stepArrow();
    void setPlayRange(int mode);
    void clearRange();
    void clearAll();
    void pasteOnHotBar();
    void deleteHotBar();
    void updateCursor(QPointF twips);
    // The label under a drag of a drum record that may take it; -1 when none.
    int dropLabel(const QMimeData* data, QPointF twips) const;
    QPointF twipsAt(QPointF pixels) const;
    QRectF pixelRect(const TwipsRect& r) const;
    const QPixmap& labelPixmap(const StripLabel& label, int textColour, int width);

    StripGeometry geometry_;
    QHash<quint64, QPixmap> labels_;
    qreal labelRatio_ = 0;
    QAction* speedItem_ = nullptr;
    bool isPlaying_ = false;
    bool valuesGiven_ = false;
    bool enabled_ = true;
    bool haveCopy_ = false;
    Arrow arrowIndex_ = Arrow::Left;
    bool arrowPressed_ = false;
    bool dragging_ = false;
    double dragOffset_ = 0; // where in the pointer the button went down
    int pressedLabel_ = -1;
};
using CtrlSlider = BarStrip;

} // namespace tunvale::drums
