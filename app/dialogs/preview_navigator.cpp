#include "app/dialogs/preview_navigator.h"

#include "platform/text/runtime_numbers.h"

#include <algorithm>

namespace tunvale::dialogs {

namespace {

constexpr int kMaxZoom = 200;
constexpr int kMinZoom = 30;
constexpr int kZoomStep = 10;
constexpr double kThumbStripTop = 960;
constexpr double kFirstThumbTop = 120;
constexpr double kThumbLeft = 360;

int roundHalfEven(double value) { return int(platform::RoundHalfEven(value)); }

} // namespace

PreviewNavigator::PreviewNavigator(int pages, int pageWidth, int pageHeight)
    : pages_(std::max(1, pages))
    , pageWidth_(pageWidth)
    , pageHeight_(pageHeight)
{
    selectZoom(QStringLiteral("100%"));
    selectPage(1);
}

QString PreviewNavigator::pageItem(int page) const
{
    return QStringLiteral("第%1页   共%2页").arg(page).arg(pages_);
}

QStringList PreviewNavigator::pageItems() const
{
    QStringList items;
    for (int page = 1; page <= pages_; ++page)
        items << pageItem(page);
    return items;
}

QStringList PreviewNavigator::zoomItems()
{
    QStringList items;
    for (int percent = kMaxZoom; percent >= kMinZoom; percent -= kZoomStep)
        items << QString::number(percent) + QLatin1Char('%');
    return items;
}

QString PreviewNavigator::zoomText() const { return QString::number(zoomTenths_ * 10) + QLatin1Char('%'); }

void PreviewNavigator::selectZoom(const QString& text)
{
    if (!zoomItems().contains(text))
        return;
    zoomTenths_ = roundHalfEven(platform::Val(text) / 10);
    hscroll_ = hscrollMaximum() / 2;
    scrollChanged();
}

void PreviewNavigator::zoomIn()
{
    if (zoomTenths_ * 10 < kMaxZoom)
        selectZoom(QString::number(zoomTenths_ * 10 + kZoomStep) + QLatin1Char('%'));
}

void PreviewNavigator::zoomOut()
{
    if (zoomTenths_ * 10 > kMinZoom)
        selectZoom(QString::number(zoomTenths_ * 10 - kZoomStep) + QLatin1Char('%'));
}

void PreviewNavigator::selectPage(int page)
{
    if (page < 1 || page > pages_)
        return;
    currentPage_ = page;
    const int value = ScrollStep * (page - 1);
    if (value != scroll_) {
        scroll_ = value;
        scrollChanged();
    }
    setThumbScrollValue(value);
}

void PreviewNavigator::first() { selectPage(1); }

void PreviewNavigator::previous() { selectPage(currentPage_ > 1 ? currentPage_ - 1 : currentPage_); }

void PreviewNavigator::next() { selectPage(currentPage_ < pages_ ? currentPage_ + 1 : currentPage_); }

void PreviewNavigator::last() { selectPage(pages_); }

void PreviewNavigator::thumbClicked(int k) { selectPage(k + 1); }

NavigationButtons PreviewNavigator::buttons() const
{
    // Page 1 is tested first, so a one-page score leaves next and last on.
    if (currentPage_ == 1)
        return { false, false, true, true };
    if (currentPage_ == pages_)
        return { true, true, false, false };
    return { true, true, true, true };
}

void PreviewNavigator::setScrollValue(int value)
{
    value = std::clamp(value, 0, scrollMaximum());
    if (value == scroll_)
        return;
    scroll_ = value;
    scrollChanged();
}

void PreviewNavigator::scrollChanged()
{
    const double pages = double(scroll_) / ScrollStep;
    columnTop_ = -pages * (pageHeight() + kPageGap);
    if (scroll_ % ScrollStep == 0)
        selectPage(scroll_ / ScrollStep + 1);
}

void PreviewNavigator::wheel(int delta)
{
    if (delta < 0)
        ChangUp();
    else
        ChangDown();
}

// Toward the end: the column moves up a notch unless the last page's top is at the top already.
void PreviewNavigator::ChangUp()
{
    const double pitch = pageHeight() + kPageGap;
    if (-(columnTop_ - kWheelStep) * ScrollStep / pitch > scrollMaximum())
        return;
    columnTop_ -= kWheelStep;
    setScrollValue(roundHalfEven(-columnTop_ * ScrollStep / pitch));
}

void PreviewNavigator::ChangDown()
{
    const double pitch = pageHeight() + kPageGap;
    if (-(columnTop_ + 300) * ScrollStep / pitch < 0)
        return;
    columnTop_ += kWheelStep;
    setScrollValue(roundHalfEven(-columnTop_ * ScrollStep / pitch));
}

double PreviewNavigator::pageHeight() const { return double(pageHeight_) * zoomTenths_ / 10; }

double PreviewNavigator::columnWidth() const
{
    if (zoomTenths_ > 10)
        return double(zoomTenths_) * pageWidth_ / 10 + 180;
    return pageWidth_ + 60;
}

double PreviewNavigator::shadowSize() const { return int((zoomTenths_ / 10.0 + 1) * 60); }

QRectF PreviewNavigator::pageRect(int k) const
{
    const double width = double(zoomTenths_) * pageWidth_ / 10;
    const double height = pageHeight();
    const double left = columnWidth() / 2 - width / 2 - shadowSize();
    return { left, columnTop_ + k * (height + kPageGap), width, height };
}

void PreviewNavigator::setHScrollValue(int value) { hscroll_ = std::clamp(value, 0, hscrollMaximum()); }

double PreviewNavigator::columnLeft(double windowWidth, double panelWidth) const
{
    const int d = roundHalfEven(hscroll_ - hscrollMaximum() / 2.0);
    return (windowWidth - panelWidth) / 2 + panelWidth - columnWidth() / 2 - 1000.0 * d;
}

void PreviewNavigator::setThumbScrollValue(int value)
{
    thumbScroll_ = std::clamp(value, 0, thumbScrollMaximum());
}

double PreviewNavigator::thumbStripTop() const
{
    return kThumbStripTop - double(thumbScroll_) / ScrollStep * (kThumbHeight + kThumbGap);
}

QRectF PreviewNavigator::thumbRect(int k)
{
    return { kThumbLeft, kFirstThumbTop + k * double(kThumbHeight + kThumbGap), kThumbWidth, kThumbHeight };
}

} // namespace tunvale::dialogs
