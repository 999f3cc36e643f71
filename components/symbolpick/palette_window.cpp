#include "components/symbolpick/palette_window.h"

#include "components/symbolpick/palette_state.h"
#include "platform/settings/program_folder.h"
#include "platform/text/runtime_numbers.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QWheelEvent>

#include <algorithm>

namespace tunvale::symbolpick {

namespace {

// Sizes and places in twips, as the window is laid out.
constexpr int kClientWidth = 6204;
constexpr int kClientHeight = 6288;
constexpr int kPanelLeft = 120;
constexpr int kPanelTop = 720;
constexpr int kViewportWidth = 4215;
constexpr int kStatusTop = 5916;
constexpr int kStatusHeight = 372;
constexpr int kPreviewWidth = 975;
constexpr int kPreviewHeight = 1815;
constexpr int kPreviewInset = 50;

const QColor kPreviewBack(0, 64, 0);
const QColor kPreviewFore(192, 192, 0);
const QColor kCellOutline(255, 0, 0);

// The size box takes digits and Backspace; keys that type nothing (arrows, Delete, Tab) go on as usual.
bool isSizeBoxKey(const QKeyEvent* key)
{
    const QString text = key->text();
    if (text.size() != 1)
        return text.isEmpty();
    const char16_t c = text[0].unicode();
    return (c >= u'0' && c <= u'9') || c == u'\b' || c == u'\t' || c == 0x7F;
}

// Draws a character with its top-left at `topLeft`, shrunk to `maxWidth` when its ink is wider: the long
// tempo terms would otherwise run over the neighbouring cells. The ink is the glyph's own box, which a
// sign drawn over the next note has although it takes no room.
void drawFitted(QPainter& painter, QPointF topLeft, const QFont& font, QChar sign, double maxWidth)
{
    const QFontMetricsF metrics(font);
    const double ink = metrics.boundingRect(sign).right();
    const double scale = ink > maxWidth ? maxWidth / ink : 1.0;
    painter.save();
    painter.setFont(font);
    painter.translate(topLeft);
    painter.scale(scale, scale);
    painter.drawText(QPointF(0, metrics.ascent()), QString(sign));
    painter.restore();
}

// Lettering shrunk further than this is too small to read at the grid's sizes.
constexpr double kSmallestReadableScale = 0.7;

// Draws a grid cell's character in `room`, which starts where the character goes. A word of lettering
// that would shrink below a readable size across the narrow cell (the long tempo terms) is turned to
// read upwards along it instead, centred, as large as it fits.
void drawInCell(QPainter& painter, const QRectF& room, const QFont& font, QChar sign)
{
    const QRectF ink = QFontMetricsF(font).boundingRect(sign);
    const bool lettering = ink.width() > 2 * ink.height();
    const double across = std::min(1.0, room.width() / ink.right());
    const double turned = std::min({ 1.0, room.height() / ink.width(), room.width() / ink.height() });
    if (!lettering || across >= kSmallestReadableScale || turned <= across) {
        drawFitted(painter, room.topLeft(), font, sign, room.width());
        return;
    }
    painter.save();
    painter.setFont(font);
    painter.translate(room.center());
    painter.rotate(-90);
    painter.scale(turned, turned);
    painter.drawText(-ink.center(), QString(sign));
    painter.restore();
}

// Where a window frame of `size` goes to lie wholly within `area`, moved as little as it takes; a frame
// larger than the area keeps its top-left corner in it.
QPoint keptWithin(QPoint topLeft, QSize size, const QRect& area)
{
    const int x = std::max(area.left(), std::min(topLeft.x(), area.right() + 1 - size.width()));
    const int y = std::max(area.top(), std::min(topLeft.y(), area.bottom() + 1 - size.height()));
    return { x, y };
}

// The room a window system's frame takes around a window's client area.
QMargins frameMargins(const QWidget& window)
{
    const QRect inner = window.geometry();
    const QRect outer = window.frameGeometry();
    return { inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
        outer.bottom() - inner.bottom() };
}

} // namespace

PaletteWindow::PaletteWindow(QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool)
{
    setObjectName(QStringLiteral("GetNote"));
    setWindowTitle(QStringLiteral("符号..."));
    twipsPerPixel_ = std::max(1.0, platform::RoundHalfEven(1440.0 / std::max(1, logicalDpiX())));
    buildControls();
}

PaletteWindow::~PaletteWindow() { unload(); }

void PaletteWindow::place(QWidget* widget, int left, int top, int width, int height)
{
    const auto px = [this](int twips) { return qRound(twips / twipsPerPixel_); };
    widget->setGeometry(px(left), px(top), px(width), px(height));
}

void PaletteWindow::buildControls()
{
    const auto named = [](QWidget* w, const char* name) {
        w->setObjectName(QLatin1String(name));
        return w;
    };
    setFixedSize(qRound(kClientWidth / twipsPerPixel_), qRound(kClientHeight / twipsPerPixel_));

    TabStrip1 = static_cast<QTabBar*>(named(new QTabBar(this), "TabStrip1"));
    // Every kind stays reachable: the tabs scroll when they do not fit.
    TabStrip1->setUsesScrollButtons(true);
    TabStrip1->setExpanding(false);
    TabStrip1->setDrawBase(true);
    place(TabStrip1, 0, 120, kClientWidth, kPanelTop - 120);
    connect(TabStrip1, &QTabBar::currentChanged, this, [this](int index) { showKind(index + 1); });

    PicMain = named(new QWidget(this), "PicMain");
    place(PicMain, kPanelLeft, kPanelTop, kClientWidth - 2 * kPanelLeft, 5175);
    PicBack = named(new QWidget(PicMain), "PicBack");
    place(PicBack, 0, 0, kViewportWidth, PaletteScroll::ViewportHeight);
    PicBack->installEventFilter(this);
    PicMdi = static_cast<QLabel*>(named(new QLabel(PicBack), "PicMdi"));
    PicMdi->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    PicMdi->setFocusPolicy(Qt::StrongFocus);
    PicMdi->installEventFilter(this);

    VScroll1 = static_cast<QScrollBar*>(named(new QScrollBar(Qt::Vertical, PicMain), "VScroll1"));
    // The bar runs inverted: its largest value, the row count, is the top.
    VScroll1->setInvertedAppearance(true);
    VScroll1->setInvertedControls(false);
    VScroll1->setPageStep(1);
    const int barWidth
        = std::max(qRound(135 / twipsPerPixel_), style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    VScroll1->setGeometry(qRound(4200 / twipsPerPixel_), 0, barWidth, qRound(4890 / twipsPerPixel_));
    connect(VScroll1, &QScrollBar::valueChanged, this, [this](int value) {
        scroll_.setValue(value);
        moveCanvas();
    });

    PicShow = static_cast<QLabel*>(named(new QLabel(PicMain), "PicShow"));
    place(PicShow, 4680, 0, kPreviewWidth, kPreviewHeight);
    Check2 = static_cast<QCheckBox*>(named(new QCheckBox(QStringLiteral("字体加粗"), PicMain), "Check2"));
    place(Check2, 4440, 2160, 1215, 255);
    Check1 = static_cast<QCheckBox*>(named(new QCheckBox(QStringLiteral("改变字号："), PicMain), "Check1"));
    place(Check1, 4440, 2520, 1215, 255);
    Text1 = static_cast<QLineEdit*>(named(new QLineEdit(PicMain), "Text1"));
    place(Text1, 5520, 2500, 400, 300);
    Text1->installEventFilter(this);
    Check3 = static_cast<QCheckBox*>(named(new QCheckBox(QStringLiteral("二胡符号提升"), PicMain), "Check3"));
    place(Check3, 4440, 2900, 1455, 255);
    Check3->hide();
    Command1
        = static_cast<QPushButton*>(named(new QPushButton(QStringLiteral("插入(&I)"), PicMain), "Command1"));
    place(Command1, 4680, 3720, kPreviewWidth, 495);
    connect(Command1, &QPushButton::clicked, this, &PaletteWindow::insert);
    Command2
        = static_cast<QPushButton*>(named(new QPushButton(QStringLiteral("关闭(&C)"), PicMain), "Command2"));
    place(Command2, 4680, 4320, kPreviewWidth, 495);
    connect(Command2, &QPushButton::clicked, this, &QWidget::close);

    auto* status = static_cast<QStatusBar*>(named(new QStatusBar(this), "StatusBar1"));
    status->setSizeGripEnabled(false);
    place(status, 0, kStatusTop, kClientWidth, kStatusHeight);
    StatusPanel = new QLabel(status);
    StatusPanel->setObjectName(QStringLiteral("Panel1"));
    status->addWidget(StatusPanel, 1);
}

void PaletteWindow::open(QWidget* mainWindow)
{
    if (mainWindow && parentWidget() != mainWindow) {
        if (parentWidget())
            parentWidget()->removeEventFilter(this);
        setParent(mainWindow, Qt::Tool);
    }
    if (mainWindow)
        mainWindow->installEventFilter(this);
    if (!loaded_)
        load();
    placeOnScreen(mainWindow);
    show();
    raise();
    activateWindow();
}

void PaletteWindow::placeOnScreen(const QWidget* mainWindow)
{
    // Until it has been shown its frame is unknown: the main window's is the same window system's.
    const QMargins frame = placed_ || !mainWindow ? frameMargins(*this) : frameMargins(*mainWindow);
    const QSize outer = size().grownBy(frame);
    QPoint topLeft = pos();
    if (!placed_ && mainWindow) {
        // First over the right of the main window, below its title, where it hides least of the page.
        const QRect main = mainWindow->frameGeometry();
        topLeft = { main.right() + 1 - outer.width(), mainWindow->geometry().top() };
    }
    const QScreen* screen = mainWindow ? mainWindow->screen() : this->screen();
    move(keptWithin(topLeft, outer, screen->availableGeometry()));
    placed_ = true;
}

void PaletteWindow::load()
{
    model_ = PaletteModel::fromFile(platform::ProgramFolder::find(QStringLiteral("Note.ini")));
    {
        const QSignalBlocker quiet(TabStrip1);
        while (TabStrip1->count() > 0)
            TabStrip1->removeTab(0);
        for (int k = 1; k <= model_.kindCount(); ++k) {
            TabStrip1->addTab(model_.kind(k).name);
            TabStrip1->setTabData(k - 1, QStringLiteral("Tab%1").arg(k));
        }
        TabStrip1->setCurrentIndex(0);
    }
    Check1->setChecked(false);
    Check2->setChecked(false);
    Text1->clear();
    PaletteState& state = paletteState();
    state.SymbolCode.clear();
    showKind(model_.kindCount() > 0 ? 1 : 0);
    state.InstrFormShow = true;
    state.aInstr = false;
    loaded_ = true;
}

void PaletteWindow::unload()
{
    if (!loaded_)
        return;
    loaded_ = false;
    paletteState().InstrFormShow = false;
    emit unloaded();
}

void PaletteWindow::closeEvent(QCloseEvent* event)
{
    unload();
    event->accept();
}

void PaletteWindow::showKind(int k)
{
    currentKind_ = k;
    selectedChar_.clear();
    paletteState().SymbolFont = k > 0 ? model_.kind(k).font : QString();
    drawGrid();
    showPreview(QString(), PaletteModel::PreviewFullSize);
    setStatus(k > 0 ? model_.kind(k).about : PaletteModel::NoSymbolsMessage());
    Command1->setEnabled(false);
    Check3->setChecked(false);
    Check3->setVisible(k == 3);
    PicMdi->setFocus();
}

void PaletteWindow::drawGrid()
{
    const int entries = currentKind_ > 0 ? static_cast<int>(model_.kind(currentKind_).entries.size()) : 0;
    const int rows = PaletteModel::rowCount(entries);
    scroll_.reset(rows);
    const double ratio = devicePixelRatioF();
    const QSizeF size(kViewportWidth / twipsPerPixel_, scroll_.canvasHeight() / twipsPerPixel_);
    QImage image((size * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(palette().color(QPalette::Base));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const double pitch = 1.0 / twipsPerPixel_;
    for (int cell = 0; cell < rows * PaletteModel::Columns; ++cell) {
        const QPointF box = PaletteModel::cellTopLeft(cell) * pitch;
        painter.setPen(QPen(kCellOutline, 1));
        painter.drawRect(QRectF(box, QSizeF(PaletteModel::CellWidth, PaletteModel::CellHeight) * pitch));
        if (cell >= entries)
            continue;
        const PaletteKind& kind = model_.kind(currentKind_);
        QFont font(kind.font);
        font.setPixelSize(qRound(PaletteModel::gridSize(kind, cell) * 20 * pitch));
        painter.setPen(palette().color(QPalette::Text));
        const QSizeF room(PaletteModel::CellWidth - (PaletteModel::CharLeft - PaletteModel::GridLeft) - 20,
            PaletteModel::CellHeight - (PaletteModel::CharTop - PaletteModel::GridTop) - 20);
        drawInCell(painter, QRectF(PaletteModel::charTopLeft(cell) * pitch, room * pitch), font,
            QChar(kind.entries[cell].code));
    }
    painter.end();
    PicMdi->setPixmap(QPixmap::fromImage(image));
    PicMdi->resize(size.toSize());
    {
        const QSignalBlocker quiet(VScroll1);
        VScroll1->setRange(scroll_.bottom(), scroll_.rows());
        VScroll1->setValue(scroll_.value());
    }
    VScroll1->setVisible(PaletteModel::showsScrollBar(rows));
    moveCanvas();
}

void PaletteWindow::moveCanvas()
{
    PicMdi->move(0, qRound(scroll_.top() / twipsPerPixel_));
    if (VScroll1->value() != scroll_.value()) {
        const QSignalBlocker quiet(VScroll1);
        VScroll1->setValue(scroll_.value());
    }
}

void PaletteWindow::showPreview(const QString& text, double points)
{
    const double ratio = devicePixelRatioF();
    QImage image(PicShow->size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(kPreviewBack);
    if (!text.isEmpty()) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing);
        QFont font(paletteState().SymbolFont);
        font.setPixelSize(qRound(points * 20 / twipsPerPixel_));
        painter.setPen(kPreviewFore);
        const double inset = kPreviewInset / twipsPerPixel_;
        drawFitted(painter, QPointF(inset, inset), font, text[0], PicShow->width() - 2 * inset);
    }
    PicShow->setPixmap(QPixmap::fromImage(image));
}

void PaletteWindow::pick(QPointF pixels)
{
    const std::optional<int> cell = PaletteModel::cellAt(pixels * twipsPerPixel_, scroll_.rows());
    if (!cell) {
        Command1->setEnabled(false);
        return;
    }
    const PaletteKind* kind = currentKind_ > 0 ? &model_.kind(currentKind_) : nullptr;
    const bool filled = kind && *cell < static_cast<int>(kind->entries.size());
    selectedChar_ = filled ? QString(QChar(kind->entries[*cell].code)) : QString();
    showPreview(selectedChar_, filled ? PaletteModel::previewSize(*kind, *cell) : 0);
    setStatus(filled ? kind->entries[*cell].description : QString());
    Command1->setEnabled(filled);
}

void PaletteWindow::insert()
{
    if (selectedChar_.isEmpty())
        return;
    PaletteState& state = paletteState();
    state.SymbolCode = selectedChar_;
    state.aInstr = true;
    emit inserted();
}

void PaletteWindow::setStatus(const QString& text) { StatusPanel->setText(text); }

bool PaletteWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget()) {
        // The main window's own close or hide (not a minimise by the window system) closes the palette.
        if (event->type() == QEvent::Hide && !event->spontaneous() && loaded_)
            close();
    } else if (watched == PicMdi && event->type() == QEvent::MouseButtonPress) {
        pick(static_cast<QMouseEvent*>(event)->position());
    } else if (watched == PicMdi && event->type() == QEvent::MouseButtonDblClick) {
        if (Command1->isEnabled())
            insert();
    } else if ((watched == PicMdi || watched == PicBack) && event->type() == QEvent::Wheel) {
        const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
        if (delta < 0)
            scroll_.wheelTowardsUser();
        else if (delta > 0)
            scroll_.wheelAwayFromUser();
        moveCanvas();
        return true;
    } else if (watched == Text1 && event->type() == QEvent::KeyPress) {
        return !isSizeBoxKey(static_cast<QKeyEvent*>(event));
    }
    return QWidget::eventFilter(watched, event);
}

QString PaletteWindow::sizeBoxText() const { return Text1->text(); }

void PaletteWindow::setSizeBoxText(const QString& text) { Text1->setText(text); }

bool PaletteWindow::boldTicked() const { return Check2->isChecked(); }

bool PaletteWindow::sizeTicked() const { return Check1->isChecked(); }

bool PaletteWindow::raiseTicked() const { return Check3->isChecked(); }

} // namespace tunvale::symbolpick
