#include "components/margin/margin_model.h"

#include "platform/text/runtime_numbers.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace tunvale::margin {

using platform::RoundHalfEven;

namespace {

constexpr double kW = MarginModel::kMarkerWidth;

// Persisted properties and the values that a missing key reads as and that writing leaves out.
constexpr int kDefaultSpace = 820;
constexpr int kDefaultLeft = 3015;
constexpr int kDefaultWidth = 11906;
constexpr int kDefaultTop = 0;
constexpr int kDefaultHeight = 288;
constexpr double kDefaultFactor = 1;

// The number a stored value holds; nothing for a value that is no number, NaN or infinite.
std::optional<double> numberValue(const QVariantMap& bag, const QString& key)
{
    const auto it = bag.find(key);
    if (it == bag.end())
        return std::nullopt;
    bool ok = false;
    const double value = it->toDouble(&ok);
    return ok && std::isfinite(value) ? std::optional(value) : std::nullopt;
}

// The stored properties are 16-bit, rounded as the runtime rounds to them: a value beyond that range is
// as good as a missing one.
int intValue(const QVariantMap& bag, const QString& key, int fallback)
{
    const double value = RoundHalfEven(numberValue(bag, key).value_or(fallback));
    const bool inRange = value >= std::numeric_limits<std::int16_t>::min()
        && value <= std::numeric_limits<std::int16_t>::max();
    return inRange ? static_cast<int>(value) : fallback;
}

int roundedInt(double x) { return static_cast<int>(RoundHalfEven(x)); }

} // namespace

QString TwoDecimals(double value) { return QString::number(RoundHalfEven(value, 2), 'g', 15); }

MarginModel::MarginModel(int dpi)
    : twipsPerPixel_(roundedInt(1440.0 / std::clamp(dpi, 1, kMaxDpi)))
    , dpi_(std::clamp(dpi, 1, kMaxDpi))
{
    initLayout();
    drawRuler(1);
    placeMarkers();
}

bool MarginModel::setNLSpace(int twips)
{
    if (twips < 0)
        return false;
    nLSpace_ = twips;
    placeMarkers();
    return true;
}

bool MarginModel::setNRSpace(int twips)
{
    if (twips < 0)
        return false;
    nRSpace_ = twips;
    placeMarkers();
    return true;
}

void MarginModel::setBcLeft(int twips)
{
    bcLeft_ = twips;
    initLayout();
    placeMarkers();
}

void MarginModel::setBcTop(int twips)
{
    bcTop_ = twips;
    initLayout();
    placeMarkers();
}

void MarginModel::setBcHeight(int twips)
{
    bcHeight_ = twips;
    initLayout();
    placeMarkers();
}

void MarginModel::setBcWidth(int twips)
{
    bcWidth_ = twips;
    // Until the scale is drawn again the page bar takes this width.
    barWidth_ = twips;
    initLayout();
    placeMarkers();
}

bool MarginModel::setBcWidth_n(double factor)
{
    if (!(factor >= kMinFactor && factor <= kMaxFactor))
        return false;
    bcWidthN_ = factor;
    drawRuler(factor);
    placeMarkers();
    return true;
}

void MarginModel::applyShow()
{
    initLayout();
    placeMarkers();
}

const QStringList& MarginModel::propertyKeys()
{
    static const QStringList keys { QStringLiteral("nLSpace"), QStringLiteral("nRSpace"),
        QStringLiteral("bcLeft"), QStringLiteral("bcWidth"), QStringLiteral("bcTop"),
        QStringLiteral("bcHeight"), QStringLiteral("bcVisible"), QStringLiteral("bcWidth_n") };
    return keys;
}

void MarginModel::ReadProperties(const QVariantMap& bag)
{
    // The margins are stored without their setters; a negative one, which no setter would take, reads as
    // the default.
    const auto margin = [&bag](const QString& key) {
        const int value = intValue(bag, key, kDefaultSpace);
        return value < 0 ? kDefaultSpace : value;
    };
    nLSpace_ = margin(QStringLiteral("nLSpace"));
    nRSpace_ = margin(QStringLiteral("nRSpace"));
    setBcLeft(intValue(bag, QStringLiteral("bcLeft"), kDefaultLeft));
    setBcWidth(intValue(bag, QStringLiteral("bcWidth"), kDefaultWidth));
    setBcTop(intValue(bag, QStringLiteral("bcTop"), kDefaultTop));
    setBcHeight(intValue(bag, QStringLiteral("bcHeight"), kDefaultHeight));
    // bcVisible is stored but means nothing.
    setBcWidth_n(numberValue(bag, QStringLiteral("bcWidth_n")).value_or(kDefaultFactor));
    drawRuler(bcWidthN_);
    placeMarkers();
}

