#include "margin_ruler.h"

#include "components/margin/guide_line.h"
#include "components/margin/margin_model.h"
#include "components/margin/spin_arrows.h"
#include "platform/desktop/dpi.h"
#include "platform/desktop/notation_fonts.h"

#include <QComboBox>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QToolTip>

namespace tunvale::margin {

namespace {

constexpr double kW = MarginModel::kMarkerWidth;
// The controls at the strip's left end, in twips: they stay over the scale where a narrow window puts
// the page's zero beneath them.
constexpr double kControlsWidth = 1695;
const QColor kGrey(128, 128, 128);
const QColor kSilver(192, 192, 192);
const QColor kGreen(0, 192, 0);
const QColor kRed(255, 0, 0);

bool isPin(RulerPart part) { return part == RulerPart::Pin0 || part == RulerPart::Pin1; }

int pinOf(RulerPart part) { return part == RulerPart::Pin0 ? 0 : 1; }

// A pin pointing down, in twips from its top left corner.
QPolygonF pinShape(double left, double top)
{
    const double h = MarginModel::kMarkerHeight;
    return QPolygonF({ QPointF(left, top), QPointF(left + kW, top), QPointF(left + kW, top + h * 0.6),
        QPointF(left + kW / 2, top + h), QPointF(left, top + h * 0.6) });
}

} // namespace

MarginRuler::MarginRuler(QWidget* parent)
    : QWidget(parent)
    , model_(std::make_unique<MarginModel>(platform::GetDpi()))
    , pressedPart_(RulerPart::None)
{
    setObjectName(QStringLiteral("左右边距控件"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    buildControls();
    if (parent)
        guide_ = new GuideLine(parent);
    setFocusColour(kGrey);
    layOut();
}

MarginRuler::~MarginRuler() = default;

MarginRuler* CreateMarginRuler(QWidget* parent) { return new MarginRuler(parent); }

void MarginRuler::buildControls()
{
    label1_ = new QLabel(QString(QChar(0x251B)), this);
    label1_->setObjectName(QStringLiteral("Label1"));
    QFont corner(platform::kSongFontName);
    corner.setPointSize(12);
    corner.setBold(true);
    label1_->setFont(corner);
    label1_->setToolTip(QStringLiteral("帮助及返回..."));
    label1_->setAlignment(Qt::AlignCenter);
    label1_->installEventFilter(this);

    // The chooser and the value box are as small as the strip: their text a little smaller than the
    // window's, so that "当前行" fits beside the arrow.
    QFont small = font();
    small.setPixelSize(static_cast<int>(std::lround(pixels(165))));
    combo1_ = new QComboBox(this);
    combo1_->setFont(small);
    combo1_->setObjectName(QStringLiteral("Combo1"));
    combo1_->setEditable(true);
    combo1_->setInsertPolicy(QComboBox::NoInsert);
    combo1_->addItems({ QStringLiteral("简谱行"), QStringLiteral("歌词行"), QStringLiteral("当前行") });
    connect(combo1_, &QComboBox::activated, this, [this](int index) { model_->setKind(index); });
    connect(combo1_->lineEdit(), &QLineEdit::textEdited, this, [this] { model_->setKind(-1); });

    text2_ = new QLineEdit(QString::number(model_->spacing()), this);
    text2_->setObjectName(QStringLiteral("Text2"));
    text2_->setReadOnly(true);
    text2_->setFont(small);
    text2_->setToolTip(QStringLiteral("行间距（20-150）"));

    vScroll1_ = new SpinArrows(this);
    vScroll1_->setObjectName(QStringLiteral("VScroll1"));
    connect(vScroll1_, &SpinArrows::stepped, this, [this](bool up) {
        const RulerEvents events = model_->stepSpacing(up);
        text2_->setText(QString::number(model_->spacing()));
        raiseEvents(events);
    });

    menu_ = new QMenu(QStringLiteral("控件菜单"), this);
    menu_->setObjectName(QStringLiteral("ABC"));
    // F2 is the window's own key for its main toolbar; the entry only names it.
    QAction* mainToolbar = menu_->addAction(QStringLiteral("返回主工具栏\tF2"));
    mainToolbar->setObjectName(QStringLiteral("MainMun"));
    connect(mainToolbar, &QAction::triggered, this,
        [this] { raiseEvents(MarginModel::choose(MenuEntry::MainToolbar)); });
    menu_->addSeparator()->setObjectName(QStringLiteral("ds"));
    QAction* help = menu_->addAction(QStringLiteral("边距/行距操作说明"));
    help->setObjectName(QStringLiteral("ToolBarAbout"));
    connect(help, &QAction::triggered, this, [this] { raiseEvents(MarginModel::choose(MenuEntry::Help)); });
}

double MarginRuler::pixels(double twips) const { return twips / model_->twipsPerPixel(); }

QPointF MarginRuler::scalePoint(const QPointF& position) const
{
    const double tpp = model_->twipsPerPixel();
    return { position.x() * tpp - model_->scaleLeft(), position.y() * tpp - model_->scaleTop() };
}

bool MarginRuler::overControls(const QPointF& position) const
{
    return position.x() < pixels(kControlsWidth);
}

void MarginRuler::layOut()
{
    const auto px = [this](double twips) { return static_cast<int>(std::lround(pixels(twips))); };
    setFixedHeight(px(model_->bcHeight()));
    label1_->setGeometry(0, px(40), px(255), px(225));
    combo1_->setGeometry(px(240), 0, px(855), std::min(combo1_->sizeHint().height(), height()));
    text2_->setGeometry(px(1080), 0, px(375), px(270));
    vScroll1_->setGeometry(px(1440), 0, px(255), px(255));
    // The layout step chose "当前行" again.
    const QSignalBlocker blocker(combo1_);
    combo1_->setCurrentIndex(model_->kind());
    combo1_->setEditText(combo1_->itemText(model_->kind()));
    update();
}

int MarginRuler::nLSpace() const { return model_->nLSpace(); }

int MarginRuler::nRSpace() const { return model_->nRSpace(); }

int MarginRuler::bcLeft() const { return model_->bcLeft(); }

int MarginRuler::bcTop() const { return model_->bcTop(); }

int MarginRuler::bcHeight() const { return model_->bcHeight(); }

int MarginRuler::bcWidth() const { return model_->bcWidth(); }

double MarginRuler::bcWidth_n() const { return model_->bcWidth_n(); }

void MarginRuler::setNLSpace(int twips)
{
    if (!model_->setNLSpace(twips))
        return;
    update();
    emit propertyChanged(QStringLiteral("nLSpace"));
}

void MarginRuler::setNRSpace(int twips)
{
    if (!model_->setNRSpace(twips))
        return;
    update();
    emit propertyChanged(QStringLiteral("nRSpace"));
}

void MarginRuler::setBcLeft(int twips)
{
    model_->setBcLeft(twips);
    layOut();
    emit propertyChanged(QStringLiteral("bcLeft"));
}

void MarginRuler::setBcTop(int twips)
{
    model_->setBcTop(twips);
    layOut();
    emit propertyChanged(QStringLiteral("bcTop"));
}

void MarginRuler::setBcHeight(int twips)
{
    model_->setBcHeight(twips);
    layOut();
    emit propertyChanged(QStringLiteral("bcHeight"));
}

void MarginRuler::setBcWidth(int twips)
{
    model_->setBcWidth(twips);
    layOut();
    emit propertyChanged(QStringLiteral("bcWidth"));
}

void MarginRuler::setBcWidth_n(double factor)
{
    if (!model_->setBcWidth_n(factor))
        return;
    update();
    emit propertyChanged(QStringLiteral("bcWidth_n"));
}

void MarginRuler::setShow(bool)
{
    model_->applyShow();
    layOut();
}

void MarginRuler::ReadProperties(const QVariantMap& bag)
{
    model_->ReadProperties(bag);
    layOut();
}

QVariantMap MarginRuler::WriteProperties() const { return model_->WriteProperties(); }

void MarginRuler::raiseEvents(const RulerEvents& events)
{
    update();
    if (guide_) {
        if (model_->guidesVisible() && isVisible()) {
            const QPoint foot = mapTo(parentWidget(), QPoint(0, height()));
            const int x
                = foot.x() + static_cast<int>(std::lround(pixels(model_->scaleLeft() + model_->guideX())));
            guide_->setGeometry(x, foot.y(), 1, std::max(0, parentWidget()->height() - foot.y()));
            if (guide_->isHidden()) {
                guide_->show();
                guide_->raise();
            }
        } else {
            guide_->hide();
        }
    }
    for (const RulerEvent& e : events) {
        switch (e.kind) {
        case RulerEvent::Kind::LRValueChang:
            emit LRValueChang(e.first, e.second);
            break;
        case RulerEvent::Kind::aChangBegin:
            emit aChangBegin();
            break;
        case RulerEvent::Kind::aChangOver:
            emit aChangOver();
            break;
        case RulerEvent::Kind::BjMainMun:
            emit BjMainMun();
            break;
        case RulerEvent::Kind::SetLineSpcing:
            emit SetLineSpcing(e.first, e.second);
            break;
        case RulerEvent::Kind::ShowMyHelp:
            emit ShowMyHelp();
            break;
        }
    }
}

void MarginRuler::endOpenGesture()
{
    pressedPart_ = RulerPart::None;
    raiseEvents(model_->endOpenGesture());
}

void MarginRuler::setFocusColour(const QColor& colour)
{
    QPalette palette = label1_->palette();
    palette.setColor(QPalette::WindowText, colour);
    label1_->setPalette(palette);
}

bool MarginRuler::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QPointF t = scalePoint(help->pos());
        const RulerPart part = overControls(help->pos()) ? RulerPart::None : model_->partAt(t.x(), t.y());
        if (isPin(part) && !model_->tip(pinOf(part)).isEmpty())
            QToolTip::showText(help->globalPos(), model_->tip(pinOf(part)), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

bool MarginRuler::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == label1_ && event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            menu_->popup(mouse->globalPosition().toPoint());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MarginRuler::mousePressEvent(QMouseEvent* event)
{
    const QPointF t = scalePoint(event->position());
    RulerPart part = pressedPart_;
    if (part == RulerPart::None && !overControls(event->position()))
        part = model_->partAt(t.x(), t.y());
    if (part == RulerPart::None) {
        QWidget::mousePressEvent(event);
        return;
    }
    pressedPart_ = part;
    raiseEvents(model_->press(part, t.x() - model_->partLeft(part), event->button()));
}

void MarginRuler::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF t = scalePoint(event->position());
    const RulerPart under = overControls(event->position()) ? RulerPart::None : model_->partAt(t.x(), t.y());
    setCursor(isPin(under) || isPin(pressedPart_) ? Qt::PointingHandCursor : Qt::ArrowCursor);
    if (pressedPart_ != RulerPart::None) {
        // The button went up where the ruler did not see it: the mouse was taken away.
        if (event->buttons() == Qt::NoButton)
            endOpenGesture();
        else if (isPin(pressedPart_))
            raiseEvents(
                model_->move(pinOf(pressedPart_), t.x() - model_->partLeft(pressedPart_), event->buttons()));
        return;
    }
    if (event->buttons() == Qt::NoButton && isPin(under))
        raiseEvents(model_->move(pinOf(under), t.x() - model_->partLeft(under), Qt::NoButton));
}

void MarginRuler::mouseReleaseEvent(QMouseEvent* event)
{
    const RulerPart part = pressedPart_;
    if (part == RulerPart::None) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    if (event->buttons() == Qt::NoButton)
        pressedPart_ = RulerPart::None;
    raiseEvents(model_->release(part));
}

void MarginRuler::keyPressEvent(QKeyEvent* event)
{
    // Keys that one of the controls at the left end left alone come here too; only the scale's own count.
    if (!hasFocus()) {
        QWidget::keyPressEvent(event);
        return;
    }
    raiseEvents(model_->keyDown(event->key(), event->modifiers()));
}

void MarginRuler::keyReleaseEvent(QKeyEvent* event)
{
    // A held key repeats its press alone: one release ends it.
    if (!hasFocus() || event->isAutoRepeat()) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    raiseEvents(model_->keyUp());
}

void MarginRuler::focusInEvent(QFocusEvent* event)
{
    setFocusColour(kGrey);
    QWidget::focusInEvent(event);
}

void MarginRuler::focusOutEvent(QFocusEvent* event)
{
    if (event->reason() != Qt::PopupFocusReason)
        setFocusColour(kSilver);
    endOpenGesture();
    QWidget::focusOutEvent(event);
}

void MarginRuler::hideEvent(QHideEvent* event)
{
    endOpenGesture();
    if (guide_)
        guide_->hide();
    QWidget::hideEvent(event);
}

void MarginRuler::paintEvent(QPaintEvent*)
{
    const MarginModel& m = *model_;
    QPainter p(this);
    const double tpp = m.twipsPerPixel();
    p.fillRect(rect(), palette().window());
    // Everything below is drawn in twips.
    p.scale(1 / tpp, 1 / tpp);
    const double stripWidth = width() * tpp;
    const double stripHeight = height() * tpp;
    p.setPen(QPen(Qt::white, 0));
    p.drawLine(QPointF(0, 12), QPointF(stripWidth, 12));
    p.setPen(QPen(kGrey, 0));
    p.drawLine(QPointF(0, stripHeight - 11), QPointF(stripWidth, stripHeight - 11));

    p.save();
    p.translate(m.scaleLeft(), m.scaleTop());
    const double w = m.scaleWidth();
    const double h = m.scaleHeight();
    const std::pair<double, QColor> etched[]
        = { { 8, kGrey }, { 12, Qt::white }, { w - 12, kGrey }, { w - 8, Qt::white } };
    for (const auto& [x, colour] : etched) {
        p.setPen(QPen(colour, 0));
        p.drawLine(QPointF(x, 45), QPointF(x, 246));
    }
    p.setPen(QPen(Qt::white, 0));
    p.drawLine(QPointF(0, 12), QPointF(w, 12));
    p.setPen(QPen(kGrey, 0));
    p.drawLine(QPointF(0, h - 12), QPointF(w, h - 12));

    const double barTop = MarginModel::kBarTop;
    const double barHeight = MarginModel::kBarHeight;
    p.fillRect(QRectF(m.barLeft(), barTop, m.barWidth(), barHeight), Qt::white);
    p.fillRect(QRectF(m.barLeft(), barTop, m.greenWidth(), barHeight), kGreen);
    p.fillRect(QRectF(m.redLeft(), barTop, m.redWidth(), barHeight), kRed);

    p.setPen(QPen(palette().windowText().color(), 0));
    const double step = m.tickStep();
    for (int k = 0; k <= 21; ++k) {
        const double x = m.barLeft() + k * step;
        p.drawLine(QPointF(x, 0.62 * h), QPointF(x, 0.9 * h));
        if (k < 21)
            p.drawLine(QPointF(x + step / 2, 0.72 * h), QPointF(x + step / 2, 0.9 * h));
    }
    if (m.guidesVisible()) {
        p.setPen(QPen(QColor(64, 64, 64), 0, Qt::DashLine));
        p.drawLine(QPointF(m.guideX(), MarginModel::kMarkerTop + MarginModel::kMarkerHeight),
            QPointF(m.guideX(), h));
    }

    p.setRenderHint(QPainter::Antialiasing);
    const QColor pinColours[] = { kGreen, kRed };
    for (int pin = 0; pin < 2; ++pin) {
        p.setPen(QPen(pinColours[pin].darker(170), 0));
        p.setBrush(pinColours[pin]);
        p.drawPolygon(pinShape(m.pinLeft(pin), MarginModel::kMarkerTop));
    }
    p.restore();

    p.fillRect(QRectF(0, 0, kControlsWidth, stripHeight), palette().window());
}

} // namespace tunvale::margin
