#include "components/hintballoon/color_value.h"
#include "components/hintballoon/tip_window.h"
#include "hint_balloon.h"
#include "tests/support/scoretool_run.h"

#include <QApplication>
#include <QEnterEvent>
#include <QEventLoop>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

using namespace tunvale::hintballoon;

namespace {

// Test widgets in a shown window, and the pointer moving over them.
class HintTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        host.resize(400, 300);
        host.show();
    }

    QWidget* widget(int x)
    {
        auto* label = new QLabel(QStringLiteral("tool"), &host);
        label->setGeometry(x, 10, 80, 30);
        label->show();
        return label;
    }

    // Rests the pointer on `tool` until its hint shows, or long enough to know that it will not.
    std::optional<ShownHint> hover(QWidget* tool)
    {
        if (hovered && hovered != tool) {
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(hovered, &leave);
        }
        const QPointF local(20, 10);
        QEnterEvent enter(local, local, tool->mapToGlobal(local));
        QApplication::sendEvent(tool, &enter);
        hovered = tool;
        TipWindow* tips = TipWindow::current();
        if (!tips)
            return std::nullopt;
        QEventLoop loop;
        QObject::connect(tips, &TipWindow::hintShown, &loop, &QEventLoop::quit);
        QTimer::singleShot(tips->delays().show + 300, &loop, &QEventLoop::quit);
        loop.exec();
        const auto shown = tips->shown();
        return shown && shown->tool == tool ? shown : std::nullopt;
    }

    static std::unique_ptr<ClsHintballoon> quickHints()
    {
        auto hints = CreateHintballoon();
        hints->SetDelayTimes(0, 5000, 0);
        return hints;
    }

    QWidget host;
    QPointer<QWidget> hovered;
};

TEST_F(HintTest, OnePopupIsSharedAndCountedAndTheLastObjectTakesItAlong)
{
    ASSERT_EQ(TipWindow::current(), nullptr);
    auto first = CreateHintballoon();
    TipWindow* popup = TipWindow::current();
    ASSERT_NE(popup, nullptr);
    auto second = CreateHintballoon();
    EXPECT_EQ(TipWindow::current(), popup) << "the second object makes no popup of its own";
    EXPECT_EQ(TipWindow::TipUsers(), 2);
    second.reset();
    EXPECT_EQ(TipWindow::current(), popup);
    first.reset();
    EXPECT_EQ(TipWindow::current(), nullptr);
    EXPECT_EQ(TipWindow::TipUsers(), 0);

    auto third = CreateHintballoon();
    EXPECT_NE(TipWindow::current(), nullptr) << "a new object after the last makes a fresh popup";
    EXPECT_EQ(TipWindow::current()->delays().show, 500);
}

TEST(HintColours, NumbersAreBlueGreenRedTheTopBitIndexesSystemColoursAndTextsMayHoldNumbers)
{
    const QPalette palette = QToolTip::palette();
    EXPECT_EQ(ColorFromValue(0x0000FF, palette), QColor(255, 0, 0));
    EXPECT_EQ(ColorFromValue(0xFF8000, palette), QColor(0, 0x80, 255));
    EXPECT_EQ(ColorFromValue(QStringLiteral("255"), palette), QColor(255, 0, 0));
    EXPECT_EQ(ColorFromValue(QStringLiteral("&HFF00"), palette), QColor(0, 255, 0));
    EXPECT_EQ(ColorFromValue(kInfoBackColor, palette), palette.color(QPalette::ToolTipBase));
    EXPECT_EQ(ColorFromValue(kInfoTextColor, palette), palette.color(QPalette::ToolTipText));
    EXPECT_EQ(ColorFromValue(qint64(0x800000FF), palette), QColor(Qt::black)) << "an unknown system colour";
    EXPECT_EQ(ColorFromValue(QString(QChar(8)), palette), std::nullopt);
    EXPECT_EQ(ColorFromValue(QStringLiteral("1e30"), palette), std::nullopt);
}

