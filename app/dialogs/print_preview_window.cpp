#include "app/dialogs/print_preview_window.h"

#include "app/frame/process_state.h"
#include "platform/desktop/dpi.h"
#include "platform/desktop/drawn_icon.h"
#include "platform/desktop/prompts.h"
#include "platform/text/runtime_numbers.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QWheelEvent>

#include <cmath>
#include <functional>
#include <map>

namespace tunvale::dialogs {

namespace {

constexpr int kScrollBarTwips = 255;
constexpr int kColumnTopTwips = 200; // below the toolbar
constexpr int kThumbShadowTwips = 60;
const QColor kBackground(0x80, 0x80, 0x80);
const QColor kShadow(0x40, 0x40, 0x40);

QIcon themedIcon(const QString& name, QStyle::StandardPixmap fallback, const QWidget* widget)
{
    return QIcon::fromTheme(name, widget->style()->standardIcon(fallback));
}

// A printer: the blank sheet going in at the top, the body, the printed sheet coming out in front.
QIcon printerIcon()
{
    return platform::DrawnIcon([](QPainter& p, const QRectF& box, const QColor& ink, bool) {
        const double s = std::min(box.width(), box.height()) / 16;
        p.translate(box.center() - QPointF(8 * s, 8 * s));
        QPen pen(ink, std::max(1.0, 1.2 * s));
        pen.setJoinStyle(Qt::RoundJoin);
        p.setPen(pen);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4 * s, 1 * s, 8 * s, 5 * s));
        p.setBrush(QColor(ink.red(), ink.green(), ink.blue(), 110));
        p.drawRoundedRect(QRectF(1 * s, 6 * s, 14 * s, 6 * s), 1.5 * s, 1.5 * s);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4 * s, 9.5 * s, 8 * s, 5.5 * s));
        p.drawLine(QPointF(5.5 * s, 12.2 * s), QPointF(10.5 * s, 12.2 * s));
    });
}

} // namespace

// Pictures drawn when a paint first asks for them and kept while the paints after it ask again, so a
// long score costs only what is on screen.
class PrintPreviewWindow::ShownImages
{
public:
    explicit ShownImages(std::function<QImage(int)> draw)
        : draw_(std::move(draw))
    {
    }

    void clear() { kept_.clear(); }

    // One paint: the pictures it asks for stay, the others go when it ends.
    class Paint
    {
    public:
        explicit Paint(ShownImages& images)
            : images_(images)
            , previous_(std::move(images.kept_))
        {
            images_.kept_.clear();
        }
        Paint(const Paint&) = delete;
        Paint& operator=(const Paint&) = delete;

        const QImage& image(int k)
        {
            const auto kept = images_.kept_.find(k);
            if (kept != images_.kept_.end())
                return kept->second;
            const auto shown = previous_.find(k);
            QImage image = shown != previous_.end() ? std::move(shown->second) : images_.draw_(k);
            return images_.kept_.emplace(k, std::move(image)).first->second;
        }

    private:
        ShownImages& images_;
        std::map<int, QImage> previous_;
    };

private:
    std::function<QImage(int)> draw_;
    std::map<int, QImage> kept_;
};

// The panel that holds the page column: the pages at the zoom with their shadows.
class PrintPreviewWindow::PageColumn : public QWidget
{
public:
    explicit PageColumn(PrintPreviewWindow& preview)
        : QWidget(&preview)
        , preview_(preview)
    {
        setMouseTracking(true);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), kBackground);
        if (!preview_.navigator_)
            return;
        const PreviewNavigator& n = *preview_.navigator_;
        const double tpp = preview_.twipsPerPixel();
        const double columnLeft = n.columnLeft(preview_.width() * tpp) - x() * tpp;
        const auto toPixels = [&](const QRectF& twips) {
            return QRectF((columnLeft + twips.left()) / tpp, (kColumnTopTwips + twips.top()) / tpp,
                twips.width() / tpp, twips.height() / tpp);
        };
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        const double s = n.shadowSize();
        ShownImages::Paint shownPages(*preview_.pageImages_);
        for (int k = 0; k < n.pageCount(); ++k) {
            const QRectF page = n.pageRect(k);
            const QRectF shown = toPixels(page);
            if (shown.bottom() < 0 || shown.top() > height())
                continue;
            painter.fillRect(toPixels({ page.right(), page.top() + s, s, page.height() }), kShadow);
            painter.fillRect(toPixels({ page.left() + s, page.bottom(), page.width(), s }), kShadow);
            painter.drawImage(shown, shownPages.image(k));
        }
    }

    void wheelEvent(QWheelEvent* event) override
    {
        if (!preview_.navigator_ || event->angleDelta().y() == 0)
            return;
        preview_.navigator_->wheel(event->angleDelta().y());
        preview_.refresh();
        event->accept();
    }

