#include "app/drums/strip_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using namespace tunvale::drums;

// A strip of 9000 x 540 twips: 13 slots of 615 between side boxes of 502.5, labels 0..27.
constexpr double kWidth = 9000;
constexpr double kSide = 502.5;
constexpr double kW = StripGeometry::LabelWidth;

StripGeometry strip(int bars, int onXj, double width = kWidth)
{
    StripGeometry g;
    g.resize(width, 540);
    g.GetValueLong(std::vector<bool>(std::size_t(bars), false), onXj);
    return g;
}

double slotLeft(int slot) { return kSide + slot * kW; }

// The label that shows `bar` on screen (between the side boxes), -1 when none does.
int visibleLabel(const StripGeometry& g, int bar)
{
    for (int e = 0; e <= g.LastLab; ++e) {
        const double left = g.labels()[std::size_t(e)].left;
        if (g.barOf(e) == bar && left >= g.side() - 0.01 && left < kWidth - g.side())
            return e;
    }
    return -1;
}

TEST(StripGeometry, ResizeGivesOneSlotPerLabelWidthBesideTheArrows)
{
    struct Case {
        double width;
        int showCount;
        double side;
    };
    for (const Case& c : {
             Case { kWidth, 13, kSide }, Case { 2 * 288 + 615, 1, 288 }, // exactly one slot
             Case { 1000, 1, 192.5 }, // narrower than two arrows and a slot: still one slot
             Case { 400, 1, -107.5 }, // narrower than a slot
             Case { 70000, 112, 560 }, // no limit to the slots
         }) {
        StripGeometry g;
        g.resize(c.width, 540);
        EXPECT_EQ(g.ShowCount, c.showCount) << c.width;
        EXPECT_DOUBLE_EQ(g.side(), c.side) << c.width;
        EXPECT_EQ(g.LastLab, 2 * c.showCount + 1);
        EXPECT_DOUBLE_EQ(g.track().width, c.showCount * kW);
        EXPECT_GE(g.leftBox().width, 0);
        EXPECT_DOUBLE_EQ(g.rightBox().left, c.width - c.side);
    }
    StripGeometry g;
    g.resize(kWidth, 540);
    EXPECT_DOUBLE_EQ(g.arrows()[0].left, (kSide - 240) / 2);
    EXPECT_DOUBLE_EQ(g.arrows()[1].top, 150);
    EXPECT_DOUBLE_EQ(g.pointer().top, 54);
    EXPECT_DOUBLE_EQ(g.rightLine().x1, slotLeft(13) - 20);
}

TEST(StripGeometry, EachCaseOfTheRowAtItsBoundaries)
{
    struct Case {
        int bars;
        int before; // the bar current before, which leaves the pointer's slot
        int bar;
        int firstXj;
        int markLab;
        double pointer;
    };
    for (const Case& c : {
             // Near the start the row starts at the first slot and the pointer goes to the bar.
             Case { 40, 0, 12, 1, 12, slotLeft(12) },
             // From the second case on the pointer keeps its slot and the row scrolls under it.
             Case { 40, 0, 13, 12, 2, slotLeft(0) },
             Case { 40, 12, 13, 1, 13, slotLeft(12) },
             Case { 40, 5, 26, 15, 12, slotLeft(5) },
             // With the end in view the last bar sits in the last slot.
             Case { 40, 5, 27, 14, 14, slotLeft(0) },
             Case { 40, 5, 39, 14, 26, slotLeft(12) },
             // Fewer bars than labels: the row starts at bar 1 and ends in past-the-end labels.
             Case { 15, 0, 14, 1, 14, slotLeft(12) },
         }) {
        StripGeometry g = strip(c.bars, c.before);
        ASSERT_TRUE(g.setMyXj(c.bar));
        EXPECT_EQ(g.FirstXj, c.firstXj) << c.bar;
        EXPECT_EQ(g.MarkLab, c.markLab) << c.bar;
        EXPECT_EQ(g.RedLab, c.markLab);
        EXPECT_DOUBLE_EQ(g.pointer().left, c.pointer) << c.bar;
        EXPECT_DOUBLE_EQ(g.labels()[std::size_t(c.markLab)].left, c.pointer);
        EXPECT_EQ(g.barOf(c.markLab), c.bar);
        // Every slot is covered by a label.
        for (int slot = 0; slot < g.ShowCount; ++slot) {
            bool covered = false;
            for (const StripLabel& label : g.labels())
                covered = covered || std::abs(label.left - slotLeft(slot)) < 0.01;
            EXPECT_TRUE(covered) << c.bar << " slot " << slot;
        }
    }
}