TEST_F(HintTest, AddAndUpdateStoreTranslatedColoursAndCutTheTitle)
{
    auto hints = CreateHintballoon();
    QWidget* strip = widget(10);
    BalloonTool tool;
    tool.tool = strip;
    tool.foreColor = 0;
    tool.backColor = QString(QChar(8));
    tool.title = QString(100, u'x');
    EXPECT_TRUE(hints->AddTool(tool));
    EXPECT_FALSE(hints->AddTool(BalloonTool {})) << "no widget";
    EXPECT_EQ(hints->tool(strip)->look.backColor, QColor(Qt::black))
        << "a text that is no number gives black";
    EXPECT_EQ(hints->tool(strip)->look.title.size(), 80);

    BalloonTool plain;
    plain.tool = widget(100);
    hints->AddTool(plain);
    EXPECT_EQ(hints->tool(plain.tool)->look.backColor, QToolTip::palette().color(QPalette::ToolTipBase));
    EXPECT_EQ(hints->tool(plain.tool)->look.foreColor, QToolTip::palette().color(QPalette::ToolTipText));

    BalloonToolUpdate update;
    update.foreColor = 0xFFFFFF;
    update.backColor = QStringLiteral("not a colour");
    EXPECT_TRUE(hints->UpdateTool(strip, update));
    EXPECT_EQ(hints->tool(strip)->look.foreColor, QColor(Qt::white));
    EXPECT_EQ(hints->tool(strip)->look.backColor, QColor(Qt::black))
        << "an unreadable colour keeps the field";
    EXPECT_FALSE(hints->UpdateTool(widget(200), update)) << "a widget never added";
    EXPECT_EQ(hints->toolCount(), 2);
}

TEST_F(HintTest, TextOnRequestIsAskedEachTimeAndAnEmptyAnswerShowsNothing)
{
    auto hints = quickHints();
    QWidget* strip = widget(10);
    QWidget* other = widget(200);
    hints->AddTool({ .tool = strip });
    hints->AddTool({ .tool = other, .text = QStringLiteral("other") });
    QString answer;
    QList<QWidget*> asked;
    QObject::connect(hints.get(), &ClsHintballoon::NeedText, [&](QWidget* tool, QString& text) {
        asked << tool;
        text = answer;
    });
    QSignalSpy shows(hints.get(), &ClsHintballoon::Show);
    EXPECT_FALSE(hover(strip));
    EXPECT_EQ(asked, QList<QWidget*> { strip });
    EXPECT_EQ(shows.count(), 0);

    answer = QStringLiteral("bar 3");
    auto shown = hover(other);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->look.text, QStringLiteral("other"));
    shown = hover(strip);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->look.text, QStringLiteral("bar 3"));
    EXPECT_EQ(asked, (QList<QWidget*> { strip, strip }));

    // A text given replaces the request; "" switches back to asking.
    BalloonToolUpdate update;
    update.text = QStringLiteral("given");
    hints->UpdateTool(strip, update);
    EXPECT_EQ(TipWindow::current()->shown()->look.text, QStringLiteral("given"))
        << "the hint up takes it at once";
    update.text = QString();
    hints->UpdateTool(other, update);
    answer = QStringLiteral("asked");
    shown = hover(other);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->look.text, QStringLiteral("asked"));
    EXPECT_EQ(asked.last(), other);
}

TEST_F(HintTest, OnlyAPlainHintRollsInAndABlankTitleShowsNoTitleOrIcon)
{
    auto hints = quickHints();
    QWidget* balloon = widget(10);
    QWidget* plain = widget(200);
    hints->AddTool({ .tool = balloon,
        .text = QStringLiteral("b"),
        .balloon = true,
        .title = QStringLiteral("   "),
        .icon = ttiInfo,
        .showMode = ttsmLeftToRight });
    hints->AddTool({ .tool = plain,
        .text = QStringLiteral("p"),
        .title = QStringLiteral("Drum"),
        .icon = ttiWarning,
        .showMode = ttsmLeftToRight });

    auto shown = hover(balloon);
    ASSERT_TRUE(shown);
    EXPECT_FALSE(shown->rolledIn);
    EXPECT_TRUE(shown->look.title.isEmpty());
    EXPECT_EQ(shown->look.icon, ttiNone);

    shown = hover(plain);
    ASSERT_TRUE(shown);
    EXPECT_TRUE(shown->rolledIn);
    EXPECT_EQ(shown->look.title, QStringLiteral("Drum"));
    EXPECT_EQ(shown->look.icon, ttiWarning);
    QWidget* popup = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        popup = w->objectName() == QStringLiteral("HintPopup") ? w : popup;
    ASSERT_NE(popup, nullptr);
    EXPECT_LT(popup->mask().boundingRect().width(), popup->width() / 2) << "it starts from the left";
    QTest::qWait(HintPopup::RollInMs + 100);
    EXPECT_TRUE(popup->mask().isEmpty()) << "and stands whole after 200 ms";
}

