#pragma once

#include <QWidget>

#include <memory>

#if defined(TUNVALE_MARGIN_LIBRARY)
#define TUNVALE_MARGIN_EXPORT Q_DECL_EXPORT
#else
#define TUNVALE_MARGIN_EXPORT Q_DECL_IMPORT
#endif

class QMenu;

// The margin ruler: a strip that stands in the main toolbar's place, with a centimetre scale of a 210 mm
// page whose zero lies under the score editor's left edge, a green band for the left margin and a red
// one for the right margin, and a menu button. Lengths are twips.
namespace tunvale::margin {

class TUNVALE_MARGIN_EXPORT MarginRuler : public QWidget
{
    Q_OBJECT

public:
    explicit MarginRuler(QWidget* parent = nullptr);

    // Left margin from the page's left edge and right margin from its right edge.
    int nLSpace() const { return nLSpace_; }
    void setNLSpace(int twips);
    int nRSpace() const { return nRSpace_; }
    void setNRSpace(int twips);
    // Where the scale's zero stands in the strip, and the strip's height.
    int bcLeft() const { return bcLeft_; }
    void setBcLeft(int twips);
    int bcHeight() const { return bcHeight_; }
    void setBcHeight(int twips);
    // Whether the ruler stands in the toolbar's place; nothing reads it back.
    void setShow(bool show) { show_ = show; }

    QMenu* controlMenu() const { return menu_; }

signals:
    void LRValueChang(int nLSpace, int nRSpace);
    void aChangBegin();
    void aChangOver();
    void BjMainMun();
    void SetLineSpcing(int SetMod1, int yLineSpcing);
    void ShowMyHelp();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    double pixels(double twips) const;
    QRectF menuButton() const;

    int nLSpace_ = 0;
    int nRSpace_ = 0;
    int bcLeft_ = 0;
    int bcHeight_ = 0;
    bool show_ = false;
    QMenu* menu_ = nullptr;
};

// Creates a ruler owned by the caller (and by `parent` as its widget parent).
TUNVALE_MARGIN_EXPORT MarginRuler* CreateMarginRuler(QWidget* parent);

} // namespace tunvale::margin

using 左右边距 = tunvale::margin::MarginRuler;