TEST(StripGeometry, PointerPastTheEndKeepsItsLabelWhenTheRowScrolls)
{
    // One past the last bar puts the pointer under the right side box; a later bar in the middle
    // must still find its label among the row's labels.
    StripGeometry g = strip(100, 100);
    EXPECT_EQ(g.MyXj, 100);
    ASSERT_TRUE(g.setMyXj(50));
    EXPECT_LE(g.MarkLab, g.LastLab);
    EXPECT_EQ(g.RedLab, g.MarkLab);
    EXPECT_EQ(g.barOf(g.MarkLab), 50);
    EXPECT_NE(visibleLabel(g, 50), -1);
}

TEST(StripGeometry, GetValueLongHoldsTheBarAndSetMyXjIgnoresBarsPastTheEnd)
{
    StripGeometry g = strip(5, 9);
    EXPECT_EQ(g.MyXj, 5); // the first label past the last bar
    EXPECT_EQ(g.labels()[5].look, LabelLook::Past);
    EXPECT_DOUBLE_EQ(g.pointer().left, slotLeft(5));
    EXPECT_EQ(strip(5, -3).MyXj, 0);

    g = strip(5, 2);
    const double pointer = g.pointer().left;
    EXPECT_FALSE(g.setMyXj(5));
    EXPECT_FALSE(g.setMyXj(-1));
    EXPECT_EQ(g.MyXj, 2);
    EXPECT_DOUBLE_EQ(g.pointer().left, pointer);
}

TEST(StripGeometry, LooksFollowDrumsMarksAndTheEnd)
{
    StripGeometry g;
    g.resize(kWidth, 540);
    g.setPlayRange(1, 2);
    g.GetValueLong({ true, true, false, false }, 0);
    const std::vector<LabelLook> expected
        = { LabelLook::Drum, LabelLook::MarkDrum, LabelLook::MarkPlain, LabelLook::Plain, LabelLook::Past };
    for (std::size_t e = 0; e < expected.size(); ++e)
        EXPECT_EQ(g.labels()[e].look, expected[e]) << e;
    EXPECT_EQ(g.labels()[4].mousePointer, StripGeometry::NoDropPointer);
    EXPECT_EQ(g.labels()[3].mousePointer, 0);

    // Marks survive new flags and clear with mode 0.
    g.GetValueLong({ false, false, false, false }, 0);
    EXPECT_EQ(g.labels()[1].look, LabelLook::MarkPlain);
    g.SetPlayRange(0);
    EXPECT_EQ(g.labels()[1].look, LabelLook::Plain);
    EXPECT_EQ(g.nPlay1, -1);
    EXPECT_EQ(g.nPlay2, -1);
}

TEST(StripGeometry, TheCaretBevelLiesUnderAndRightOfTheRedLabel)
{
    const StripGeometry g = strip(40, 3);
    const double left = slotLeft(3);
    const double bottom = 0.24 * 540 + StripGeometry::LabelHeight;
    const Bevel& b = g.bevel();
    EXPECT_DOUBLE_EQ(b.darkBottom.x1, left);
    EXPECT_DOUBLE_EQ(b.darkBottom.x2, left + kW);
    EXPECT_DOUBLE_EQ(b.darkBottom.y1, bottom + 10);
    EXPECT_DOUBLE_EQ(b.lightBottom.y1, bottom + 5);
    EXPECT_DOUBLE_EQ(b.darkRight.x1, left + kW - 10);
    EXPECT_DOUBLE_EQ(b.lightRight.x1, left + kW - 25);
    EXPECT_DOUBLE_EQ(b.darkRight.y2, bottom + 20);
}