private:
    PrintPreviewWindow& preview_;
};

// The strip of thumbnails, each with its number on the left; a click shows that page.
class PrintPreviewWindow::ThumbnailStrip : public QWidget
{
public:
    explicit ThumbnailStrip(PrintPreviewWindow& preview, QWidget* parent)
        : QWidget(parent)
        , preview_(preview)
    {
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), kBackground);
        if (!preview_.navigator_)
            return;
        const double tpp = preview_.twipsPerPixel();
        const double top = preview_.navigator_->thumbStripTop();
        painter.setPen(Qt::white);
        ShownImages::Paint shownThumbnails(*preview_.thumbnails_);
        for (int k = 0; k < preview_.navigator_->pageCount(); ++k) {
            const QRectF thumb = PreviewNavigator::thumbRect(k).translated(0, top);
            const QRectF shown(
                thumb.left() / tpp, thumb.top() / tpp, thumb.width() / tpp, thumb.height() / tpp);
            if (shown.bottom() < 0 || shown.top() > height())
                continue;
            const double s = kThumbShadowTwips / tpp;
            painter.fillRect(QRectF(shown.right(), shown.top() + s, s, shown.height()), kShadow);
            painter.fillRect(QRectF(shown.left() + s, shown.bottom(), shown.width(), s), kShadow);
            painter.drawImage(shown, shownThumbnails.image(k));
            painter.drawText(QRectF(0, shown.center().y() - 10, shown.left() - 4, 20),
                Qt::AlignRight | Qt::AlignVCenter, QString::number(k + 1));
        }
    }

    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (!preview_.navigator_)
            return;
        const double tpp = preview_.twipsPerPixel();
        const QPointF twips = event->position() * tpp - QPointF(0, preview_.navigator_->thumbStripTop());
        for (int k = 0; k < preview_.navigator_->pageCount(); ++k) {
            if (PreviewNavigator::thumbRect(k).contains(twips)) {
                preview_.navigator_->thumbClicked(k);
                preview_.refresh();
                return;
            }
        }
    }

private:
    PrintPreviewWindow& preview_;
};

