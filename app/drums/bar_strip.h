#pragma once

#include <QWidget>

#include <vector>

// The bar strip under the score: one numbered box per bar, coloured by whether the bar has drums, the
// current bar's number in red. The window pushes the drum flags and the bar into it.
namespace tunvale::drums {

class BarStrip : public QWidget
{
    Q_OBJECT

public:
    explicit BarStrip(QWidget* parent = nullptr);

    // Takes a copy of the per-bar drum flags and the current bar (at most one past the last bar).
    bool GetValueLong(const std::vector<bool>& XjDrum0, int OnXj1);
    int MyXj() const { return myXj_; }
    // The current bar; a bar past the last one is ignored.
    void setMyXj(int bar);
    // The bar being played becomes the current bar; while playing it shows in the play colour.
    void setPlayXJ(int bar);
    void setIsPlaying(bool playing);
    bool isPlaying() const { return isPlaying_; }
    // The two ends of the marked range, -1 when unset, in either order. Marking a range comes with
    // the strip's editing; until then both are unset.
    int nPlay1() const { return -1; }
    int nPlay2() const { return -1; }
    int XjCount() const { return static_cast<int>(xjDrum_.size()); }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int designHeight() const;

    std::vector<bool> xjDrum_;
    int myXj_ = 0;
    bool isPlaying_ = false;
};
using CtrlSlider = BarStrip;

} // namespace tunvale::drums
