#pragma once

#include <QWidget>

#include <vector>

// The bar strip under the score: one cell per bar, the current bar marked, the bar being played shown
// in the play colour, and the two ends of a marked range. This is the part the playback uses; the
// strip's own editing comes with the drum editor.
namespace tunvale::drums {

class CtrlSlider : public QWidget
{
    Q_OBJECT

public:
    explicit CtrlSlider(QWidget* parent = nullptr);

    // One flag per bar (whether it has drums) and the current bar.
    void GetValueLong(const std::vector<bool>& haveDrum, int bar);
    int barCount() const { return int(haveDrum_.size()); }

    // While playing, the played bar is shown in the play colour.
    void setIsPlaying(bool playing);
    bool IsPlaying() const { return playing_; }
    // The bar being played becomes the current bar.
    void setPlayXJ(int bar);
    // The current bar, when there is such a bar.
    void setMyXj(int bar);
    int currentBar() const { return current_; }
    int playedBar() const { return played_; }

    // The ends of the marked range, -1 when unset, in either order.
    int nPlay1() const { return nPlay1_; }
    int nPlay2() const { return nPlay2_; }
    void markRange(int first, int second);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int cellWidth() const;
    int firstShownBar() const;

    std::vector<bool> haveDrum_;
    int current_ = 0;
    int played_ = -1;
    bool playing_ = false;
    int nPlay1_ = -1;
    int nPlay2_ = -1;
};

} // namespace tunvale::drums