TEST(StripGeometry, PlayingMovesThePointerAndKeepsTheRedSlot)
{
    StripGeometry g = strip(40, 5);
    ASSERT_TRUE(g.setPlayXJ(30));
    EXPECT_EQ(g.MarkLab, 5);
    EXPECT_EQ(g.RedLab, 5);
    EXPECT_EQ(g.FirstXj, 14);
    EXPECT_EQ(g.barOf(5), 18); // the red slot now shows another bar
    EXPECT_DOUBLE_EQ(g.pointer().left, g.labels()[17].left);
    EXPECT_TRUE(g.setPlayXJ(40));
    EXPECT_FALSE(g.setPlayXJ(41));
    EXPECT_FALSE(g.setPlayXJ(-1));
    EXPECT_EQ(g.MyXj, 40);
    // The next ordinary redraw puts the mark back on the current bar.
    ASSERT_TRUE(g.setMyXj(30));
    EXPECT_EQ(g.barOf(g.RedLab), 30);
}

TEST(StripGeometry, ReleasingThePointerPicksTheBarUnderIt)
{
    struct Case {
        int bars;
        int onXj;
        double dx;
        std::optional<int> bar;
    };
    for (const Case& c : {
             // Pointer and row move against each other: 700 twips is over two bars.
             Case { 40, 2, 700, 4 },
             Case { 40, 2, 100, 2 },
             // A move off the track is ignored: the bar stays.
             Case { 40, 0, -10, 0 },
             // Left of every label: the first bar.
             Case { 40, 12, -7380, 0 },
             // Right of every label: the last bar.
             Case { 40, 27, 7920, 39 },
             // Without bars the release is ignored.
             Case { 0, 0, 300, std::nullopt },
         }) {
        StripGeometry g = strip(c.bars, c.onXj);
        g.dragPointer(c.dx);
        EXPECT_EQ(g.releasePointer(), c.bar) << c.onXj << " " << c.dx;
        if (c.bar)
            EXPECT_EQ(g.MyXj, *c.bar);
    }
}

TEST(StripGeometry, DraggingLowersTheRowAndMovesItAgainstThePointer)
{
    StripGeometry g = strip(40, 2);
    g.dragPointer(300);
    EXPECT_DOUBLE_EQ(g.pointer().left, slotLeft(2) + 300);
    EXPECT_DOUBLE_EQ(g.labels()[0].left, kSide - 300);
    EXPECT_DOUBLE_EQ(g.labels()[0].top, StripGeometry::DragTop);
    EXPECT_EQ(g.RedLab, 2);
    EXPECT_DOUBLE_EQ(g.bevel().darkBottom.x1, slotLeft(2) - 300);
}

TEST(StripGeometry, ArrowsStepThreeBarsAndBeepAtTheEndsWithoutLeavingTheBars)
{
    struct Case {
        int from;
        Arrow arrow;
        std::vector<ArrowStep> steps;
    };
    for (const Case& c : {
             Case { 10, Arrow::Left, { { 7, false }, { 4, false }, { 1, false }, { 0, true }, { 0, true } } },
             Case { 33, Arrow::Right, { { 36, false }, { 39, false }, { 39, true }, { 39, true } } },
         }) {
        StripGeometry g = strip(40, c.from);
        for (std::size_t i = 0; i < c.steps.size(); ++i) {
            const ArrowStep step = g.StepXj(c.arrow);
            EXPECT_EQ(step.bar, c.steps[i].bar) << c.from << " step " << i;
            EXPECT_EQ(step.beep, c.steps[i].beep) << c.from << " step " << i;
        }
    }
}

TEST(StripGeometry, HitTestsStopAtTheSideBoxes)
{
    const StripGeometry g = strip(40, 0);
    const double y = g.labelRect(0).top + 10;
    EXPECT_EQ(g.labelAt(slotLeft(0) + 1, y), 0);
    EXPECT_EQ(g.labelAt(slotLeft(12) + 600, y), 12);
    EXPECT_EQ(g.labelAt(slotLeft(13) + 1, y), -1); // label 13 lies under the right box
    EXPECT_EQ(g.labelAt(kSide - 1, y), -1);
    EXPECT_EQ(g.arrowAt(g.arrows()[1].left + 1, g.arrows()[1].top + 1), Arrow::Right);
    EXPECT_TRUE(g.onPointer(g.pointer().left + 1, g.pointer().top + 1));
}

// Numbers no strip can be given, from a caller or a mouse: each is held to its range or ignored, and
// the strip stays laid out in finite twips with a bounded row of labels.
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr int kIntMin = std::numeric_limits<int>::min();
constexpr int kIntMax = std::numeric_limits<int>::max();