TEST_F(HintTest, SetDelayTimesChangesWhatIsGivenAndRefusesWhatIsNoNumber)
{
    auto hints = CreateHintballoon();
    EXPECT_TRUE(hints->SetDelayTimes({}, 300));
    const HintDelays& delays = TipWindow::current()->delays();
    EXPECT_EQ(delays.show, 500);
    EXPECT_EQ(delays.autoHide, 300);
    EXPECT_EQ(delays.reShow, 100);
    EXPECT_FALSE(hints->SetDelayTimes(20, QStringLiteral("soon")));
    EXPECT_EQ(delays.show, 500);
    EXPECT_TRUE(hints->SetDelayTimes(20, -1));
    EXPECT_EQ(delays.show, 20);
    EXPECT_EQ(delays.autoHide, 5000) << "a negative delay is the automatic one";
    EXPECT_TRUE(hints->SetDelayTimes());
    EXPECT_EQ(delays.show, 500);
}

TEST_F(HintTest, DelaysThatAreNoNumberAreRefusedAndOthersHeldToAnInt)
{
    auto hints = CreateHintballoon();
    const HintDelays& delays = TipWindow::current()->delays();
    for (const QVariant& refused : { QVariant(std::nan("")), QVariant("nan"), QVariant(HUGE_VAL),
             QVariant(-HUGE_VAL), QVariant("-inf") }) {
        SCOPED_TRACE(refused.toString().toStdString());
        EXPECT_FALSE(hints->SetDelayTimes(refused));
        EXPECT_EQ(delays.show, 500);
    }
    const std::pair<QVariant, int> taken[] = { { 1e10, INT_MAX }, { -1e10, 500 }, { 2147483648.0, INT_MAX },
        { -2147483649.0, 500 }, { "2147483648", INT_MAX }, { -2, 500 }, { 0, 0 } };
    for (const auto& [value, show] : taken) {
        SCOPED_TRACE(value.toString().toStdString());
        EXPECT_TRUE(hints->SetDelayTimes(value));
        EXPECT_EQ(delays.show, show);
    }
}

// A number that is none of an enum's values leaves a new tool at the default and an added one as it
// was; margins and wrap widths are held to what a hint can have.
TEST_F(HintTest, ImpossibleLookNumbersFromACallerAreNotTaken)
{
    auto hints = quickHints();
    QWidget* tool = widget(10);
    const auto enums = [&] {
        const HintLook& look = hints->tool(tool)->look;
        return std::tuple(look.icon, look.showMode, look.alignment);
    };
    const auto sizes
        = [&] { return std::pair(hints->tool(tool)->look.margin, hints->tool(tool)->look.width); };
    const auto mode = BalloonShowMode(ttsmCenter | ttsmBottomToTop);
    for (const int bad : { -1, 32, INT_MIN, INT_MAX }) {
        SCOPED_TRACE(bad);
        const std::pair held(std::clamp(bad, 0, kMaxHintMargin), std::clamp(bad, 0, kMaxHintWidth));
        hints->AddTool({ .tool = tool,
            .text = QStringLiteral("t"),
            .icon = TooltipIcon(bad),
            .showMode = BalloonShowMode(bad),
            .margin = bad,
            .alignment = TooltipAlignment(bad),
            .width = bad });
        EXPECT_EQ(enums(), std::tuple(ttiNone, ttsmDefault, ttaLeft));
        EXPECT_EQ(sizes(), held);
        hints->UpdateTool(
            tool, { .icon = ttiError, .showMode = mode, .margin = 5, .alignment = ttaRight, .width = 5 });
        hints->UpdateTool(tool,
            { .icon = TooltipIcon(bad),
                .showMode = BalloonShowMode(bad),
                .margin = bad,
                .alignment = TooltipAlignment(bad),
                .width = bad });
        EXPECT_EQ(enums(), std::tuple(ttiError, mode, ttaRight));
        EXPECT_EQ(sizes(), held);
        hovered = nullptr;
        EXPECT_TRUE(hover(tool)) << "the hint shows at its held size";
    }
    // Just beyond the icons and the alignments.
    hints->AddTool({ .tool = tool, .icon = TooltipIcon(4), .alignment = TooltipAlignment(3) });
    EXPECT_EQ(enums(), std::tuple(ttiNone, ttsmDefault, ttaLeft));
}

TEST_F(HintTest, AHintHidesByItselfAfterTheAutoHideDelay)
{
    auto hints = CreateHintballoon();
    hints->SetDelayTimes(0, 100, 0);
    QWidget* tool = widget(10);
    hints->AddTool({ .tool = tool, .text = QStringLiteral("t") });
    QSignalSpy pops(hints.get(), &ClsHintballoon::Pop);
    ASSERT_TRUE(hover(tool));
    EXPECT_TRUE(pops.wait(1000));
    EXPECT_FALSE(TipWindow::current()->shown());
}

