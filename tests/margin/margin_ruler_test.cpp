#include "components/margin/margin_model.h"
#include "margin_ruler.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

using namespace tunvale::margin;

namespace {

// A ruler in a window as the host shows it, with every event it raises written down by name.
struct Ruler {
    Ruler()
    {
        window.resize(1100, 400);
        ruler = CreateMarginRuler(&window);
        ruler->ReadProperties({});
        ruler->setBcHeight(320);
        ruler->setGeometry(0, 0, window.width(), ruler->height());
        ruler->setBcLeft(3015);
        ruler->setNLSpace(820);
        ruler->setNRSpace(820);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        ruler->setShow(true);
        ruler->setFocus();
        QObject::connect(ruler, &MarginRuler::aChangBegin, [this] { events << "begin"; });
        QObject::connect(ruler, &MarginRuler::aChangOver, [this] { events << "over"; });
        QObject::connect(ruler, &MarginRuler::LRValueChang,
            [this](int l, int r) { events << QStringLiteral("change %1 %2").arg(l).arg(r); });
        QObject::connect(ruler, &MarginRuler::SetLineSpcing, [this](int kind, int spacing) {
            events << QStringLiteral("spacing %1 %2").arg(kind).arg(spacing);
        });
        QObject::connect(ruler, &MarginRuler::BjMainMun, [this] { events << "main"; });
        QObject::connect(ruler, &MarginRuler::ShowMyHelp, [this] { events << "help"; });
    }

    const MarginModel& model() const { return ruler->model(); }
    template <typename T> T* child(const char* name) const { return ruler->findChild<T*>(name); }

    // Where twips `x` inside an element of the scale, at height `y` in the scale, lie in the ruler.
    QPointF at(RulerPart part, double x, double y) const
    {
        const double tpp = model().twipsPerPixel();
        return { (model().scaleLeft() + model().partLeft(part) + x) / tpp, (model().scaleTop() + y) / tpp };
    }
    QPointF onPin(int pin, double x = 37) const
    {
        return at(pin == 0 ? RulerPart::Pin0 : RulerPart::Pin1, x, 200);
    }
    QPointF onBar(double x) const { return at(RulerPart::Bar, x, 100); }

    void mouse(QEvent::Type type, const QPointF& pos, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, pos, ruler->mapToGlobal(pos), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(ruler, &event);
    }
    void key(QEvent::Type type, int key, Qt::KeyboardModifiers modifiers, bool repeat = false)
    {
        QKeyEvent event(type, key, modifiers, QString(), repeat);
        QApplication::sendEvent(ruler, &event);
    }
    QWidget* guide() const { return window.findChild<QWidget*>(QStringLiteral("提示线")); }
    QColor focusColour() const { return child<QLabel>("Label1")->palette().color(QPalette::WindowText); }
    void clickArrow(bool up)
    {
        QWidget* arrows = child<QWidget>("VScroll1");
        QTest::mouseClick(
            arrows, Qt::LeftButton, {}, QPoint(arrows->width() / 2, up ? 2 : arrows->height() - 2));
    }

