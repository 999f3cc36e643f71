#pragma once

#include "hint_balloon.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <optional>

namespace tunvale::hintballoon {

// The hint window: a frameless popup drawn as a bordered rectangle or as a rounded balloon whose stem
// points at the place it belongs to. A plain hint with show-mode flags rolls in over 200 ms.
class HintPopup : public QWidget
{
    Q_OBJECT

public:
    static constexpr int RollInMs = 200;

    HintPopup();

    // Shows `look` at `anchor` (a global point: the pointer, or the bottom centre of a tool for a
    // centred hint), below it when there is room on the screen, else above. `rollIn` false shows the
    // hint at once (a refresh of one already up).
    void present(const HintLook& look, QPoint anchor, bool centred, bool rollIn);
    const HintLook& look() const { return look_; }
    // The last present rolled the hint in.
    bool rolledIn() const { return rolledIn_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    static constexpr int StemHeight = 12;
    static constexpr int StemWidth = 16;
    static constexpr int StemInset = 20; // from the body's left edge to the stem's left side
    static constexpr int IconSize = 16;

    QSize contentSize() const;
    int padding() const;
    QRect bodyRect() const;
    QPainterPath outline() const;
    void stepRollIn();
    void applyMask(double progress);

    HintLook look_;
    bool stemBelow_ = false; // the balloon sits above its anchor
    int stemX_ = 0; // the stem tip's x within the window
    bool rolledIn_ = false;
    QTimer rollTimer_;
    QElapsedTimer rollClock_;
};

} // namespace tunvale::hintballoon