TEST_F(HintTest, EachObjectServesItsOwnToolsAndOutlivesTheOther)
{
    auto a = quickHints();
    auto b = CreateHintballoon();
    QWidget* ta = widget(10);
    QWidget* tb = widget(200);
    a->AddTool({ .tool = ta });
    b->AddTool({ .tool = tb });
    QStringList events;
    for (const auto& [hints, name] : { std::pair(a.get(), "a"), std::pair(b.get(), "b") }) {
        const QString n = QLatin1String(name);
        QObject::connect(hints, &ClsHintballoon::NeedText, [&events, n](QWidget*, QString& text) {
            events << n + QStringLiteral(" asked");
            text = n;
        });
        QObject::connect(
            hints, &ClsHintballoon::Show, [&events, n] { events << n + QStringLiteral(" show"); });
        QObject::connect(hints, &ClsHintballoon::Pop, [&events, n] { events << n + QStringLiteral(" pop"); });
    }
    ASSERT_TRUE(hover(ta));
    ASSERT_TRUE(hover(tb));
    EXPECT_EQ(events, (QStringList { "a asked", "a show", "a pop", "b asked", "b show" }));

    events.clear();
    a.reset();
    EXPECT_TRUE(TipWindow::current()->shown()) << "b's hint stays up";
    EXPECT_FALSE(hover(ta)) << "a's tool has no hint once a is gone";
    const auto shown = hover(tb);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->owner, b.get());
    EXPECT_EQ(events, (QStringList { "b pop", "b asked", "b show" }));
}

TEST_F(HintTest, RemoveToolKeepsTheRecordButTheHintNoLongerShows)
{
    auto hints = quickHints();
    QWidget* tool = widget(10);
    hints->AddTool({ .tool = tool, .text = QStringLiteral("t") });
    hints->RemoveTool(tool);
    EXPECT_NE(hints->tool(tool), nullptr);
    EXPECT_FALSE(hover(tool));
    hints->AddTool({ .tool = tool, .text = QStringLiteral("again") });
    EXPECT_TRUE(hover(tool));
}

TEST(ScoretoolHints, TheHostsBarStripHintIsWhiteOnABlackBalloonWithTitleAndIcon)
{
    const auto result = tunvale::testing::RunScoretool(
        { "hints", "new", "1", "delays", "1", "show=0", "add", "1", "strip", "fore=0", "back=\b", "balloon=1",
            "mode=1", "answer", "1", "bar 2", "hover", "strip", "update", "1", "strip", "text=第3小节",
            "fore=16777215", "back=x", "title=节奏", "icon=1", "mode=1", "hover", "strip" });
    ASSERT_EQ(result.exitCode, 0);
    const QStringList lines = QString::fromUtf8(result.out).split(u'\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines,
        (QStringList { "popup new", "NeedText 1 strip", "Show 1",
            "tip balloon fore 000000 back 000000 icon 0 animate no", "title -", "text bar 2",
            "tip balloon fore FFFFFF back 000000 icon 1 animate no", "title 节奏", "text 第3小节", "users 1",
            "delays 0 5000 100" }));
}

// The tool hands the component every int a caller could, and refuses a number no int holds.
TEST(ScoretoolHints, NumbersNoIntHoldsAreRefusedAndOthersReachTheComponent)
{
    for (const char* word :
        { "icon=1e10", "margin=2147483648", "width=-2147483649", "mode=nan", "align=1.5" }) {
        SCOPED_TRACE(word);
        EXPECT_EQ(tunvale::testing::RunScoretool({ "hints", "new", "1", "add", "1", "w", word }).exitCode, 2);
    }
    const auto result = tunvale::testing::RunScoretool({ "hints", "new", "1", "delays", "1", "show=0", "add",
        "1", "w", "text=x", "icon=-1", "mode=99", "align=3", "margin=2147483647", "width=-2147483648",
        "hover", "w", "delays", "1", "show=1e10", "reshow=nan", "delays", "1", "show=1e10", "hover", "v" });
    ASSERT_EQ(result.exitCode, 0);
    const QStringList lines = QString::fromUtf8(result.out).split(u'\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines,
        (QStringList { "popup new", "Show 1", "tip plain fore 000000 back FFFFDC icon 0 animate no",
            "title -", "text x", "delays refused", "Pop 1", "tip none", "users 1",
            "delays 2147483647 5000 100" }));
}

} // namespace
