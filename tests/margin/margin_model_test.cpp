#include "components/margin/margin_model.h"
#include "tests/support/scoretool_run.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

using namespace tunvale::margin;
using Kind = RulerEvent::Kind;

namespace {

constexpr double w = MarginModel::kMarkerWidth;

struct Resolution {
    int dpi;
    int twipsPerPixel;
    int pageTwips;
};

// A ruler as the host has it after loading a score: an empty bag, then the score's margins.
MarginModel loadedRuler(int dpi, int left, int right)
{
    MarginModel model(dpi);
    model.ReadProperties({});
    model.setNLSpace(left);
    model.setNRSpace(right);
    return model;
}

std::vector<Kind> kinds(const RulerEvents& events)
{
    std::vector<Kind> out;
    for (const RulerEvent& e : events)
        out.push_back(e.kind);
    return out;
}

double pinCentre(const MarginModel& m, int pin) { return m.pinLeft(pin) + w / 2; }

class AtResolution : public ::testing::TestWithParam<Resolution>
{
};

INSTANTIATE_TEST_SUITE_P(Screens, AtResolution,
    ::testing::Values(Resolution { 96, 15, 11906 }, Resolution { 110, 13, 11823 }),
    [](const auto& info) { return std::to_string(info.param.dpi) + "dpi"; });

TEST_P(AtResolution, TheDrawnPageIsA4AtTheScreensTwipsAndThePinsFollowTheMargins)
{
    const Resolution r = GetParam();
    const MarginModel m = loadedRuler(r.dpi, 820, 1000);
    EXPECT_EQ(m.twipsPerPixel(), r.twipsPerPixel);
    EXPECT_EQ(m.pageTwips(), r.pageTwips);
    EXPECT_DOUBLE_EQ(m.barWidth(), r.pageTwips);
    EXPECT_DOUBLE_EQ(m.scaleWidth(), r.pageTwips + 2 * w);
    EXPECT_DOUBLE_EQ(m.tickStep() * 21, r.pageTwips);
    // The page's zero stands at bcLeft in the strip.
    EXPECT_DOUBLE_EQ(m.scaleLeft() + m.barLeft(), m.bcLeft());
    EXPECT_DOUBLE_EQ(pinCentre(m, 0), m.barLeft() + 820);
    EXPECT_DOUBLE_EQ(pinCentre(m, 1), m.barLeft() + r.pageTwips - 1000);
    EXPECT_DOUBLE_EQ(m.greenWidth(), 820);
    EXPECT_DOUBLE_EQ(m.redLeft(), pinCentre(m, 1));
    EXPECT_DOUBLE_EQ(m.redWidth(), 1000);
}

TEST(MarginModel, TheScreensUnits)
{
    EXPECT_NEAR(MarginModel(96).cmPerTwip(), 0.0017639, 1e-7);
    // 120 dpi has 12 twips a pixel, which gives the same page as 96 dpi.
    EXPECT_EQ(MarginModel(120).pageTwips(), 11906);
}

TEST(MarginModel, AnEmptyBagGivesTheDefaultsAndWritesOnlyTheVisibleFlag)
{
    MarginModel m(96);
    m.ReadProperties({});
    EXPECT_EQ(m.nLSpace(), 820);
    EXPECT_EQ(m.nRSpace(), 820);
    EXPECT_EQ(m.bcLeft(), 3015);
    EXPECT_EQ(m.bcTop(), 0);
    EXPECT_EQ(m.bcHeight(), 288);
    EXPECT_EQ(m.bcWidth(), 11906);
    EXPECT_EQ(m.bcWidth_n(), 1);
    EXPECT_DOUBLE_EQ(pinCentre(m, 0), m.barLeft() + 820);
    EXPECT_EQ(m.WriteProperties(), (QVariantMap { { "bcVisible", false } }));
}

TEST(MarginModel, TheBagRoundTripWritesWhatDiffersFromTheDefaults)
{
    MarginModel m(96);
    m.ReadProperties({ { "bcLeft", 820 }, { "nRSpace", 1200 }, { "bcVisible", true }, { "bcWidth_n", 1 } });
    const QVariantMap bag = m.WriteProperties();
    EXPECT_EQ(bag, (QVariantMap { { "nRSpace", 1200 }, { "bcLeft", 820 }, { "bcVisible", false } }));
    MarginModel again(96);
    again.ReadProperties(bag);
    EXPECT_EQ(again.bcLeft(), 820);
    EXPECT_EQ(again.nRSpace(), 1200);
    EXPECT_EQ(again.WriteProperties(), bag);

    // bcLeft at its default is left out and still reads back.
    m.setBcLeft(3015);
    EXPECT_FALSE(m.WriteProperties().contains("bcLeft"));
    again.ReadProperties(m.WriteProperties());
    EXPECT_EQ(again.bcLeft(), 3015);
    // The stored visible flag means nothing either way.
    MarginModel hidden(96);
    hidden.ReadProperties({ { "bcVisible", false } });
    EXPECT_EQ(hidden.WriteProperties(), (QVariantMap { { "bcVisible", false } }));
}

TEST(MarginModel, ADamagedBagReadsAsTheDefaults)
{
    MarginModel m(96);
    m.ReadProperties({ { "nLSpace", -40 }, { "bcLeft", "abc" }, { "bcHeight", 70000 }, { "bcWidth_n", 0 } });
    EXPECT_EQ(m.nLSpace(), 820);
    EXPECT_EQ(m.bcLeft(), 3015);
    EXPECT_EQ(m.bcHeight(), 288);
    EXPECT_EQ(m.bcWidth_n(), 1);
    EXPECT_DOUBLE_EQ(m.barWidth(), 11906);
}

// A stored value that is no number, or none of the property's 16-bit range or factors, reads as if it
// were missing.
TEST(MarginModel, ImpossibleStoredNumbersReadAsTheDefaults)
{
    const QVariant outsideAll[] = { std::nan(""), QStringLiteral("nan"), HUGE_VAL, QStringLiteral("-inf"),
        1e10, -1e10, 2147483648.0, -2147483648.0, QStringLiteral("2147483648"), 4294967296.0 + 820 };
    const std::pair<const char*, QVariant> outsideOne[] = { { "nLSpace", 32768 }, { "nRSpace", -1 },
        { "bcLeft", 32767.5 }, { "bcWidth", -32769 }, { "bcTop", QStringLiteral("32768") },
        { "bcHeight", 40000.0 }, { "bcWidth_n", 0.0099 }, { "bcWidth_n", 100.01 }, { "bcWidth_n", -1 } };
    std::vector<std::pair<QString, QVariant>> cases;
    for (const QString& key : MarginModel::propertyKeys()) {
        for (const QVariant& value : outsideAll)
            cases.emplace_back(key, value);
    }
    for (const auto& [key, value] : outsideOne)
        cases.emplace_back(QLatin1String(key), value);
    for (const auto& [key, value] : cases) {
        SCOPED_TRACE(key.toStdString() + " " + value.toString().toStdString());
        MarginModel m(96);
        m.ReadProperties({ { key, value } });
        EXPECT_EQ(m.WriteProperties(), (QVariantMap { { "bcVisible", false } }));
        EXPECT_DOUBLE_EQ(m.barWidth(), 11906);
        EXPECT_DOUBLE_EQ(pinCentre(m, 1), m.barLeft() + 11906 - 820);
    }
    // The ends of the ranges are taken.
    MarginModel m(96);
    m.ReadProperties({ { "bcLeft", -32768 }, { "bcTop", 32767.4 }, { "nLSpace", QStringLiteral("0") },
        { "bcWidth_n", 100 } });
    EXPECT_EQ(m.bcLeft(), -32768);
    EXPECT_EQ(m.bcTop(), 32767);
    EXPECT_EQ(m.nLSpace(), 0);
    EXPECT_EQ(m.bcWidth_n(), 100);
}

TEST(MarginModel, AFactorOrPointerThatIsNoNumberChangesNothing)
{
    MarginModel m = loadedRuler(96, 820, 820);
    for (const double factor : { std::nan(""), HUGE_VAL, -HUGE_VAL, 1e10, -1e10, 0.0, 0.0099, 100.01 }) {
        SCOPED_TRACE(factor);
        EXPECT_FALSE(m.setBcWidth_n(factor));
        EXPECT_EQ(m.bcWidth_n(), 1);
    }
    for (const double x : { std::nan(""), HUGE_VAL, -HUGE_VAL }) {
        SCOPED_TRACE(x);
        EXPECT_TRUE(m.press(RulerPart::Bar, x, Qt::LeftButton).empty());
        EXPECT_TRUE(m.move(0, x, Qt::LeftButton).empty());
        EXPECT_FALSE(m.gestureOpen());
    }
    // Far presses move a pin no farther than the page lets it.
    for (const double x : { 1e10, -1e10, 2147483648.0 }) {
        SCOPED_TRACE(x);
        m.press(RulerPart::Bar, x, Qt::RightButton);
        m.release(RulerPart::Bar);
        EXPECT_GE(m.nRSpace(), 0);
        EXPECT_LE(m.nRSpace(), 11906);
    }
    // A screen resolution beyond what a pixel of a twip or more allows is held to it.
    for (const int dpi : { 0, -1, INT_MIN, 1441, INT_MAX }) {
        SCOPED_TRACE(dpi);
        const MarginModel screen(dpi);
        EXPECT_GE(screen.twipsPerPixel(), 1);
        EXPECT_GT(screen.pageTwips(), 0);
    }
}

TEST(MarginModel, SettersIgnoreANegativeMarginAndALayoutStepResetsTheChooserAndTheFactor)
{
    MarginModel m = loadedRuler(96, 820, 820);
    const double pin = m.pinLeft(0);
    EXPECT_FALSE(m.setNLSpace(-1));
    EXPECT_EQ(m.nLSpace(), 820);
    EXPECT_EQ(m.pinLeft(0), pin);
    EXPECT_DOUBLE_EQ(m.greenWidth(), 820);
    EXPECT_TRUE(m.setNLSpace(0));
    EXPECT_DOUBLE_EQ(pinCentre(m, 0), m.barLeft());

    m.setKind(0);
    EXPECT_TRUE(m.setBcWidth_n(2));
    m.setBcHeight(320);
    EXPECT_EQ(m.kind(), 2);
    EXPECT_EQ(m.bcWidth_n(), 1);
    EXPECT_FALSE(m.setBcWidth_n(0));
    EXPECT_FALSE(m.setBcWidth_n(-1));
    m.setKind(-1);
    m.applyShow();
    EXPECT_EQ(m.kind(), 2);
}

// A click on the page bar or a band: X measured from the element's left edge by `x(model)`.
struct Click {
    const char* name;
    RulerPart part;
    double (*x)(const MarginModel&);
    Qt::MouseButton button;
    int left; // margins after the click, from 2000 and 2000
    int right;
};

const Click kClicks[] = {
    // Within 276 twips of the left pin the click takes its centre; 2238.5 rounds to the even 2238.
    { "bar, left, 276 right of the pin", RulerPart::Bar,
        [](const MarginModel& m) { return m.pinLeft(0) + 276 - m.barLeft(); }, Qt::LeftButton, 2238, 2000 },
    { "bar, left, farther", RulerPart::Bar,
        [](const MarginModel& m) { return m.pinLeft(0) + 1000 - m.barLeft(); }, Qt::LeftButton, 2276, 2000 },
    { "bar, right, near the right pin", RulerPart::Bar,
        [](const MarginModel& m) { return pinCentre(m, 1) - 276 - m.barLeft(); }, Qt::RightButton, 2000,
        2276 },
    { "bar, right, farther", RulerPart::Bar,
        [](const MarginModel& m) { return pinCentre(m, 1) - 1000 - m.barLeft(); }, Qt::RightButton, 2000,
        2276 },
    { "bar, right, close", RulerPart::Bar,
        [](const MarginModel& m) { return pinCentre(m, 1) - 100 - m.barLeft(); }, Qt::RightButton, 2000,
        2100 },
    { "bar, middle", RulerPart::Bar, [](const MarginModel&) { return 5000.0; }, Qt::MiddleButton, 2000,
        2000 },
    { "green, near", RulerPart::Green, [](const MarginModel& m) { return m.pinLeft(0) - 200 - m.barLeft(); },
        Qt::LeftButton, 1762, 2000 },
    { "green, far", RulerPart::Green, [](const MarginModel& m) { return m.pinLeft(0) - 277 - m.barLeft(); },
        Qt::RightButton, 1724, 2000 },
    { "red, 276 in", RulerPart::Red, [](const MarginModel&) { return 276.0; }, Qt::LeftButton, 2000, 1724 },
    { "red, farther", RulerPart::Red, [](const MarginModel&) { return 277.0; }, Qt::RightButton, 2000, 1724 },
    { "red, near", RulerPart::Red, [](const MarginModel&) { return 100.0; }, Qt::MiddleButton, 2000, 1900 },
};

TEST_P(AtResolution, ClicksOnTheBarAndTheBandsMoveAPinOntoTheClickOr276TwipsTowardsIt)
{
    for (const Click& click : kClicks) {
        SCOPED_TRACE(click.name);
        MarginModel m = loadedRuler(GetParam().dpi, 2000, 2000);
        const RulerEvents down = m.press(click.part, click.x(m), click.button);
        const bool moves = click.left != 2000 || click.right != 2000;
        if (moves) {
            ASSERT_EQ(kinds(down), (std::vector { Kind::aChangBegin, Kind::LRValueChang }));
            EXPECT_EQ(down[1], (RulerEvent { Kind::LRValueChang, click.left, click.right }));
            const int pin = click.left != 2000 ? 0 : 1;
            EXPECT_DOUBLE_EQ(m.guideX(), pinCentre(m, pin));
        } else {
            EXPECT_EQ(kinds(down), (std::vector { Kind::aChangBegin }));
        }
        EXPECT_EQ(m.nLSpace(), click.left);
        EXPECT_EQ(m.nRSpace(), click.right);
        EXPECT_TRUE(m.guidesVisible());
        EXPECT_EQ(kinds(m.release(click.part)), (std::vector { Kind::aChangOver }));
        EXPECT_FALSE(m.guidesVisible());
    }
}

TEST_P(AtResolution, ASecondFarClickMovesTheLeftPinAnother276Twips)
{
    MarginModel m = loadedRuler(GetParam().dpi, 1000, 1000);
    const double target = m.pinLeft(0) + 1000;
    m.press(RulerPart::Bar, target - m.barLeft(), Qt::LeftButton);
    m.release(RulerPart::Bar);
    m.press(RulerPart::Bar, target - m.barLeft(), Qt::LeftButton);
    EXPECT_EQ(m.nLSpace(), 1000 + 2 * 276);
}

TEST_P(AtResolution, ClicksAndKeysReachThePagesEdgesButNeverCrossTheOtherPin)
{
    const int page = GetParam().pageTwips;
    MarginModel m = loadedRuler(GetParam().dpi, 20, 5000);
    m.press(RulerPart::Green, 0, Qt::LeftButton);
    EXPECT_EQ(m.nLSpace(), 0);
    // Shift+Left on the page's edge keeps the margin at 0 and still reports it.
    EXPECT_EQ(m.keyDown(Qt::Key_Left, Qt::ShiftModifier),
        (RulerEvents { { Kind::aChangBegin }, { Kind::LRValueChang, 0, 5000 } }));

    m.setNLSpace(page - 5000 - 100);
    for (int i = 0; i < 3; ++i)
        m.keyDown(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_DOUBLE_EQ(m.pinLeft(0) + w, m.pinLeft(1)); // the pins touch
    EXPECT_EQ(m.nLSpace() + m.nRSpace(), page - 75);

    m.setNLSpace(1000);
    m.setNRSpace(30);
    m.press(RulerPart::Red, 29, Qt::LeftButton);
    EXPECT_EQ(m.nRSpace(), 1);
    m.keyDown(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(m.nRSpace(), 0);
    EXPECT_DOUBLE_EQ(pinCentre(m, 1), m.barLeft() + page);
}

TEST_P(AtResolution, ShiftAndCtrlArrowsStepAPinBy55Point2Twips)
{
    MarginModel m = loadedRuler(GetParam().dpi, 2000, 2000);
    EXPECT_EQ(
        m.keyDown(Qt::Key_Right, Qt::ShiftModifier).back(), (RulerEvent { Kind::LRValueChang, 2055, 2000 }));
    EXPECT_EQ(
        m.keyDown(Qt::Key_Right, Qt::ShiftModifier).back(), (RulerEvent { Kind::LRValueChang, 2110, 2000 }));
    m.keyDown(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(m.nLSpace(), 2055);
    m.keyDown(Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(m.nRSpace(), 2055);
    m.keyDown(Qt::Key_Right, Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_EQ(m.nRSpace(), 2000);
    EXPECT_EQ(kinds(m.keyUp()), (std::vector { Kind::aChangOver }));

    // Other keys and other modifiers frame a gesture that moves nothing.
    for (const auto& [key, modifiers] : { std::pair { int(Qt::Key_A), Qt::KeyboardModifiers() },
             std::pair { int(Qt::Key_Right), Qt::KeyboardModifiers(Qt::ShiftModifier | Qt::ControlModifier) },
             std::pair { int(Qt::Key_Right), Qt::KeyboardModifiers() },
             std::pair { int(Qt::Key_Up), Qt::KeyboardModifiers(Qt::ShiftModifier) } }) {
        EXPECT_EQ(kinds(m.keyDown(key, modifiers)), (std::vector { Kind::aChangBegin }));
        EXPECT_EQ(kinds(m.keyUp()), (std::vector { Kind::aChangOver }));
    }
    EXPECT_EQ(m.nLSpace(), 2055);
    EXPECT_EQ(m.nRSpace(), 2000);
}

TEST_P(AtResolution, ADragMovesThePinOnEverySecondMoveAndStopsShortOfTheOtherPin)
{
    MarginModel m = loadedRuler(GetParam().dpi, 1000, 9000);
    const double start = m.pinLeft(0);
    EXPECT_EQ(kinds(m.press(RulerPart::Pin0, 40, Qt::LeftButton)), (std::vector { Kind::aChangBegin }));
    EXPECT_TRUE(m.guidesVisible());
    // The pointer 100 twips on: the pin follows; the next move only lets the others run.
    EXPECT_EQ(m.move(0, 140, Qt::LeftButton), (RulerEvents { { Kind::LRValueChang, 1100, 9000 } }));
    EXPECT_DOUBLE_EQ(m.pinLeft(0), start + 100);
    EXPECT_TRUE(m.move(0, 140, Qt::LeftButton).empty());
    EXPECT_EQ(m.move(0, 90, Qt::LeftButton).size(), 1u);
    EXPECT_EQ(m.nLSpace(), 1150);
    m.move(0, 40, Qt::LeftButton);

    // A move that would overlap the right pin is refused and does not use up the next one.
    const double gap = m.pinLeft(1) - (m.pinLeft(0) + w);
    EXPECT_TRUE(m.move(0, 40 + gap + 1, Qt::LeftButton).empty());
    EXPECT_EQ(m.move(0, 40 + gap - 10, Qt::LeftButton).size(), 1u);
    EXPECT_DOUBLE_EQ(m.pinLeft(1) - (m.pinLeft(0) + w), 10);
    // Dragged to the page's left end the pin keeps its left edge on the page.
    m.move(0, 40, Qt::LeftButton);
    EXPECT_TRUE(m.move(0, 40 - m.pinLeft(0) + m.barLeft() - 1, Qt::LeftButton).empty());
    m.move(0, 40 - m.pinLeft(0) + m.barLeft(), Qt::LeftButton);
    EXPECT_EQ(m.nLSpace(), 38); // w/2 = 37.5, to even
    EXPECT_EQ(kinds(m.release(RulerPart::Pin0)), (std::vector { Kind::aChangOver }));
    EXPECT_FALSE(m.guidesVisible());

    // The right pin's drag the same way.
    m.press(RulerPart::Pin1, 10, Qt::LeftButton);
    EXPECT_TRUE(m.move(1, 10 - 300, Qt::LeftButton).empty());
    m.move(1, 10 - 300, Qt::LeftButton);
    EXPECT_EQ(m.nRSpace(), 9300);
}

TEST_P(AtResolution, HoveringOverAPinOnlySetsItsTooltip)
{
    const int dpi = GetParam().dpi;
    MarginModel m = loadedRuler(dpi, 820, 567);
    EXPECT_EQ(m.tip(0), QString());
    const double pin = m.pinLeft(0);
    EXPECT_TRUE(m.move(0, 30, Qt::NoButton).empty());
    EXPECT_TRUE(m.move(1, 30, Qt::NoButton).empty()); // every second move does nothing
    m.move(1, 30, Qt::NoButton);
    EXPECT_EQ(m.pinLeft(0), pin);
    EXPECT_EQ(m.tip(0), dpi == 96 ? QStringLiteral("1.45厘米") : QStringLiteral("1.46厘米"));
    EXPECT_EQ(m.tip(1), dpi == 96 ? QStringLiteral("1厘米") : QStringLiteral("1.01厘米"));
    // A held left button without a press on the pin is no drag.
    m.move(0, 130, Qt::LeftButton);
    m.move(0, 130, Qt::LeftButton);
    EXPECT_EQ(m.pinLeft(0), pin);
}

TEST(MarginModel, PressingAPinShowsTheGuidesAtItsCentre)
{
    MarginModel m = loadedRuler(96, 820, 820);
    m.press(RulerPart::Pin1, 3, Qt::RightButton);
    EXPECT_TRUE(m.guidesVisible());
    EXPECT_DOUBLE_EQ(m.guideX(), pinCentre(m, 1));
    EXPECT_EQ(kinds(m.endOpenGesture()), (std::vector { Kind::aChangOver }));
    EXPECT_TRUE(m.endOpenGesture().empty());
}

TEST(MarginModel, HitTestingFindsPinsOverBandsOverTheBar)
{
    const MarginModel m = loadedRuler(96, 1000, 1000);
    const double bandY = MarginModel::kBarTop + 10;
    EXPECT_EQ(m.partAt(pinCentre(m, 0), bandY), RulerPart::Pin0);
    EXPECT_EQ(m.partAt(pinCentre(m, 1), 280), RulerPart::Pin1);
    EXPECT_EQ(m.partAt(m.barLeft() + 10, bandY), RulerPart::Green);
    EXPECT_EQ(m.partAt(m.redLeft() + m.redWidth() - 1, bandY), RulerPart::Red);
    EXPECT_EQ(m.partAt(5000, bandY), RulerPart::Bar);
    EXPECT_EQ(m.partAt(5000, 200), RulerPart::None);
    EXPECT_EQ(m.partAt(m.barLeft() - 1, bandY), RulerPart::None);
}

TEST(MarginModel, TheSpinnerStepsBetween20And150AndSendsTheChosenKind)
{
    MarginModel m(96);
    m.ReadProperties({});
    EXPECT_EQ(m.stepSpacing(true), (RulerEvents { { Kind::SetLineSpcing, 2, 610 } }));
    EXPECT_EQ(m.stepSpacing(false), (RulerEvents { { Kind::SetLineSpcing, 2, 600 } }));
    EXPECT_EQ(m.stepSpacing(false), (RulerEvents { { Kind::SetLineSpcing, 2, 590 } }));
    m.setKind(1);
    EXPECT_EQ(m.stepSpacing(true).front().first, 1);
    m.setKind(-1);
    EXPECT_EQ(m.stepSpacing(true).front().first, -1);
    while (!m.stepSpacing(true).empty()) { }
    EXPECT_EQ(m.spacing(), 150);
    while (!m.stepSpacing(false).empty()) { }
    EXPECT_EQ(m.spacing(), 20);
    EXPECT_EQ(MarginModel::choose(MenuEntry::Help), (RulerEvents { { Kind::ShowMyHelp } }));
}

TEST(MarginModel, NumbersAreWrittenInTheirShortestFormToTwoDecimals)
{
    EXPECT_EQ(TwoDecimals(1.446), "1.45");
    EXPECT_EQ(TwoDecimals(1.000125), "1");
    EXPECT_EQ(TwoDecimals(872.5), "872.5");
    EXPECT_EQ(TwoDecimals(0.125), "0.12");
}

// Random gestures as the widget sends them, from random margins: the pins stay on the page, in order and
// apart, the margins follow the pins, and every margin change falls inside a gesture.
TEST_P(AtResolution, RandomGesturesKeepThePinsOnThePageInOrderAndEveryChangeInsideAGesture)
{
    const int dpi = GetParam().dpi;
    const int page = GetParam().pageTwips;
    QRandomGenerator random(29 + dpi);
    const RulerPart parts[]
        = { RulerPart::Pin0, RulerPart::Pin1, RulerPart::Bar, RulerPart::Green, RulerPart::Red };
    const Qt::MouseButton buttons[] = { Qt::LeftButton, Qt::RightButton, Qt::MiddleButton };
    const int keys[] = { Qt::Key_Left, Qt::Key_Right, Qt::Key_A };
    const Qt::KeyboardModifiers modifiers[] = { Qt::ShiftModifier, Qt::ControlModifier, Qt::NoModifier };
    for (int run = 0; run < 200; ++run) {
        const int left = random.bounded(page / 2);
        MarginModel m = loadedRuler(dpi, left, random.bounded(page - left - 75));
        int open = 0;
        for (int step = 0; step < 60; ++step) {
            RulerEvents events;
            const double x = random.bounded(12400.0) - 400;
            switch (random.bounded(4)) {
            case 0: { // press, drag, release
                const RulerPart part = parts[random.bounded(5)];
                events = m.press(part, x, buttons[random.bounded(3)]);
                for (int i = random.bounded(5); i > 0; --i) {
                    if (part == RulerPart::Pin0 || part == RulerPart::Pin1) {
                        const RulerEvents moved
                            = m.move(part == RulerPart::Pin0 ? 0 : 1, random.bounded(4000.0) - 2000,
                                random.bounded(2) ? Qt::LeftButton : Qt::RightButton);
                        events.insert(events.end(), moved.begin(), moved.end());
                    }
                }
                const RulerEvents up = m.release(part);
                events.insert(events.end(), up.begin(), up.end());
                break;
            }
            case 1: // a key held for a few repeats
                for (int i = random.bounded(1, 4); i > 0; --i) {
                    const RulerEvents down = m.keyDown(keys[random.bounded(3)], modifiers[random.bounded(3)]);
                    events.insert(events.end(), down.begin(), down.end());
                }
                events.push_back(m.keyUp().front());
                break;
            case 2: // hovering
                events = m.move(random.bounded(2), x / 10, Qt::NoButton);
                break;
            default:
                events = m.stepSpacing(random.bounded(2));
                break;
            }
            const RulerEvent* lastChange = nullptr;
            for (const RulerEvent& e : events) {
                if (e.kind == Kind::aChangBegin)
                    ++open;
                if (e.kind == Kind::aChangOver)
                    open = 0;
                if (e.kind == Kind::LRValueChang) {
                    ASSERT_GT(open, 0);
                    lastChange = &e;
                }
            }
            if (lastChange) {
                EXPECT_EQ(lastChange->first, m.nLSpace());
                EXPECT_EQ(lastChange->second, m.nRSpace());
            }
            ASSERT_GE(pinCentre(m, 0), m.barLeft());
            ASSERT_LE(pinCentre(m, 1), m.barLeft() + page);
            ASSERT_GE(m.pinLeft(1) - m.pinLeft(0), w - 1e-9);
            ASSERT_EQ(m.nLSpace(), static_cast<int>(std::nearbyint(pinCentre(m, 0) - m.barLeft())));
            ASSERT_EQ(m.nRSpace(), static_cast<int>(std::nearbyint(page + m.barLeft() - pinCentre(m, 1))));
            ASSERT_DOUBLE_EQ(m.greenWidth(), pinCentre(m, 0) - m.barLeft());
            ASSERT_DOUBLE_EQ(m.redLeft(), pinCentre(m, 1));
        }
        EXPECT_EQ(open, 0);
    }
}

} // namespace

// The test tool drives the model alone: the events as raised, then the ruler's state.
TEST(MarginTool, PrintsTheEventsAndThenTheRulersState)
{
    const tunvale::testing::ScoretoolResult run = tunvale::testing::RunScoretool(
        { "ruler", "--dpi", "110", "--bag", "bcLeft=820;bcWidth_n=1", "--margins", "567", "1000",
            "move pin0 30 0", "key Shift+Right", "kind typed", "spin up", "set nRSpace -4" });
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out,
        "event aChangBegin\nevent LRValueChang 622 1000\nevent aChangOver\nevent SetLineSpcing -1 610\n"
        "margins 622 1000\npins 659.7 10860.5\nbands 622.2 10898 1000\ntips 1.01厘米 -\nspin 61 -1\n"
        "bag nLSpace=622;nRSpace=1000;bcLeft=820;bcVisible=False\n");
    EXPECT_EQ(tunvale::testing::RunScoretool({ "ruler", "press bar" }).exitCode, 2);
}

// Numbers no setter or pointer takes are refused; a factor goes to the ruler, which refuses it.
TEST(MarginTool, RefusesNumbersTheRulerCannotTake)
{
    const QStringList refused[] = { { "set bcLeft nan" }, { "set nLSpace 1e10" }, { "set bcTop 2147483648" },
        { "set bcHeight -2147483649" }, { "set bcWidth 1.5" }, { "press bar nan 1" }, { "move pin0 inf 1" },
        { "--dpi", "0", "spin up" }, { "--dpi", "1441", "spin up" }, { "--dpi", "2147483648", "spin up" } };
    for (const QStringList& args : refused) {
        SCOPED_TRACE(args.join(u' ').toStdString());
        EXPECT_EQ(tunvale::testing::RunScoretool(QStringList { "ruler" } + args).exitCode, 2);
    }
    const tunvale::testing::ScoretoolResult run = tunvale::testing::RunScoretool(
        { "ruler", "set bcWidth_n nan", "set bcWidth_n 1e10", "set bcLeft 2147483647" });
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.endsWith("bag bcLeft=2147483647;bcVisible=False\n")) << run.out.toStdString();
}
