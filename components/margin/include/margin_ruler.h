#pragma once

#include <QPointer>
#include <QVariantMap>
#include <QWidget>

#include <memory>
#include <vector>

#if defined(TUNVALE_MARGIN_LIBRARY)
#define TUNVALE_MARGIN_EXPORT Q_DECL_EXPORT
#else
#define TUNVALE_MARGIN_EXPORT Q_DECL_IMPORT
#endif

class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;

// The margin ruler: a strip that stands in the main toolbar's place, with a line-spacing chooser and
// spinner and a menu button at its left end, and a centimetre scale of a 210 mm page whose zero lies
// under the score editor's left edge, with a green pin and band for the left margin and a red one for
// the right margin. Lengths are twips.
namespace tunvale::margin {

class GuideLine;
class MarginModel;
class SpinArrows;
struct RulerEvent;
enum class RulerPart;

class TUNVALE_MARGIN_EXPORT MarginRuler : public QWidget
{
    Q_OBJECT

public:
    explicit MarginRuler(QWidget* parent = nullptr);
    ~MarginRuler() override;

    // Left margin from the page's left edge and right margin from its right edge; a negative value is
    // ignored.
    int nLSpace() const;
    void setNLSpace(int twips);
    int nRSpace() const;
    void setNRSpace(int twips);
    // Where the scale's zero stands in the strip, the scale's top, the strip's height, the page bar's
    // width until the scale is drawn again, and the drawn page's scale factor (1 is true size).
    int bcLeft() const;
    void setBcLeft(int twips);
    int bcTop() const;
    void setBcTop(int twips);
    int bcHeight() const;
    void setBcHeight(int twips);
    int bcWidth() const;
    void setBcWidth(int twips);
    double bcWidth_n() const;
    void setBcWidth_n(double factor);
    // Told when the ruler takes or leaves the toolbar's place: lays the ruler out again, which returns
    // the line-kind chooser to "当前行". It neither shows nor hides the ruler.
    void setShow(bool show);

    // The persisted properties, as the host's property bag holds them.
    void ReadProperties(const QVariantMap& bag);
    QVariantMap WriteProperties() const;

    QMenu* controlMenu() const { return menu_; }
    const MarginModel& model() const { return *model_; }

signals:
    void LRValueChang(int nLSpace, int nRSpace);
    void aChangBegin();
    void aChangOver();
    void BjMainMun();
    void SetLineSpcing(int SetMod1, int yLineSpcing);
    void ShowMyHelp();
    // A persisted property was set.
    void propertyChanged(const QString& name);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void buildControls();
    void raiseEvents(const std::vector<RulerEvent>& events);
    void layOut();
    void endOpenGesture();
    void setFocusColour(const QColor& colour);
    double pixels(double twips) const;
    // Pointer position in the scale's twips.
    QPointF scalePoint(const QPointF& position) const;
    bool overControls(const QPointF& position) const;

    std::unique_ptr<MarginModel> model_;
    QLabel* label1_ = nullptr;
    QComboBox* combo1_ = nullptr;
    QLineEdit* text2_ = nullptr;
    SpinArrows* vScroll1_ = nullptr;
    QMenu* menu_ = nullptr;
    QPointer<GuideLine> guide_; // a sibling over the window below the ruler
    RulerPart pressedPart_ {}; // what took the mouse; None while no button is held
};

// Creates a ruler owned by the caller (and by `parent` as its widget parent).
TUNVALE_MARGIN_EXPORT MarginRuler* CreateMarginRuler(QWidget* parent);

} // namespace tunvale::margin

using 左右边距 = tunvale::margin::MarginRuler;