void ExpectLaidOut(const StripGeometry& g)
{
    EXPECT_GE(g.ShowCount, 1);
    EXPECT_LE(g.ShowCount, StripGeometry::MaxTwips / StripGeometry::LabelWidth);
    EXPECT_EQ(g.LastLab, 2 * g.ShowCount + 1);
    ASSERT_GE(int(g.labels().size()), g.LastLab + 1);
    EXPECT_GE(g.MyXj, 0);
    EXPECT_LE(g.MyXj, g.XjCount);
    for (const double x : { g.width(), g.height(), g.side(), g.pointer().left, g.track().width,
             g.labels()[0].left, g.labels()[std::size_t(g.LastLab)].left, g.bevel().darkRight.x1 })
        EXPECT_TRUE(std::isfinite(x));
}

TEST(StripGeometry, ImpossibleSizesAreHeldToTheRangeOfAStrip)
{
    struct Case {
        double width;
        double height;
        double heldWidth;
        double heldHeight;
    };
    const double max = StripGeometry::MaxTwips;
    for (const Case& c : {
             Case { kNaN, kNaN, 0, 0 },
             Case { -1, -1, 0, 0 },
             Case { 1e10, 1e10, max, max },
             Case { -1e10, -1e10, 0, 0 },
             Case { 2147483648.0, -2147483648.0, max, 0 },
             Case { kInf, -kInf, max, 0 },
             Case { max + 1, 540, max, 540 },
         }) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        StripGeometry g;
        g.resize(c.width, c.height);
        EXPECT_DOUBLE_EQ(g.width(), c.heldWidth);
        EXPECT_DOUBLE_EQ(g.height(), c.heldHeight);
        g.GetValueLong(std::vector<bool>(100, true), 50);
        ExpectLaidOut(g);
    }
}

TEST(StripGeometry, ImpossibleBarsLabelsModesAndMovesChangeNothing)
{
    for (const int bad : { -1, kIntMin, kIntMax, 40, 41 }) {
        SCOPED_TRACE(bad);
        StripGeometry g = strip(40, bad);
        ExpectLaidOut(g);
        g = strip(40, 12);
        EXPECT_FALSE(g.setMyXj(bad));
        EXPECT_EQ(g.setPlayXJ(bad), bad == 40); // one past the last bar is where a playback ends
        g = strip(40, 12);
        g.SetPlayRange(bad);
        EXPECT_EQ(g.nPlay1, -1);
        EXPECT_EQ(g.nPlay2, -1);
        g.setFlag(bad, true);
        g.clearFlags(bad, kIntMax);
        g.clearFlags(kIntMin, bad);
        EXPECT_EQ(g.MyXj, 12);
        ExpectLaidOut(g);
    }
    StripGeometry g = strip(40, 12);
    const double pointer = g.pointer().left;
    for (const int e : { -1, kIntMin, kIntMax, g.LastLab + 1, int(g.labels().size()) }) {
        SCOPED_TRACE(e);
        g.hover(e);
        g.pointAt(e);
        g.recolour(e);
        g.MarkBar(e);
        EXPECT_EQ(g.HotLab, 0);
        EXPECT_EQ(g.barOf(e), -1);
        EXPECT_FALSE(g.isBar(e));
        EXPECT_EQ(g.labelRect(e), TwipsRect {});
        EXPECT_DOUBLE_EQ(g.pointer().left, pointer);
    }
    for (const Arrow arrow : { Arrow(-1), Arrow(2), Arrow(kIntMax) }) {
        const ArrowStep step = g.StepXj(arrow);
        EXPECT_EQ(step.bar, 12);
        EXPECT_FALSE(step.beep);
    }
    for (const double dx : { kNaN, 1e10, -1e10, 2147483648.0, -2147483648.0, kInf, -kInf }) {
        SCOPED_TRACE(dx);
        g.dragPointer(dx);
        EXPECT_DOUBLE_EQ(g.pointer().left, pointer);
        EXPECT_EQ(g.labelAt(dx, dx), -1);
        EXPECT_EQ(g.arrowAt(dx, kNaN), std::nullopt);
        EXPECT_FALSE(g.onPointer(kNaN, dx));
    }
    EXPECT_TRUE(g.releasePointer());
    ExpectLaidOut(g);
}

} // namespace
