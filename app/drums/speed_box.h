#pragma once

#include <QSpinBox>

namespace tunvale::drums {

// The speed of a drum pattern, 30 to 255: a typed speed outside the range is held to it when the
// typing ends (300 gives 255), and 0 means the default speed.
class SpeedBox : public QSpinBox
{
    Q_OBJECT

public:
    explicit SpeedBox(QWidget* parent = nullptr);

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
};

} // namespace tunvale::drums
