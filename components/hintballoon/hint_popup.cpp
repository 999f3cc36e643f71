#include "components/hintballoon/hint_popup.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QStyle>
#include <QToolTip>

#include <algorithm>

namespace tunvale::hintballoon {

namespace {

constexpr int kBalloonRadius = 8;
constexpr int kTitleGap = 4; // between the title line and the text, and between icon and title
constexpr int kPointerHeight = 20; // a plain hint at the pointer starts below the pointer's arrow

int alignmentFlags(TooltipAlignment alignment)
{
    switch (alignment) {
    case ttaCentered:
        return Qt::AlignHCenter;
    case ttaRight:
        return Qt::AlignRight;
    default:
        return Qt::AlignLeft;
    }
}

int textFlags(const HintLook& look)
{
    return alignmentFlags(look.alignment) | Qt::AlignTop | (look.width > 0 ? Qt::TextWordWrap : 0);
}

std::optional<QStyle::StandardPixmap> iconPixmap(TooltipIcon icon)
{
    switch (icon) {
    case ttiInfo:
        return QStyle::SP_MessageBoxInformation;
    case ttiWarning:
        return QStyle::SP_MessageBoxWarning;
    case ttiError:
        return QStyle::SP_MessageBoxCritical;
    default:
        return std::nullopt;
    }
}

} // namespace

HintPopup::HintPopup()
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("HintPopup"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFont(QToolTip::font());
    rollTimer_.setInterval(15);
    connect(&rollTimer_, &QTimer::timeout, this, &HintPopup::stepRollIn);
}

int HintPopup::padding() const { return (look_.balloon ? 8 : 3) + std::max(0, look_.margin); }

QSize HintPopup::contentSize() const
{
    QSize title;
    if (!look_.title.isEmpty()) {
        QFont bold = font();
        bold.setBold(true);
        const QFontMetrics metrics(bold);
        const bool icon = iconPixmap(look_.icon).has_value();
        title = QSize((icon ? IconSize + kTitleGap : 0) + metrics.horizontalAdvance(look_.title),
            std::max(icon ? IconSize : 0, metrics.height()));
    }
    const int room = look_.width > 0 ? look_.width : 100000;
    const QRect text = fontMetrics().boundingRect(QRect(0, 0, room, 100000), textFlags(look_), look_.text);
    const int gap = title.isEmpty() || look_.text.isEmpty() ? 0 : kTitleGap;
    return { std::max(title.width(), text.width()), title.height() + gap + text.height() };
}

QRect HintPopup::bodyRect() const
{
    if (!look_.balloon)
        return rect();
    return stemBelow_ ? QRect(0, 0, width(), height() - StemHeight)
                      : QRect(0, StemHeight, width(), height() - StemHeight);
}

QPainterPath HintPopup::outline() const
{
    const QRectF body = QRectF(bodyRect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath path;
    if (!look_.balloon) {
        path.addRect(body);
        return path;
    }
    path.addRoundedRect(body, kBalloonRadius, kBalloonRadius);
    const double half = StemWidth / 2.0;
    const double base = stemBelow_ ? body.bottom() - 1 : body.top() + 1;
    const double tip = stemBelow_ ? height() - 0.5 : 0.5;
    QPainterPath stem;
    stem.moveTo(stemX_ - half, base);
    stem.lineTo(stemX_, tip);
    stem.lineTo(stemX_ + half, base);
    stem.closeSubpath();
    return path.united(stem);
}

void HintPopup::present(const HintLook& look, QPoint anchor, bool centred, bool rollIn)
{
    look_ = look;
    rollTimer_.stop();
    rolledIn_ = false;
    setAttribute(Qt::WA_TransparentForMouseEvents, look.transparent);
    if (bool(windowFlags() & Qt::WindowTransparentForInput) != look.transparent)
        setWindowFlag(Qt::WindowTransparentForInput, look.transparent);

    const QSize content = contentSize();
    const QSize body = content + QSize(2 * padding(), 2 * padding());
    const QSize total = look.balloon ? body + QSize(0, StemHeight) : body;
    const QScreen* screen = QGuiApplication::screenAt(anchor);
    const QRect room = (screen ? screen : QGuiApplication::primaryScreen())->availableGeometry();

    const int below = look.balloon ? 0 : (centred ? 2 : kPointerHeight);
    int top = anchor.y() + below;
    stemBelow_ = top + total.height() > room.bottom() && anchor.y() - total.height() >= room.top();
    if (stemBelow_)
        top = anchor.y() - total.height() - (look.balloon ? 0 : 2);
    int left = centred ? anchor.x() - body.width() / 2 : anchor.x();
    if (look.balloon && !centred)
        left -= StemInset + StemWidth / 2;
    left = std::clamp(left, room.left(), std::max(room.left(), room.right() + 1 - body.width()));
    stemX_ = std::clamp(anchor.x() - left, kBalloonRadius + StemWidth / 2,
        std::max(kBalloonRadius + StemWidth / 2, body.width() - kBalloonRadius - StemWidth / 2));

    setGeometry(left, top, total.width(), total.height());
    if (rollIn && !look.balloon && look.showMode != ttsmDefault) {
        rolledIn_ = true;
        applyMask(0);
        rollClock_.start();
        rollTimer_.start();
    } else {
        applyMask(1);
    }
    show();
    update();
}

void HintPopup::stepRollIn()
{
    const double progress = std::min(1.0, rollClock_.elapsed() / double(RollInMs));
    applyMask(progress);
    if (progress >= 1)
        rollTimer_.stop();
}

void HintPopup::applyMask(double progress)
{
    QRegion shape = look_.balloon ? QRegion(outline().toFillPolygon().toPolygon()) : QRegion(rect());
    if (progress < 1) {
        const int w = std::max(1, int(width() * progress)), h = std::max(1, int(height() * progress));
        QRect shown = rect();
        if (look_.showMode & ttsmCenter) {
            shown = QRect((width() - w) / 2, (height() - h) / 2, w, h);
        } else {
            if (look_.showMode & ttsmLeftToRight)
                shown.setWidth(w);
            else if (look_.showMode & ttsmRightToLeft)
                shown.setLeft(width() - w);
            if (look_.showMode & ttsmTopToBottom)
                shown.setHeight(h);
            else if (look_.showMode & ttsmBottomToTop)
                shown.setTop(height() - h);
        }
        shape &= QRegion(shown);
    }
    if (!look_.balloon && progress >= 1)
        clearMask();
    else
        setMask(shape);
}

void HintPopup::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(look_.foreColor, 1));
    painter.setBrush(look_.backColor);
    painter.drawPath(outline());

    const QRect inner = bodyRect().adjusted(padding(), padding(), -padding(), -padding());
    int y = inner.top();
    if (!look_.title.isEmpty()) {
        QFont bold = font();
        bold.setBold(true);
        const QFontMetrics metrics(bold);
        int x = inner.left();
        const int line = std::max(metrics.height(), iconPixmap(look_.icon) ? int(IconSize) : 0);
        if (const auto icon = iconPixmap(look_.icon)) {
            style()->standardIcon(*icon).paint(
                &painter, QRect(x, y + (line - IconSize) / 2, IconSize, IconSize));
            x += IconSize + kTitleGap;
        }
        painter.setFont(bold);
        painter.drawText(
            QRect(x, y, inner.right() - x + 1, line), Qt::AlignLeft | Qt::AlignVCenter, look_.title);
        y += line + (look_.text.isEmpty() ? 0 : kTitleGap);
    }
    painter.setFont(font());
    painter.drawText(
        QRect(inner.left(), y, inner.width(), inner.bottom() - y + 1), textFlags(look_), look_.text);
}

} // namespace tunvale::hintballoon