QVariantMap MarginModel::WriteProperties() const
{
    QVariantMap bag;
    const auto write = [&bag](const char* key, const QVariant& value, const QVariant& fallback) {
        if (value != fallback)
            bag.insert(QLatin1String(key), value);
    };
    write("nLSpace", nLSpace_, kDefaultSpace);
    write("nRSpace", nRSpace_, kDefaultSpace);
    write("bcLeft", bcLeft_, kDefaultLeft);
    write("bcWidth", bcWidth_, kDefaultWidth);
    write("bcTop", bcTop_, kDefaultTop);
    write("bcHeight", bcHeight_, kDefaultHeight);
    write("bcVisible", false, true);
    write("bcWidth_n", bcWidthN_, kDefaultFactor);
    return bag;
}

void MarginModel::initLayout()
{
    kind_ = static_cast<int>(SetMod::DQLine);
    pageTwips_ = roundedInt(210 / 25.4 * dpi_ * twipsPerPixel_);
    cmPerTwip_ = 25.4 / (twipsPerPixel_ * (dpi_ * 10.0));
    bcWidthN_ = 1;
}

void MarginModel::drawRuler(double factor)
{
    barWidth_ = pageTwips_ * factor;
    scaleWidth_ = barWidth_ + 2 * kW;
}

void MarginModel::placeMarkers()
{
    greenWidth_ = nLSpace_;
    pinLeft_[0] = barLeft() + nLSpace_ - kW / 2;
    redLeft_ = barLeft() + barWidth_ - nRSpace_;
    redWidth_ = nRSpace_;
    pinLeft_[1] = redLeft_ - kW / 2;
}

void MarginModel::moveLeftMarker(double newLeft, RulerEvents& events)
{
    double left = newLeft;
    if (left + kW > pinLeft_[1])
        left = pinLeft_[1] - kW;
    if (left + kW / 2 < barLeft())
        left = barLeft() - kW / 2;
    pinLeft_[0] = left;
    nLSpace_ = roundedInt((left + kW / 2 - barLeft()) / bcWidthN_);
    greenWidth_ = left - barLeft() + kW / 2;
    events.push_back({ RulerEvent::Kind::LRValueChang, nLSpace_, nRSpace_ });
    guideX_ = left + kW / 2;
}

void MarginModel::moveRightMarker(double newLeft, RulerEvents& events)
{
    double left = newLeft;
    if (pinLeft_[0] + kW > left)
        left = pinLeft_[0] + kW;
    const double pageEnd = barLeft() + barWidth_;
    if (left + kW / 2 > pageEnd)
        left = pageEnd - kW / 2;
    pinLeft_[1] = left;
    nRSpace_ = roundedInt((pageTwips_ * bcWidthN_ + barLeft() - (left + kW / 2)) / bcWidthN_);
    redLeft_ = left + kW / 2;
    redWidth_ = pageEnd - redLeft_;
    events.push_back({ RulerEvent::Kind::LRValueChang, nLSpace_, nRSpace_ });
    guideX_ = left + kW / 2;
}

void MarginModel::begin(RulerEvents& events)
{
    events.push_back({ RulerEvent::Kind::aChangBegin });
    gestureOpen_ = true;
}

void MarginModel::over(RulerEvents& events)
{
    guidesVisible_ = false;
    events.push_back({ RulerEvent::Kind::aChangOver });
    gestureOpen_ = false;
}

RulerEvents MarginModel::press(RulerPart part, double x, Qt::MouseButton button)
{
    RulerEvents events;
    if (part == RulerPart::None || !std::isfinite(x))
        return events;
    begin(events);
    guidesVisible_ = true;
    switch (part) {
    case RulerPart::Pin0:
    case RulerPart::Pin1: {
        const int pin = part == RulerPart::Pin0 ? 0 : 1;
        grabX_[pin] = x;
        guideX_ = pinLeft_[pin] + kW / 2;
        break;
    }
    case RulerPart::Bar: {
        const double c = barLeft() + x;
        if (button == Qt::LeftButton) {
            const double reach = pinLeft_[0] + kClickReach;
            moveLeftMarker(c <= reach ? c - kW / 2 : reach, events);
        } else if (button == Qt::RightButton) {
            const bool near = c >= pinLeft_[1] + kW / 2 - kClickReach;
            moveRightMarker(near ? c - kW / 2 : pinLeft_[1] - kClickReach, events);
        }
        break;
    }
    case RulerPart::Green: {
        const double c = barLeft() + x;
        const double reach = pinLeft_[0] - kClickReach;
        moveLeftMarker(c <= reach ? reach : c - kW / 2, events);
        break;
    }
    case RulerPart::Red:
        moveRightMarker(pinLeft_[1] + (x > kClickReach ? kClickReach : x), events);
        break;
    case RulerPart::None:
        break;
    }
    return events;
}