    QStringList events; // outlives the window, whose close ends an open gesture
    QWidget window;
    MarginRuler* ruler = nullptr;
};

TEST(MarginRulerWidget, DraggingEitherPinMovesItsMarginWithTheGuideOverTheWindow)
{
    Ruler r;
    const double tpp = r.model().twipsPerPixel();
    const QPointF start = r.onPin(0);
    r.mouse(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    ASSERT_TRUE(r.guide());
    EXPECT_TRUE(r.guide()->isVisible());
    EXPECT_EQ(r.guide()->x(), qRound((r.model().scaleLeft() + r.model().pinLeft(0) + 37.5) / tpp));
    EXPECT_GE(r.guide()->y(), r.ruler->height()); // below the strip, down to the window's foot
    EXPECT_EQ(r.guide()->geometry().bottom(), r.window.height() - 1);
    // Ten pixels to the right: the first move counts, the one after it only lets the queue run.
    r.mouse(QEvent::MouseMove, start + QPointF(10, 0), Qt::NoButton, Qt::LeftButton);
    r.mouse(QEvent::MouseMove, start + QPointF(20, 0), Qt::NoButton, Qt::LeftButton);
    r.mouse(QEvent::MouseButtonRelease, start + QPointF(20, 0), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(
        r.events, (QStringList { "begin", QStringLiteral("change %1 820").arg(820 + 10 * tpp), "over" }));
    EXPECT_FALSE(r.guide()->isVisible());
    EXPECT_EQ(r.ruler->nLSpace(), 820 + 10 * tpp);

    r.events.clear();
    const QPointF right = r.onPin(1);
    r.mouse(QEvent::MouseButtonPress, right, Qt::LeftButton, Qt::LeftButton);
    r.mouse(QEvent::MouseMove, right - QPointF(30, 0), Qt::NoButton, Qt::LeftButton);
    r.mouse(QEvent::MouseButtonRelease, right - QPointF(30, 0), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(r.events,
        (QStringList {
            "begin", QStringLiteral("change %1 %2").arg(820 + 10 * tpp).arg(820 + 30 * tpp), "over" }));
}

TEST(MarginRulerWidget, ARightClickOnTheBarMovesTheRightPinAndALeftClickTheLeftOne)
{
    Ruler r;
    const QPointF click = r.onBar(r.model().pinLeft(1) + 37.5 - 150 - r.model().barLeft());
    r.mouse(QEvent::MouseButtonPress, click, Qt::RightButton, Qt::RightButton);
    r.mouse(QEvent::MouseButtonRelease, click, Qt::RightButton, Qt::NoButton);
    EXPECT_EQ(r.events, (QStringList { "begin", "change 820 970", "over" }));
    r.events.clear();
    r.mouse(QEvent::MouseButtonPress, r.onBar(5000), Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(r.events, (QStringList { "begin", "change 1096 970" }));
}

TEST(MarginRulerWidget, HoveringOverAPinGivesItsTooltipAndThePointingHand)
{
    Ruler r;
    const QPointF pin = r.onPin(0, 30);
    r.mouse(QEvent::MouseMove, pin, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(r.ruler->cursor().shape(), Qt::PointingHandCursor);
    QHelpEvent help(QEvent::ToolTip, pin.toPoint(), r.ruler->mapToGlobal(pin.toPoint()));
    QApplication::sendEvent(r.ruler, &help);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("1.45厘米"));
    EXPECT_TRUE(r.events.isEmpty());
    r.mouse(QEvent::MouseMove, r.onBar(5000), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(r.ruler->cursor().shape(), Qt::ArrowCursor);
}

TEST(MarginRulerWidget, AHeldKeyRepeatsItsPressAndEndsWithOneRelease)
{
    Ruler r;
    r.key(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
    r.key(QEvent::KeyPress, Qt::Key_Right, Qt::ShiftModifier);
    r.key(QEvent::KeyRelease, Qt::Key_Right, Qt::ShiftModifier, true);
    r.key(QEvent::KeyPress, Qt::Key_Right, Qt::ShiftModifier, true);
    r.key(QEvent::KeyRelease, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(
        r.events, (QStringList { "begin", "begin", "change 875 820", "begin", "change 930 820", "over" }));
    // Keys that reach the ruler from its chooser are the chooser's.
    r.events.clear();
    r.child<QComboBox>("Combo1")->setFocus();
    r.key(QEvent::KeyPress, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_TRUE(r.events.isEmpty());
}

TEST(MarginRulerWidget, AGestureLeftOpenEndsWhenTheRulerLosesTheFocusTheMouseOrItsPlace)
{
    Ruler r;
    r.key(QEvent::KeyPress, Qt::Key_Left, Qt::ControlModifier);
    r.child<QLineEdit>("Text2")->setFocus();
    EXPECT_EQ(r.events, (QStringList { "begin", "change 820 875", "over" }));

    r.events.clear();
    r.ruler->setFocus();
    r.mouse(QEvent::MouseButtonPress, r.onPin(1), Qt::LeftButton, Qt::LeftButton);
    // The release went to another window: the next move comes without a button.
    r.mouse(QEvent::MouseMove, r.onPin(1), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(r.events, (QStringList { "begin", "over" }));

    r.events.clear();
    r.mouse(QEvent::MouseButtonPress, r.onBar(3000), Qt::MiddleButton, Qt::MiddleButton);
    r.ruler->hide();
    EXPECT_EQ(r.events, (QStringList { "begin", "over" }));
    EXPECT_FALSE(r.guide()->isVisible());
}

TEST(MarginRulerWidget, TheSpinnerStepsTheShownValueAndSendsTheChosenKind)
{
    Ruler r;
    auto* text = r.child<QLineEdit>("Text2");
    auto* kind = r.child<QComboBox>("Combo1");
    EXPECT_EQ(kind->currentText(), QStringLiteral("当前行"));
    r.clickArrow(true);
    EXPECT_EQ(text->text(), "61");
    r.clickArrow(false);
    r.clickArrow(false);
    EXPECT_EQ(text->text(), "59");
    EXPECT_EQ(r.events, (QStringList { "spacing 2 610", "spacing 2 600", "spacing 2 590" }));

    // Typed digits do not reach the value box.
    text->setFocus();
    QTest::keyClicks(text, "123");
    EXPECT_EQ(text->text(), "59");

    r.events.clear();
    kind->activated(1); // the user picks "歌词行"
    r.clickArrow(true);
    QTest::keyClicks(kind->lineEdit(), "x");
    r.clickArrow(true);
    EXPECT_EQ(r.events, (QStringList { "spacing 1 600", "spacing -1 610" }));
    // Showing the ruler again chooses "当前行" once more.
    r.ruler->setShow(true);
    EXPECT_EQ(kind->currentText(), QStringLiteral("当前行"));

    r.events.clear();
    for (int i = 0; i < 100; ++i)
        r.clickArrow(true);
    EXPECT_EQ(text->text(), "150");
    EXPECT_EQ(r.events.size(), 150 - 61);
    for (int i = 0; i < 200; ++i)
        r.clickArrow(false);
    EXPECT_EQ(text->text(), "20");
    EXPECT_EQ(r.events.size(), 150 - 61 + 130);
}

TEST(MarginRulerWidget, TheCornerButtonsMenuReturnsToTheToolbarOrOpensTheHelp)
{
    Ruler r;
    auto* label = r.child<QLabel>("Label1");
    EXPECT_EQ(label->text(), QString(QChar(0x251B)));
    EXPECT_EQ(label->toolTip(), QStringLiteral("帮助及返回..."));
    QTest::mousePress(label, Qt::LeftButton);
    QMenu* menu = r.ruler->controlMenu();
    EXPECT_TRUE(menu->isVisible());
    const QList<QAction*> entries = menu->actions();
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries[0]->text(), QStringLiteral("返回主工具栏\tF2"));
    EXPECT_TRUE(entries[0]->shortcut().isEmpty()); // the window's F2 acts
    EXPECT_TRUE(entries[1]->isSeparator());
    EXPECT_EQ(entries[2]->text(), QStringLiteral("边距/行距操作说明"));
    entries[0]->trigger();
    entries[2]->trigger();
    EXPECT_EQ(r.events, (QStringList { "main", "help" }));
    menu->hide();
}

TEST(MarginRulerWidget, TheCornerIsGreyWhileTheScaleHasTheFocusAndSilverOtherwise)
{
    Ruler r;
    EXPECT_EQ(r.focusColour(), QColor(128, 128, 128));
    r.child<QComboBox>("Combo1")->setFocus();
    EXPECT_EQ(r.focusColour(), QColor(192, 192, 192));
    r.ruler->setFocus();
    EXPECT_EQ(r.focusColour(), QColor(128, 128, 128));
}

TEST(MarginRulerWidget, WhereTheControlsCoverThePagesZeroTheyStayOnTopAndKeysStillMoveThePin)
{
    Ruler r;
    r.ruler->setBcLeft(600); // a narrow window: the page starts under the chooser
    const QPointF covered = r.onPin(0);
    ASSERT_TRUE(r.child<QLineEdit>("Text2")->geometry().contains(covered.toPoint()));
    r.mouse(QEvent::MouseButtonPress, covered, Qt::LeftButton, Qt::LeftButton);
    EXPECT_TRUE(r.events.isEmpty());
    r.key(QEvent::KeyPress, Qt::Key_Right, Qt::ShiftModifier);
    r.key(QEvent::KeyRelease, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(r.events, (QStringList { "begin", "change 875 820", "over" }));
}

TEST(MarginRulerWidget, SettersOfStoredPropertiesSayWhichChanged)
{
    Ruler r;
    QSignalSpy changed(r.ruler, &MarginRuler::propertyChanged);
    r.ruler->setNLSpace(-1);
    r.ruler->setBcWidth_n(0);
    EXPECT_EQ(changed.count(), 0);
    r.ruler->setNLSpace(900);
    r.ruler->setBcTop(10);
    r.ruler->setShow(false);
    ASSERT_EQ(changed.count(), 2);
    EXPECT_EQ(changed[0][0].toString(), "nLSpace");
    EXPECT_EQ(changed[1][0].toString(), "bcTop");
    EXPECT_TRUE(r.events.isEmpty());
    EXPECT_EQ(r.ruler->WriteProperties().value("bcTop"), 10);
}

} // namespace
