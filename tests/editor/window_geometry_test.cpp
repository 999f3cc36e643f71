#include "app/editor/window/window_geometry.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace tunvale::editor;

namespace {

constexpr double PW = 11906;
constexpr double PH = 16838;
constexpr double SB = 255;

LayoutInput window(double width, double height, int mode)
{
    LayoutInput in;
    in.SW = in.W = width;
    in.SH = in.H = height;
    in.mode = mode;
    in.toolbarHeight = 540;
    in.toolbarVisible = mode == 0;
    in.rulerHeight = 320;
    in.rulerVisible = mode == 1;
    in.statusHeight = 345;
    in.stripHeight = in.sliderHeight = 480;
    return in;
}

} // namespace

TEST(MainLayout, TheScoreAreaEndsWhereTheBarsBelowBegin)
{
    struct Case {
        int mode;
        bool strip;
        bool status;
        double top; // of the score area
        double bottom;
    };
    const double SH = 12000;
    const Case cases[] = {
        { 0, true, true, 540, SH - 345 - 480 },
        { 0, false, true, 540, SH - 345 },
        { 0, true, false, 540, SH - 480 },
        { 0, false, false, 540, SH },
        { 1, true, true, 320, SH - 345 - 480 },
        { 1, false, true, 320, SH - 345 },
        { 1, false, false, 320, SH },
        { 2, true, true, 0, SH - 345 - 480 },
        { 2, false, true, 0, SH - 345 },
        { 2, false, false, 0, SH },
    };
    for (const Case& c : cases) {
        LayoutInput in = window(19200, SH, c.mode);
        in.stripChecked = c.strip;
        in.statusChecked = c.status;
        const LayoutResult out = LayoutMainForm(in);
        const std::string label
            = std::to_string(c.mode) + " " + std::to_string(c.strip) + std::to_string(c.status);
        EXPECT_EQ(out.editor.top, c.top) << label;
        EXPECT_EQ(out.editor.bottom(), c.bottom) << label;
        EXPECT_EQ(out.cover0.top, c.top) << label;
        EXPECT_EQ(out.cover1.bottom(), c.bottom) << label;
        EXPECT_EQ(out.yyPic.height, out.editor.height) << label;
        EXPECT_EQ(out.stripVisible, c.strip) << label;
        EXPECT_EQ(out.statusVisible, c.status) << label;
        if (c.strip) {
            EXPECT_EQ(out.strip.top, c.bottom) << label;
            EXPECT_EQ(out.strip.width, 19200) << label;
        }
        EXPECT_EQ(out.toolbarVisible, c.mode == 0) << label;
        EXPECT_EQ(out.rulerVisible, c.mode == 1) << label;
    }
}

TEST(MainLayout, ThePageLiesBetweenTheCovers)
{
    // With room to spare the covers share it and the editor's scroll bar lies at the right border.
    const LayoutResult wide = LayoutMainForm(window(19200, 12000, 0));
    const double D = (19200 - PW - SB) / 2;
    EXPECT_EQ(wide.cover0.width, D);
    EXPECT_EQ(wide.cover1.left, D + PW);
    EXPECT_EQ(wide.cover1.width, D);
    EXPECT_EQ(wide.editor.left, D);
    EXPECT_EQ(wide.editor.right(), 19200);

    // A window no wider than the page and a scroll bar: one scroll bar of cover on the left, none on
    // the right.
    for (const double width : { PW + SB, PW, 6000.0 }) {
        const LayoutResult narrow = LayoutMainForm(window(width, 12000, 0));
        EXPECT_EQ(narrow.cover0.width, SB) << width;
        EXPECT_EQ(narrow.cover1.width, 0) << width;
        EXPECT_EQ(narrow.editor.left, SB) << width;
    }
}

TEST(MainLayout, SmallWindowsLoseTheirBars)
{
    // A window narrower than an eighth of the page grows back to it.
    const LayoutResult tiny = LayoutMainForm(window(1000, 1000, 0));
    EXPECT_EQ(tiny.minWidth, 1488);
    EXPECT_EQ(tiny.minHeight, 1683);

    struct Case {
        double width;
        double height;
        bool bar;
        bool lower;
    };
    const double half = std::floor(PH / 2);
    const double third = std::floor(PH / 3);
    const Case cases[] = {
        { 19200, half, true, false },
        { 19200, half + 1, true, true },
        { 19200, third, false, false },
        { third, 12000, false, true },
        { third + 1, third + 1, true, false },
    };
    for (const int mode : { 0, 1 }) {
        for (const Case& c : cases) {
            const LayoutResult out = LayoutMainForm(window(c.width, c.height, mode));
            EXPECT_EQ(mode == 0 ? out.toolbarVisible : out.rulerVisible, c.bar)
                << mode << " " << c.width << "x" << c.height;
            EXPECT_EQ(out.stripVisible, c.lower) << c.width << "x" << c.height;
            EXPECT_EQ(out.statusVisible, c.lower) << c.width << "x" << c.height;
        }
    }
}