PrintPreviewWindow::PrintPreviewWindow(PreviewHost& host, PrintServices printServices, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , host_(host)
    , printServices_(std::move(printServices))
    , pageImages_(std::make_unique<ShownImages>([this](int k) { return pageImage(k); }))
    , thumbnails_(std::make_unique<ShownImages>([this](int k) { return thumbnail(k); }))
{
    setObjectName(QStringLiteral("frmPreview"));
    setWindowTitle(QStringLiteral("打印预览"));
    buildWindow();
}

PrintPreviewWindow::~PrintPreviewWindow() = default;

double PrintPreviewWindow::twipsPerPixel() const
{
    return platform::RoundHalfEven(1440.0 / platform::GetDpi());
}

void PrintPreviewWindow::buildWindow()
{
    tbPreview = new QToolBar(this);
    tbPreview->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    const auto button = [this](int index, const QString& text, const QIcon& icon) {
        QAction* action = tbPreview->addAction(icon, text);
        connect(action, &QAction::triggered, this, [this, index] { clickToolbarButton(index); });
    };
    button(1, QStringLiteral("打印"), printerIcon());
    tbPreview->addSeparator();
    button(3, QStringLiteral("放大"), themedIcon(QStringLiteral("zoom-in"), QStyle::SP_ArrowUp, this));
    button(4, QStringLiteral("缩小"), themedIcon(QStringLiteral("zoom-out"), QStyle::SP_ArrowDown, this));
    tbPreview->addSeparator();
    tbPreview->addWidget(new QLabel(QStringLiteral("当前页面："), tbPreview));
    cboPage = new QComboBox(tbPreview);
    cboPage->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    tbPreview->addWidget(cboPage);
    const auto navigation
        = [this](QStyle::StandardPixmap icon, const QString& tip, void (PreviewNavigator::*move)()) {
              auto* b = new QToolButton(tbPreview);
              b->setIcon(style()->standardIcon(icon));
              b->setToolTip(tip);
              tbPreview->addWidget(b);
              connect(b, &QToolButton::clicked, this, [this, move] {
                  if (navigator_) {
                      ((*navigator_).*move)();
                      refresh();
                  }
              });
              return b;
          };
    cmdStart = navigation(QStyle::SP_MediaSkipBackward, QStringLiteral("第一页"), &PreviewNavigator::first);
    cmdPrevious
        = navigation(QStyle::SP_MediaSeekBackward, QStringLiteral("上一页"), &PreviewNavigator::previous);
    cmdNext = navigation(QStyle::SP_MediaSeekForward, QStringLiteral("下一页"), &PreviewNavigator::next);
    cmdEnd = navigation(QStyle::SP_MediaSkipForward, QStringLiteral("最后一页"), &PreviewNavigator::last);
    cboPercent = new QComboBox(tbPreview);
    cboPercent->addItems(PreviewNavigator::zoomItems());
    tbPreview->addWidget(cboPercent);
    tbPreview->addSeparator();
    button(12, QStringLiteral("关闭"), style()->standardIcon(QStyle::SP_DialogCloseButton));

    connect(cboPage, &QComboBox::activated, this, [this](int index) {
        if (navigator_) {
            navigator_->selectPage(index + 1);
            refresh();
        }
    });
    connect(cboPercent, &QComboBox::activated, this, [this](int index) {
        if (navigator_) {
            navigator_->selectZoom(cboPercent->itemText(index));
            refresh();
        }
    });

    Picture3 = new QWidget(this);
    thumbStrip_ = new ThumbnailStrip(*this, Picture3);
    pageColumn_ = new PageColumn(*this);
    VScroll1 = new QScrollBar(Qt::Vertical, this);
    VScroll2 = new QScrollBar(Qt::Vertical, this);
    HScroll1 = new QScrollBar(Qt::Horizontal, this);
    for (QScrollBar* bar : { VScroll1, VScroll2 }) {
        bar->setPageStep(PreviewNavigator::ScrollStep);
        bar->setRange(0, 0);
    }
    connect(VScroll1, &QScrollBar::valueChanged, this, [this](int value) {
        if (navigator_ && !refreshing_) {
            navigator_->setScrollValue(value);
            refresh();
        }
    });
    connect(VScroll2, &QScrollBar::valueChanged, this, [this](int value) {
        if (navigator_ && !refreshing_) {
            navigator_->setThumbScrollValue(value);
            thumbStrip_->update();
        }
    });
    connect(HScroll1, &QScrollBar::valueChanged, this, [this](int value) {
        if (navigator_ && !refreshing_) {
            navigator_->setHScrollValue(value);
            pageColumn_->update();
        }
    });
}

void PrintPreviewWindow::load()
{
    const frame::StartValues& start = frame::Process().start;
    const QSizeF page(start.PageWidthTwips, start.PageHeightTwips);
    host_.setEditorBackground(Qt::white);
    pages_.FormatRtfPages(host_.scoreDocument(), page, kPaginationMargins);
    pageImages_->clear();
    thumbnails_->clear();

    navigator_ = std::make_unique<PreviewNavigator>(
        pages_.RtfPageCount, start.PageWidthTwips, start.PageHeightTwips);
    printing_ = std::make_unique<PreviewPrinting>(pages_, printServices_);
    cboPage->clear();
    cboPage->addItems(navigator_->pageItems());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(screen->availableGeometry());
    loaded_ = true;
    refresh();
    placeControls();
}

PictureSave PrintPreviewWindow::savePicture(const QString& path) const
{
    const int dpi = platform::GetDpi();
    const int pageHeight = frame::Process().start.PageHeightTwips;
    const PictureSave saved = SaveScorePicture(pages_, pageHeight, dpi, path);
    if (saved.status == PictureSave::TooLarge)
        platform::Prompts::current().information(
            PictureTooLargeMessage(ScorePictureBytes(pages_, pageHeight, dpi)));
    return saved;
}

QImage PrintPreviewWindow::pageImage(int k) const
{
    const double tpp = twipsPerPixel();
    const double ratio = devicePixelRatioF();
    const frame::StartValues& start = frame::Process().start;
    const QSize size(int(std::lround(start.PageWidthTwips / tpp * ratio)),
        int(std::lround(start.PageHeightTwips / tpp * ratio)));
    const RtfTarget target { QSizeF(start.PageWidthTwips, start.PageHeightTwips), ratio / tpp, false };
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        pages_.PrintRtfPage(k + 1, PageMargins(k + 1), painter, target);
    }
    image.setDevicePixelRatio(ratio);
    return image;
}

