#include "app/drums/step_grid.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace tunvale::drums {

namespace {

constexpr int kTracks = notation::DrumRecord::Tracks;
constexpr int kSteps = notation::DrumRecord::Steps;

} // namespace

StepGrid::StepGrid(int rowPitchTwips, QWidget* parent)
    : QWidget(parent)
    , rowPitchTwips_(std::max(rowPitchTwips, kRowTwips))
{
    setObjectName(QStringLiteral("Label5"));
    setFixedSize(int(std::lround(kSteps * kStepTwips / twipsPerPixel())),
        int(std::lround(((kTracks - 1) * rowPitchTwips_ + kRowTwips) / twipsPerPixel())));
    QFont small(QStringLiteral("Monospace"));
    small.setStyleHint(QFont::TypeWriter);
    small.setPixelSize(std::max(8, int(kRowTwips / twipsPerPixel()) - 3));
    setFont(small);
}

double StepGrid::twipsPerPixel() const { return 1440.0 / logicalDpiX(); }

bool StepGrid::step(int track, int step) const
{
    if (track < 0 || track >= kTracks || step < 0 || step >= kSteps)
        return false;
    return steps_[std::size_t(track)][std::size_t(step)];
}

void StepGrid::setStep(int track, int step, bool on)
{
    if (track < 0 || track >= kTracks || step < 0 || step >= kSteps)
        return;
    steps_[std::size_t(track)][std::size_t(step)] = on;
    update();
}

QString StepGrid::stepText(int track) const
{
    QString text;
    for (int s = 0; s < kSteps; ++s)
        text += step(track, s) ? u'*' : u'-';
    return text;
}

void StepGrid::clearSteps()
{
    steps_ = {};
    update();
}

void StepGrid::setBarEnd(int steps)
{
    barEnd_ = std::clamp(steps, 0, kSteps);
    update();
}

QPoint StepGrid::cellCentre(int track, int step) const
{
    const double tpp = twipsPerPixel();
    return { int(((step + 0.5) * kStepTwips) / tpp), int((track * rowPitchTwips_ + kRowTwips / 2.0) / tpp) };
}

void StepGrid::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const double tpp = twipsPerPixel();
    const auto x = [tpp](int step) { return step * kStepTwips / tpp; };
    const QColor group[2] = { QColor(255, 255, 255), QColor(236, 240, 248) };
    const QColor outside(214, 214, 214);
    for (int t = 0; t < kTracks; ++t) {
        const double top = t * rowPitchTwips_ / tpp;
        const double height = kRowTwips / tpp;
        for (int s = 0; s < kSteps; ++s) {
            const QRectF cell(x(s), top, x(s + 1) - x(s), height);
            painter.fillRect(cell, s >= barEnd_ ? outside : group[(s / 4) % 2]);
            painter.setPen(palette().color(QPalette::WindowText));
            painter.drawText(cell, Qt::AlignCenter, step(t, s) ? QStringLiteral("*") : QStringLiteral("-"));
        }
        // Every four steps, the line between two beats.
        painter.setPen(QColor(150, 150, 150));
        for (int s = 4; s < kSteps; s += 4)
            painter.drawLine(QPointF(x(s), top), QPointF(x(s), top + height));
    }
    painter.setPen(QPen(QColor(220, 0, 0), 2));
    const double end = std::clamp(x(barEnd_), 1.0, double(width() - 1));
    painter.drawLine(QPointF(end, 0), QPointF(end, height()));
}

void StepGrid::mousePressEvent(QMouseEvent* event)
{
    const double tpp = twipsPerPixel();
    const QPointF t = event->position() * tpp;
    const int track = int(std::floor(t.y() / rowPitchTwips_));
    const int s = int(std::floor(t.x() / kStepTwips));
    if (track < 0 || track >= kTracks || s < 0 || s >= kSteps)
        return;
    emit stepPressed(track, s);
}

} // namespace tunvale::drums
