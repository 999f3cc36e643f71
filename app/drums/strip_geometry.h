#pragma once

#include "platform/text/twips_rect.h"

#include <QString>

#include <array>
#include <optional>
#include <vector>

// Where everything of the bar strip lies, in twips, and the strip's state, without a widget. The
// widget paints and hit-tests this one result converted to pixels.
//
// The strip shows a row of numbered labels, one per bar, between two side boxes holding the arrows.
// It lays out 2 x ShowCount + 2 labels whatever the score's length: the row is re-captioned and
// moved, and labels outside the slots lie under the side boxes.
namespace tunvale::drums {

enum class LabelLook { Drum, Plain, MarkDrum, MarkPlain, Past };
enum class Arrow { Left = 0, Right = 1 };

using TwipsRect = platform::TwipsRect;

struct TwipsLine {
    double x1 = 0;
    double y1 = 0;
    double x2 = 0;
    double y2 = 0;
};

struct StripLabel {
    double left = 0;
    double top = 0;
    int caption = 1; // 1-based bar number
    LabelLook look = LabelLook::Plain;
    bool shown = false;
    QString toolTip;
    int mousePointer = 0; // a numbered mouse pointer, 0 the default
};

// The caret mark under and right of the red label: dark and light lines, horizontal then vertical.
struct Bevel {
    TwipsLine darkBottom;
    TwipsLine lightBottom;
    TwipsLine darkRight;
    TwipsLine lightRight;
    bool shown = false;
};

// What one arrow step did: the bar to announce, and whether it ran into an end.
struct ArrowStep {
    int bar = 0;
    bool beep = false;
};

class StripGeometry
{
public:
    static constexpr double LabelWidth = 615;
    static constexpr double LabelHeight = 375;
    static constexpr double ArrowSize = 240;
    static constexpr double PointerWidth = 75;
    static constexpr double PointerHeight = 240;
    static constexpr double TrackHeight = 75;
    static constexpr double ArrowSpace = 288; // 1.2 x the arrow's width
    static constexpr double DragTop = 150; // labels drop here while the pointer is dragged
    static constexpr int BarsPerArrowStep = 3;
    static constexpr int NoDropPointer = 12;
    // The largest width and height laid out, far beyond any screen.
    static constexpr double MaxTwips = 1'000'000;

    // Lays the fixed parts out for a strip of `width` x `height` twips and hides the labels until
    // the next DrawBars. A size no strip can have (NaN, negative, beyond MaxTwips) is held to 0 ...
    // MaxTwips.
    void resize(double width, double height);

    // Takes the per-bar drum flags and the current bar (a negative bar reads as 0, a bar beyond the
    // last at most one past it), then redraws.
    void GetValueLong(const std::vector<bool>& flags, int OnXj1);
    // The current bar; a bar past the last one is ignored (false).
    bool setMyXj(int bar);
    // The bar being played; outside 0...XjCount it is ignored (false).
    bool setPlayXJ(int bar);

    // Lays out and colours the labels around MyXj. While playing, the red mark keeps its label slot.
    void DrawBars(bool play);
    // Puts the red caption and the bevel on label n; nothing for a label that does not exist.
    void MarkBar(int n);

    // One arrow step: three bars, one near an end. It beeps at or past an end, then holds MyXj
    // within the bars; the result is the bar to announce. No redraw; no step for a value that is no
    // arrow.
    ArrowStep StepXj(Arrow arrow);
    // Mode 0 clears both audition marks, 1 sets the start, 2 the end at HotXj; other modes keep
    // them. Redraws.
    void SetPlayRange(int mode);
    void setPlayRange(int first, int last);
    // The arrow menu's "至最前" and "至最后"; false when there is nothing to go to.
    bool toFirst();
    bool toLast();

    // The mouse over label e: HotLab and HotXj follow it; nothing for a label that does not exist.
    void hover(int e);

    // Dragging the pointer by dx twips (one mouse move); a move that would leave the track, or that is
    // no distance (NaN), is ignored.
    void dragPointer(double dx);
    // The pointer let go: the bar it rests on becomes current and the row is laid out again. No
    // value with no bars.
    std::optional<int> releasePointer();
    // A left click on a label moves the pointer onto it; the window then sets the bar. Nothing for a
    // label that does not exist.
    void pointAt(int e);

    // Hit tests; -1 when nothing of the kind is at (x, y).
    int labelAt(double x, double y) const;
    std::optional<Arrow> arrowAt(double x, double y) const;
    bool onPointer(double x, double y) const;
    bool onSideBox(double x, double y) const;

    // A label's bar index (its caption - 1) and whether that bar exists; -1 and false for a label that
    // does not exist, which has an empty rectangle.
    bool hasLabel(int e) const { return e >= 0 && e < int(labels_.size()); }
    int barOf(int e) const { return hasLabel(e) ? labels_[std::size_t(e)].caption - 1 : -1; }
    bool isBar(int e) const { return hasLabel(e) && barOf(e) <= XjCount - 1; }
    TwipsRect labelRect(int e) const;

    const std::vector<StripLabel>& labels() const { return labels_; }
    StripLabel& label(int e) { return labels_[std::size_t(e)]; }
    const std::vector<bool>& flags() const { return flags_; }
    void setFlag(int bar, bool on);
    void clearFlags(int first, int last);
    // Label e, when it exists, takes the look its bar has now.
    void recolour(int e);

    double width() const { return width_; }
    double height() const { return height_; }
    double side() const { return side_; }
    const TwipsRect& leftBox() const { return leftBox_; }
    const TwipsRect& rightBox() const { return rightBox_; }
    const std::array<TwipsRect, 2>& arrows() const { return arrows_; }
    const TwipsRect& pointer() const { return pointer_; }
    const TwipsRect& track() const { return track_; }
    const TwipsLine& leftLine() const { return leftLine_; }
    const TwipsLine& rightLine() const { return rightLine_; }
    const Bevel& bevel() const { return bevel_; }

    int XjCount = 0;
    int MyXj = 0;
    int FirstXj = 0;
    int ShowCount = 0;
    int LastLab = 0;
    int HotLab = 0;
    int HotXj = 0;
    int RedLab = 0;
    int MarkLab = 0;
    int nPlay1 = -1;
    int nPlay2 = -1;

private:
    LabelLook lookOf(int bar) const;

    std::vector<bool> flags_;
    std::vector<StripLabel> labels_ = std::vector<StripLabel>(1);
    double width_ = 0;
    double height_ = 0;
    double side_ = 0;
    double labTop_ = 0;
    TwipsRect leftBox_;
    TwipsRect rightBox_;
    std::array<TwipsRect, 2> arrows_ {};
    TwipsRect pointer_;
    TwipsRect track_;
    TwipsLine leftLine_;
    TwipsLine rightLine_;
    Bevel bevel_;
};

} // namespace tunvale::drums