QImage PrintPreviewWindow::thumbnail(int k) const
{
    const double tpp = twipsPerPixel();
    const double ratio = devicePixelRatioF();
    const QSize size(int(std::lround(PreviewNavigator::kThumbWidth / tpp * ratio)),
        int(std::lround(PreviewNavigator::kThumbHeight / tpp * ratio)));
    QImage page = pageImage(k);
    page.setDevicePixelRatio(1);
    return page.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

void PrintPreviewWindow::unload()
{
    if (!loaded_)
        return;
    loaded_ = false;
    host_.setEditorBackground(host_.editingBackground());
    host_.EditMode();
    host_.JzRTB(0);
    host_.focusPage();
}

PrintResult PrintPreviewWindow::printRTF(int Silent)
{
    if (!printing_)
        return { PrintResult::Outcome::Failed, {} };
    // Printed from the preview the user sees, the printer dialog is the preview's, and the preview is in
    // front again when it is over.
    const bool shown = isVisible();
    printing_->setDialogOwner(shown ? this : printServices_.dialogOwner);
    PrintResult result = printing_->printRTF(Silent);
    if (shown) {
        raise();
        activateWindow();
    }
    return result;
}

void PrintPreviewWindow::clickToolbarButton(int index)
{
    switch (index) {
    case 1:
        printRTF(index);
        break;
    case 3:
        if (navigator_)
            navigator_->zoomIn();
        refresh();
        break;
    case 4:
        if (navigator_)
            navigator_->zoomOut();
        refresh();
        break;
    case 12:
        close();
        break;
    default:
        break;
    }
}

void PrintPreviewWindow::refresh()
{
    if (!navigator_)
        return;
    refreshing_ = true;
    const PreviewNavigator& n = *navigator_;
    {
        const QSignalBlocker pageBlocker(cboPage);
        const QSignalBlocker zoomBlocker(cboPercent);
        cboPage->setCurrentIndex(n.CurrentPage() - 1);
        cboPercent->setCurrentText(n.zoomText());
    }
    VScroll1->setRange(0, n.scrollMaximum());
    VScroll1->setValue(n.scrollValue());
    VScroll2->setRange(0, n.thumbScrollMaximum());
    VScroll2->setValue(n.thumbScrollValue());
    HScroll1->setRange(0, n.hscrollMaximum());
    HScroll1->setValue(n.hscrollValue());
    HScroll1->setEnabled(n.hscrollEnabled());
    const NavigationButtons buttons = n.buttons();
    cmdStart->setEnabled(buttons.start);
    cmdPrevious->setEnabled(buttons.previous);
    cmdNext->setEnabled(buttons.next);
    cmdEnd->setEnabled(buttons.end);
    refreshing_ = false;
    pageColumn_->update();
    thumbStrip_->update();
}

void PrintPreviewWindow::placeControls()
{
    const double tpp = twipsPerPixel();
    const auto pixels = [tpp](double twips) { return int(std::lround(twips / tpp)); };
    const int bar = pixels(kScrollBarTwips);
    const int top = tbPreview->sizeHint().height();
    tbPreview->setGeometry(0, 0, width(), top);
    const int panel = pixels(PreviewNavigator::kLeftPanelWidth);
    Picture3->setGeometry(0, top, panel, height() - top);
    thumbStrip_->setGeometry(0, 0, panel, height() - top);
    VScroll2->setGeometry(panel, top, bar, height() - top);
    VScroll1->setGeometry(width() - bar, top, bar, height() - top - bar);
    HScroll1->setGeometry(panel + bar, height() - bar, width() - 2 * bar - panel, bar);
    pageColumn_->setGeometry(panel + bar, top, width() - 2 * bar - panel, height() - top - bar);
}

void PrintPreviewWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeControls();
}

void PrintPreviewWindow::closeEvent(QCloseEvent* event)
{
    unload();
    event->accept();
}

} // namespace tunvale::dialogs