RulerEvents MarginModel::move(int pin, double x, Qt::MouseButtons buttons)
{
    RulerEvents events;
    if (!std::isfinite(x))
        return events;
    // Every second accepted move does nothing, which halves the work of a drag.
    if (moveToggle_) {
        moveToggle_ = false;
        return events;
    }
    const double n = pinLeft_[pin] + x - grabX_[pin];
    const bool within = pin == 0 ? n >= barLeft() && n + kW <= pinLeft_[1]
                                 : n + kW <= barLeft() + barWidth_ && pinLeft_[0] + kW <= n;
    if (!within)
        return events;
    if (buttons == Qt::LeftButton && gestureOpen_) {
        if (pin == 0)
            moveLeftMarker(n, events);
        else
            moveRightMarker(n, events);
    }
    tips_[pin] = TwoDecimals((pin == 0 ? nLSpace_ : nRSpace_) * cmPerTwip_) + QStringLiteral("厘米");
    moveToggle_ = true;
    return events;
}

RulerEvents MarginModel::release(RulerPart part)
{
    RulerEvents events;
    if (part != RulerPart::None)
        over(events);
    return events;
}

RulerEvents MarginModel::keyDown(int key, Qt::KeyboardModifiers modifiers)
{
    RulerEvents events;
    begin(events);
    if (key != Qt::Key_Left && key != Qt::Key_Right)
        return events;
    const double step = key == Qt::Key_Left ? -kKeyStep : kKeyStep;
    const Qt::KeyboardModifiers held
        = modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (held == Qt::ShiftModifier) {
        guidesVisible_ = true;
        moveLeftMarker(pinLeft_[0] + step, events);
    } else if (held == Qt::ControlModifier) {
        guidesVisible_ = true;
        moveRightMarker(pinLeft_[1] + step, events);
    }
    return events;
}

RulerEvents MarginModel::keyUp()
{
    RulerEvents events;
    over(events);
    return events;
}

RulerEvents MarginModel::endOpenGesture()
{
    RulerEvents events;
    if (gestureOpen_)
        over(events);
    return events;
}

RulerEvents MarginModel::stepSpacing(bool up)
{
    if (up ? spacing_ >= kMaxSpacing : spacing_ <= kMinSpacing)
        return {};
    spacing_ += up ? 1 : -1;
    return { { RulerEvent::Kind::SetLineSpcing, kind_, spacing_ * 10 } };
}

RulerEvents MarginModel::choose(MenuEntry entry)
{
    return { { entry == MenuEntry::MainToolbar ? RulerEvent::Kind::BjMainMun
                                               : RulerEvent::Kind::ShowMyHelp } };
}

RulerPart MarginModel::partAt(double x, double y) const
{
    const auto within = [](double v, double from, double length) { return v >= from && v < from + length; };
    if (within(y, kMarkerTop, kMarkerHeight)) {
        for (int pin = 0; pin < 2; ++pin) {
            if (within(x, pinLeft_[pin], kW))
                return pin == 0 ? RulerPart::Pin0 : RulerPart::Pin1;
        }
    }
    if (!within(y, kBarTop, kBarHeight))
        return RulerPart::None;
    if (within(x, redLeft_, redWidth_))
        return RulerPart::Red;
    if (within(x, barLeft(), greenWidth_))
        return RulerPart::Green;
    if (within(x, barLeft(), barWidth_))
        return RulerPart::Bar;
    return RulerPart::None;
}

double MarginModel::partLeft(RulerPart part) const
{
    switch (part) {
    case RulerPart::Pin0:
        return pinLeft_[0];
    case RulerPart::Pin1:
        return pinLeft_[1];
    case RulerPart::Red:
        return redLeft_;
    case RulerPart::Bar:
    case RulerPart::Green:
    case RulerPart::None:
        break;
    }
    return barLeft();
}

} // namespace tunvale::margin
