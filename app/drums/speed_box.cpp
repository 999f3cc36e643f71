#include "app/drums/speed_box.h"

#include "app/drums/drum_editor_state.h"
#include "platform/text/runtime_numbers.h"

namespace tunvale::drums {

SpeedBox::SpeedBox(QWidget* parent)
    : QSpinBox(parent)
{
    setRange(kMinSpeed, kMaxSpeed);
    setValue(kDefaultSpeed);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    setToolTip(QStringLiteral("音速：%1-%2").arg(kMinSpeed).arg(kMaxSpeed));
}

QValidator::State SpeedBox::validate(QString& input, int& pos) const
{
    const QValidator::State state = QSpinBox::validate(input, pos);
    if (state != QValidator::Invalid)
        return state;
    // Any run of digits may be typed; the end of the typing holds it to the range.
    const QString digits = input.trimmed();
    const bool allDigits = !digits.isEmpty() && digits.size() <= 6
        && std::all_of(digits.begin(), digits.end(), [](QChar c) { return c.isDigit(); });
    return allDigits ? QValidator::Intermediate : QValidator::Invalid;
}

void SpeedBox::fixup(QString& input) const { input = QString::number(HeldSpeed(platform::Val(input))); }

} // namespace tunvale::drums
