#pragma once

#include <QRectF>
#include <QString>
#include <QStringList>

// What the print preview shows, as values: the current page and its list item, the zoom, where the
// pages of the page column stand, the scroll bars and which navigation buttons work. The window
// draws it; every length is twips.
namespace tunvale::dialogs {

struct NavigationButtons {
    bool start = false;
    bool previous = false;
    bool next = false;
    bool end = false;
};

class PreviewNavigator
{
public:
    static constexpr int ScrollStep = 10; // scroll-bar units per page
    static constexpr int kPageGap = 500; // between two pages of the column
    static constexpr int kWheelStep = 400; // one wheel notch
    static constexpr int kThumbWidth = 1935;
    static constexpr int kThumbHeight = 2775;
    static constexpr int kThumbGap = 300;
    static constexpr int kLeftPanelWidth = 2415;

    // A preview of `pages` pages (at least one) of pageWidth x pageHeight, at 100 % on page 1.
    PreviewNavigator(int pages, int pageWidth, int pageHeight);

    int pageCount() const { return pages_; }
    int CurrentPage() const { return currentPage_; }
    int ZoomTenths() const { return zoomTenths_; }

    // The lists: "第n页   共N页" per page, and 200% down to 30% in steps of 10.
    QString pageItem(int page) const;
    QStringList pageItems() const;
    static QStringList zoomItems();
    QString zoomText() const;

    // Choosing an item of either list, as a click on it does.
    void selectPage(int page);
    void selectZoom(const QString& text);

    // The toolbar's zoom buttons and the four navigation buttons; each does nothing at its limit.
    void zoomIn();
    void zoomOut();
    void first();
    void previous();
    void next();
    void last();
    // Which of them work: first and previous above page 1, next and last below the last page.
    NavigationButtons buttons() const;

    // The page scroll bar: 0 to ScrollStep x (N - 1); a value at a page's top makes it the current page.
    int scrollValue() const { return scroll_; }
    int scrollMaximum() const { return ScrollStep * (pages_ - 1); }
    void setScrollValue(int value);
    // One wheel notch: a negative delta (toward the user) moves toward the end, any other toward the
    // start; neither moves past the last page's top or page 1's.
    void wheel(int delta);

    // The page column: its width, the shadow strips' size, and page k's picture (0-based), whose top
    // is relative to the column's top.
    double columnWidth() const;
    double shadowSize() const;
    QRectF pageRect(int k) const;

    // The horizontal scroll bar, which shifts the column 1000 twips per unit from the middle; it works
    // only above 100 %.
    bool hscrollEnabled() const { return zoomTenths_ > 10; }
    int hscrollMaximum() const { return zoomTenths_ * 2 - 20; }
    int hscrollValue() const { return hscroll_; }
    void setHScrollValue(int value);
    // The column's left edge in a window of `windowWidth` whose left panel is `panelWidth` wide.
    double columnLeft(double windowWidth, double panelWidth = kLeftPanelWidth) const;

    // The thumbnail strip: its scroll bar (0 to ScrollStep x N), where it stands and thumbnail k.
    int thumbScrollValue() const { return thumbScroll_; }
    int thumbScrollMaximum() const { return ScrollStep * pages_; }
    void setThumbScrollValue(int value);
    double thumbStripTop() const;
    static QRectF thumbRect(int k);
    void thumbClicked(int k);

private:
    void scrollChanged();
    void pageSelected(int page);
    void ChangUp();
    void ChangDown();
    double pageHeight() const;

    int pages_;
    int pageWidth_;
    int pageHeight_;
    int currentPage_ = 1;
    int zoomTenths_ = 10;
    int scroll_ = 0;
    int thumbScroll_ = 0;
    int hscroll_ = 0;
    double columnTop_ = 0; // top of page 1's picture
};

} // namespace tunvale::dialogs
