#pragma once

#include "app/notation/drum_record.h"

#include <QWidget>

#include <array>

namespace tunvale::drums {

// The rhythm of the eight tracks: a row of 32 steps per track, each cell 120 x 240 twips showing "*"
// for a hit and "-" for a rest, every four steps set apart, and a line where the bar ends. Rows stand
// `rowPitchTwips` apart so that they line up with the track's other controls.
class StepGrid : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kStepTwips = 120;
    static constexpr int kRowTwips = 240;

    explicit StepGrid(int rowPitchTwips, QWidget* parent = nullptr);

    bool step(int track, int step) const;
    void setStep(int track, int step, bool on);
    // A track's steps as "*" and "-".
    QString stepText(int track) const;
    void clearSteps();

    // The step after which the bar-end line stands.
    int barEnd() const { return barEnd_; }
    void setBarEnd(int steps);

    // The centre of a cell, for a press.
    QPoint cellCentre(int track, int step) const;

signals:
    // Any mouse button pressed on a cell.
    void stepPressed(int track, int step);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    double twipsPerPixel() const;

    int rowPitchTwips_;
    std::array<std::array<bool, notation::DrumRecord::Steps>, notation::DrumRecord::Tracks> steps_ {};
    int barEnd_ = 0;
};

} // namespace tunvale::drums
