#include "components/hintballoon/color_value.h"

#include <cmath>

namespace tunvale::hintballoon {

namespace {

// A 32-bit number as the caller's value holds it: a number, or a text that is one (decimal or "&H").
std::optional<qint64> colorNumber(const QVariant& value)
{
    bool ok = false;
    double number = 0;
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString().trimmed();
        if (text.startsWith(QStringLiteral("&H"), Qt::CaseInsensitive))
            number = double(text.mid(2).toLongLong(&ok, 16));
        else
            number = text.toDouble(&ok);
    } else if (value.canConvert<double>() && value.typeId() != QMetaType::Bool) {
        number = value.toDouble(&ok);
    }
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    number = std::nearbyint(number);
    if (number < -2147483648.0 || number > 4294967295.0)
        return std::nullopt;
    return static_cast<qint64>(number) & 0xFFFFFFFF;
}

std::optional<QPalette::ColorRole> systemRole(qint64 index)
{
    switch (index) {
    case 5: // window
        return QPalette::Base;
    case 8: // window text
        return QPalette::Text;
    case 13: // highlight
        return QPalette::Highlight;
    case 14: // highlight text
        return QPalette::HighlightedText;
    case 15: // button face
        return QPalette::Button;
    case 18: // button text
        return QPalette::ButtonText;
    case kInfoTextColor & 0xFF:
        return QPalette::ToolTipText;
    case kInfoBackColor & 0xFF:
        return QPalette::ToolTipBase;
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<QColor> ColorFromValue(const QVariant& value, const QPalette& palette)
{
    const std::optional<qint64> number = colorNumber(value);
    if (!number)
        return std::nullopt;
    if (*number & 0x80000000) {
        const std::optional<QPalette::ColorRole> role
            = (*number & 0x7FFFFF00) ? std::nullopt : systemRole(*number & 0xFF);
        return role ? palette.color(QPalette::Active, *role) : QColor(Qt::black);
    }
    return QColor(int(*number & 0xFF), int((*number >> 8) & 0xFF), int((*number >> 16) & 0xFF));
}

} // namespace tunvale::hintballoon