TEST(MainLayout, TheTiledViewFillsTheScoreArea)
{
    LayoutInput in = window(19200, 12000, 0);
    EXPECT_FALSE(LayoutMainForm(in).lineShow);
    in.tiled = true;
    const LayoutResult out = LayoutMainForm(in);
    ASSERT_TRUE(out.lineShow && out.lineShowText);
    EXPECT_EQ(*out.lineShow, (TwipsRect { 0, out.editor.top, 19200, out.editor.height }));
    EXPECT_EQ(out.lineShowText->width, out.lineShow->width - 35);
    EXPECT_EQ(out.lineShowText->height, out.lineShow->height - 25);
}

TEST(StoredWindowFrame, FourPlainNumbersInTwipsOrNothing)
{
    EXPECT_EQ(StoredWindowFrame("1500,1200,9000,6000,Normal", 0, 15), QRect(100, 80, 600, 400));
    EXPECT_EQ(StoredWindowFrame("1500,1200,9000,6000,Normal", 255, 15), QRect(117, 97, 600, 400));
    EXPECT_EQ(StoredWindowFrame(" 1500.5 ,-30,15,6000", 0, 15), QRect(100, -2, 1, 400));
    for (const char* value : { "", "1500,1200,9000", "&H10,0,9000,6000", "1500,1200,9000,,Normal",
             "inf,0,1,1", "1500,1200,9000x,6000", "0,0,-1500,6000", "0,0,9000,0" })
        EXPECT_EQ(StoredWindowFrame(value, 0, 15), std::nullopt) << value;
}

// [WinPos] holds the window's frame, title bar and border included: a window placed from it has the
// size inside the frame less the frame's widths, and writes the value back unchanged.
TEST(StoredWindowFrame, IsTheFrameOfTheWindowBothWays)
{
    const QString value = QStringLiteral("4485,1905,15030,11175,Normal");
    const std::optional<QRect> stored = StoredWindowFrame(value, 0, 15);
    ASSERT_TRUE(stored);
    // No window manager, a title bar of 20 pixels above a border of 1 and 5, a thick frame.
    for (const QMargins& margins : { QMargins(), QMargins(1, 20, 1, 5), QMargins(8, 31, 8, 8) }) {
        const FramePlacement placed = PlaceInFrame(*stored, margins);
        EXPECT_EQ(placed.position, QPoint(299, 127));
        EXPECT_EQ(placed.clientSize,
            QSize(1002 - margins.left() - margins.right(), 745 - margins.top() - margins.bottom()));
        const QRect inside(placed.position + QPoint(margins.left(), margins.top()), placed.clientSize);
        EXPECT_EQ(WinPosValue(inside.marginsAdded(margins), 15, false), value) << margins.top();
        // A window opened from this one: its frame 17 pixels right of and below, of the same size.
        const FramePlacement next = PlaceInFrame(*StoredWindowFrame(value, 255, 15), margins);
        EXPECT_EQ(next.position, placed.position + QPoint(17, 17));
        EXPECT_EQ(next.clientSize, placed.clientSize);
    }
    EXPECT_EQ(WinPosValue({ 0, 0, 1600, 1000 }, 15, true), QStringLiteral("0,0,24000,15000,Maximized"));
}

// A second screen to the right of the first, with a task bar at its top.
TEST(StoredWindowFrame, FittedIntoTheAvailableArea)
{
    const QRect screen(1920, 40, 1280, 984);
    const QSize minimum(794, 561);
    const struct {
        QRect stored;
        QRect fitted;
    } cases[] = {
        { { 2000, 100, 1000, 700 }, { 2000, 100, 1000, 700 } }, // fits as it is
        { { 2900, 900, 1000, 700 }, { 2200, 324, 1000, 700 } }, // pushed back in
        { { 0, 0, 99999, 99999 }, screen }, // no larger than the screen
        { { 3000, 50, -100, 20 }, { 2406, 50, 794, 561 } }, // no smaller than the layout
    };
    for (const auto& c : cases)
        EXPECT_EQ(FitFrame(c.stored, screen, minimum), c.fitted) << c.stored.x() << "," << c.stored.y();
    // A screen smaller than the layout's minimum: the screen wins.
    EXPECT_EQ(FitFrame({ 0, 0, 100, 100 }, { 0, 0, 640, 480 }, minimum), QRect(0, 0, 640, 480));
}
