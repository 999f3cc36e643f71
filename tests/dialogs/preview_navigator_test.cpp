#include "app/dialogs/preview_navigator.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using tunvale::dialogs::NavigationButtons;
using tunvale::dialogs::PreviewNavigator;

namespace {

constexpr int kWidth = 11906;
constexpr int kHeight = 16838;
constexpr int kPitch = kHeight + 500; // page top to page top at 100 %

using Action = std::function<void(PreviewNavigator&)>;

void repeat(PreviewNavigator& n, int times, const Action& action)
{
    for (int i = 0; i < times; ++i)
        action(n);
}

std::string buttonsText(const NavigationButtons& b)
{
    const auto on = [](bool v) { return v ? "on" : "off"; };
    return std::string(on(b.start)) + " " + on(b.previous) + " " + on(b.next) + " " + on(b.end);
}

} // namespace

TEST(PreviewNavigator, PagesButtonsAndScrollValues)
{
    struct Row {
        const char* what;
        int pages;
        Action act;
        int page;
        int scroll;
        double firstTop; // top of page 1's picture
        const char* buttons;
    };
    const Action none = [](PreviewNavigator&) {};
    const std::vector<Row> rows {
        { "one page at load", 1, none, 1, 0, 0, "off off on on" },
        { "one page: next and last change nothing", 1,
            [](PreviewNavigator& n) {
                n.next();
                n.last();
            },
            1, 0, 0, "off off on on" },
        { "three pages at load", 3, none, 1, 0, 0, "off off on on" },
        { "next", 3, [](PreviewNavigator& n) { n.next(); }, 2, 10, -kPitch, "on on on on" },
        { "last", 3, [](PreviewNavigator& n) { n.last(); }, 3, 20, -2 * kPitch, "on on off off" },
        { "next past the end", 3, [](PreviewNavigator& n) { repeat(n, 4, &PreviewNavigator::next); }, 3, 20,
            -2 * kPitch, "on on off off" },
        { "previous from the last", 3,
            [](PreviewNavigator& n) {
                n.last();
                n.previous();
            },
            2, 10, -kPitch, "on on on on" },
        { "a thumbnail", 3, [](PreviewNavigator& n) { n.thumbClicked(2); }, 3, 20, -2 * kPitch,
            "on on off off" },
        { "scroll to page 2's top", 3, [](PreviewNavigator& n) { n.setScrollValue(10); }, 2, 10, -kPitch,
            "on on on on" },
        { "scroll between pages 2 and 3 keeps page 2", 3,
            [](PreviewNavigator& n) {
                n.setScrollValue(10);
                n.setScrollValue(15);
            },
            2, 15, -1.5 * kPitch, "on on on on" },
        { "scroll stops at the last page's top", 3, [](PreviewNavigator& n) { n.setScrollValue(30); }, 3, 20,
            -2 * kPitch, "on on off off" },
        { "a wheel notch toward the user moves 400 twips", 3, [](PreviewNavigator& n) { n.wheel(-120); }, 1,
            0, -400, "off off on on" },
        { "notches add up to a scroll value", 3,
            [](PreviewNavigator& n) { repeat(n, 3, [](auto& m) { m.wheel(-120); }); }, 1, 1, -0.1 * kPitch,
            "off off on on" },
        { "a notch away from the user on page 1 does nothing", 3, [](PreviewNavigator& n) { n.wheel(120); },
            1, 0, 0, "off off on on" },
        { "a notch toward the user with the last page at the top does nothing", 3,
            [](PreviewNavigator& n) {
                n.last();
                n.wheel(-120);
            },
            3, 20, -2 * kPitch, "on on off off" },
        { "a notch away from the last page goes back", 3,
            [](PreviewNavigator& n) {
                n.last();
                n.wheel(120);
            },
            3, 20, -2 * kPitch + 400, "on on off off" },
        { "one page: no notch moves it", 1,
            [](PreviewNavigator& n) {
                n.wheel(-120);
                n.wheel(120);
            },
            1, 0, 0, "off off on on" },
    };
    for (const Row& row : rows) {
        PreviewNavigator n(row.pages, kWidth, kHeight);
        row.act(n);
        EXPECT_EQ(n.CurrentPage(), row.page) << row.what;
        EXPECT_EQ(n.scrollValue(), row.scroll) << row.what;
        EXPECT_NEAR(n.pageRect(0).top(), row.firstTop, 1e-6) << row.what;
        EXPECT_EQ(buttonsText(n.buttons()), row.buttons) << row.what;
        EXPECT_EQ(n.thumbScrollValue(), 10 * (n.CurrentPage() - 1)) << row.what;
    }
}

TEST(PreviewNavigator, ListsAndZoom)
{
    PreviewNavigator n(3, kWidth, kHeight);
    EXPECT_EQ(n.pageItems(), (QStringList { "第1页   共3页", "第2页   共3页", "第3页   共3页" }));
    const QStringList zooms = PreviewNavigator::zoomItems();
    ASSERT_EQ(zooms.size(), 18);
    EXPECT_EQ(zooms.front(), "200%");
    EXPECT_EQ(zooms.back(), "30%");
    EXPECT_EQ(n.scrollMaximum(), 20);

    // 100 %: pages at their size in a column just wider than a page; nothing to shift sideways.
    EXPECT_EQ(n.zoomText(), "100%");
    EXPECT_EQ(n.pageRect(1), QRectF((kWidth + 60) / 2.0 - kWidth / 2.0 - 120, kPitch, kWidth, kHeight));
    EXPECT_EQ(n.columnWidth(), kWidth + 60);
    EXPECT_FALSE(n.hscrollEnabled());

    n.selectZoom("150%");
    EXPECT_EQ(n.ZoomTenths(), 15);
    EXPECT_EQ(n.columnWidth(), 1.5 * kWidth + 180);
    EXPECT_EQ(n.pageRect(0).size(), QSizeF(1.5 * kWidth, 1.5 * kHeight));
    EXPECT_EQ(n.shadowSize(), 150);
    EXPECT_TRUE(n.hscrollEnabled());
    EXPECT_EQ(n.hscrollMaximum(), 10);
    EXPECT_EQ(n.hscrollValue(), 5);
    // The middle value centres the column right of the thumbnail panel; each unit moves it 1000 twips.
    const double centred = (20000 - 2415) / 2.0 + 2415 - n.columnWidth() / 2;
    EXPECT_EQ(n.columnLeft(20000), centred);
    n.setHScrollValue(7);
    EXPECT_EQ(n.columnLeft(20000), centred - 2000);

    // A page scrolled to keeps its top at the window's top whatever the zoom.
    n.next();
    n.selectZoom("50%");
    EXPECT_EQ(n.CurrentPage(), 2);
    EXPECT_EQ(n.pageRect(1).top(), 0);

    n.selectZoom("200%");
    n.zoomIn();
    EXPECT_EQ(n.zoomText(), "200%");
    n.selectZoom("30%");
    n.zoomOut();
    EXPECT_EQ(n.zoomText(), "30%");
    n.zoomIn();
    EXPECT_EQ(n.zoomText(), "40%");
    n.selectZoom("35%"); // not an item
    EXPECT_EQ(n.zoomText(), "40%");
}
