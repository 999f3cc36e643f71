#include "app/drums/bar_strip.h"
#include "app/drums/drum_record_mime.h"
#include "tests/support/scripted_prompts.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using namespace tunvale::drums;
using tunvale::platform::PromptAnswer;
using tunvale::testing::ScopedPrompts;

// A strip of 6 bars (drums on bars 1 and 4), bar 0 current, wide enough for all of them.
struct Strip {
    BarStrip strip;
    ScopedPrompts prompts;

    Strip()
    {
        strip.resize(int(9000 / strip.twipsPerPixel()), strip.height());
        strip.show();
        strip.GetValueLong({ false, true, false, false, true, false }, 0);
    }
    QPoint at(int bar) const { return strip.labelCentre(strip.labelOfBar(bar)); }
    QPoint pastTheEnd() const { return strip.labelCentre(6); }
    void click(int bar, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers keys = {})
    {
        QTest::mouseClick(&strip, button, keys, at(bar));
    }
    void moveTo(QPoint at)
    {
        QMouseEvent move(QEvent::MouseMove, at, strip.mapToGlobal(at), Qt::NoButton, Qt::NoButton, {});
        QApplication::sendEvent(&strip, &move);
    }
    QAction* item(const char* name) const { return strip.findChild<QAction*>(QString::fromLatin1(name)); }
    // Right-clicks the bar and picks a menu item as the user would.
    void menu(int bar, const char* name)
    {
        click(bar, Qt::RightButton);
        ASSERT_TRUE(strip.ABC->isVisible());
        item(name)->trigger();
        strip.ABC->hide();
    }
};

TEST(BarStrip, ClicksPickTheBarAndCtrlOrShiftSetTheMarks)
{
    Strip s;
    QSignalSpy click(&s.strip, &BarStrip::XjClick);
    QSignalSpy down(&s.strip, &BarStrip::XjMouseDown);
    QSignalSpy section(&s.strip, &BarStrip::DrumSection);
    QSignalSpy edit(&s.strip, &BarStrip::SendEdit);

    s.click(3);
    ASSERT_EQ(click.size(), 1);
    EXPECT_EQ(click[0][0].toInt(), 3);
    EXPECT_EQ(down.last()[0].toInt(), 3);
    EXPECT_EQ(down.last()[1].toInt(), 1);
    // The pointer waits on the label for the window to set the bar.
    EXPECT_EQ(s.strip.MyXj(), 0);
    EXPECT_DOUBLE_EQ(s.strip.geometry().pointer().left, s.strip.geometry().labels()[3].left);

    s.click(2, Qt::LeftButton, Qt::ControlModifier);
    s.click(4, Qt::RightButton, Qt::ControlModifier);
    s.click(5, Qt::MiddleButton, Qt::ControlModifier); // redraws and tells the marks again
    ASSERT_EQ(section.size(), 3);
    EXPECT_EQ(section[1], (QList<QVariant> { 2, 4 }));
    EXPECT_EQ(section[2], (QList<QVariant> { 2, 4 }));
    EXPECT_FALSE(s.strip.ABC->isVisible());
    EXPECT_EQ(s.strip.geometry().labels()[4].look, LabelLook::MarkDrum);
    s.click(1, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(section.last(), (QList<QVariant> { -1, -1 }));
    s.click(1, Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier); // nothing
    EXPECT_EQ(section.size(), 4);
    EXPECT_EQ(click.size(), 1);

    QTest::mouseDClick(&s.strip, Qt::LeftButton, {}, s.at(4));
    ASSERT_EQ(edit.size(), 1);
    EXPECT_EQ(edit[0][0].toInt(), 4);
}

TEST(BarStrip, PressesWhilePlayingOrPastTheEndDoNothingButMovesAreTold)
{
    Strip s;
    QSignalSpy click(&s.strip, &BarStrip::XjClick);
    QSignalSpy down(&s.strip, &BarStrip::XjMouseDown);
    QSignalSpy section(&s.strip, &BarStrip::DrumSection);
    QSignalSpy edit(&s.strip, &BarStrip::SendEdit);
    QSignalSpy onXj(&s.strip, &BarStrip::SetOnXj);
    QSignalSpy move(&s.strip, &BarStrip::XjMouseMove);

    QTest::mouseClick(&s.strip, Qt::LeftButton, {}, s.pastTheEnd());
    QTest::mouseClick(&s.strip, Qt::RightButton, {}, s.pastTheEnd());
    QTest::mouseDClick(&s.strip, Qt::LeftButton, {}, s.pastTheEnd());
    EXPECT_FALSE(s.strip.ABC->isVisible());

    s.strip.setIsPlaying(true);
    s.click(2);
    s.click(2, Qt::RightButton);
    s.click(2, Qt::LeftButton, Qt::ControlModifier);
    QTest::mouseDClick(&s.strip, Qt::LeftButton, {}, s.at(2));
    QTest::mouseClick(&s.strip, Qt::LeftButton, {}, s.strip.arrowCentre(Arrow::Right));
    QTest::mouseClick(&s.strip, Qt::RightButton, {}, s.strip.arrowCentre(Arrow::Right));
    EXPECT_FALSE(s.strip.ABC->isVisible());
    EXPECT_FALSE(s.strip.CDE->isVisible());
    EXPECT_TRUE(click.isEmpty());
    EXPECT_TRUE(down.isEmpty());
    EXPECT_TRUE(section.isEmpty());
    EXPECT_TRUE(edit.isEmpty());
    EXPECT_TRUE(onXj.isEmpty());

    s.moveTo(s.at(2));
    s.moveTo(s.pastTheEnd());
    ASSERT_GE(move.size(), 2);
    EXPECT_EQ(move.last()[0].toInt(), 6);
}

TEST(BarStrip, TheBarMenuCopiesPastesAndDeletes)
{
    Strip s;
    s.click(0, Qt::RightButton);
    EXPECT_FALSE(s.item("D_CDrum")->isEnabled()); // bar 0 has no drums
    EXPECT_FALSE(s.item("D_PDrum")->isEnabled()); // nothing copied yet
    EXPECT_FALSE(s.item("DelDrum")->isEnabled());
    EXPECT_FALSE(s.item("ClsPlay12")->isEnabled());
    s.strip.ABC->hide();

    QSignalSpy copy(&s.strip, &BarStrip::CopyDrum);
    QSignalSpy paste(&s.strip, &BarStrip::PestDrum);
    QSignalSpy remove(&s.strip, &BarStrip::DelaDrum);
    QSignalSpy edit(&s.strip, &BarStrip::SendEdit);
    QSignalSpy shortHints(&s.strip, &BarStrip::SetShowBiaoTi);
    s.menu(1, "D_CDrum");
    s.menu(2, "D_PDrum");
    s.menu(4, "DelDrum");
    s.menu(5, "SendtoE");
    s.menu(5, "TooTal");
    EXPECT_EQ(copy[0][0].toInt(), 1);
    EXPECT_EQ(paste[0][0].toInt(), 2);
    EXPECT_EQ(remove[0][0].toInt(), 4);
    EXPECT_EQ(edit[0][0].toInt(), 5);
    EXPECT_EQ(shortHints.size(), 1);
    EXPECT_FALSE(s.item("TooTal")->isChecked());
    EXPECT_EQ(s.strip.geometry().labels()[2].look, LabelLook::Drum);
    EXPECT_EQ(s.strip.geometry().labels()[4].look, LabelLook::Plain);

    // Range items need a start and an end past bar 0.
    s.click(0, Qt::RightButton, Qt::ControlModifier);
    s.click(0, Qt::RightButton);
    EXPECT_FALSE(s.item("D_PDrumSection")->isEnabled());
    EXPECT_FALSE(s.item("DelSection")->isEnabled());
    EXPECT_TRUE(s.item("ClsPlay12")->isEnabled());
    s.strip.ABC->hide();
    s.click(1, Qt::LeftButton, Qt::ControlModifier);
    s.click(3, Qt::RightButton, Qt::ControlModifier);
    QSignalSpy pasteRange(&s.strip, &BarStrip::PestDrumSection);
    s.menu(3, "D_PDrumSection");
    ASSERT_EQ(pasteRange.size(), 1);
    EXPECT_EQ(pasteRange[0], (QList<QVariant> { 1, 3 }));
}

TEST(BarStrip, BothQuestionsAndWhatEachAnswerDoes)
{
    Strip s;
    QSignalSpy range(&s.strip, &BarStrip::DellDrumSection);
    QSignalSpy all(&s.strip, &BarStrip::DelAllDrum);
    // Marks given backwards: the strip clears min to max.
    s.click(4, Qt::LeftButton, Qt::ControlModifier);
    s.click(1, Qt::RightButton, Qt::ControlModifier);

    s.prompts->answers = { PromptAnswer::No, PromptAnswer::Yes, PromptAnswer::No, PromptAnswer::Yes };
    s.menu(2, "DelSection");
    EXPECT_TRUE(range.isEmpty());
    EXPECT_EQ(s.strip.geometry().flags()[1], true);
    s.menu(2, "DelSection");
    ASSERT_EQ(range.size(), 1);
    EXPECT_EQ(range[0], (QList<QVariant> { 4, 1 }));
    EXPECT_EQ(s.strip.geometry().flags(), (std::vector<bool>(6, false)));

    s.strip.GetValueLong({ true, true, false, false, true, false }, 0);
    s.menu(2, "DelAll");
    EXPECT_TRUE(all.isEmpty());
    EXPECT_EQ(s.strip.geometry().flags()[0], true);
    s.menu(2, "DelAll");
    EXPECT_EQ(all.size(), 1);
    EXPECT_EQ(s.strip.geometry().flags(), (std::vector<bool>(6, false)));
    EXPECT_EQ(s.strip.geometry().labels()[0].look, LabelLook::Plain);
    EXPECT_EQ(s.prompts->texts(),
        (QStringList { "要清空简谱区间鼓点？", "要清空简谱区间鼓点？", "要清空简谱所有鼓点？",
            "要清空简谱所有鼓点？" }));
    EXPECT_EQ(s.prompts->shown[0].icon, tunvale::platform::PromptIcon::Question);
}

TEST(BarStrip, OnlyARecordOnAnExistingBarIsDropped)
{
    qRegisterMetaType<const QMimeData*>();
    Strip s;
    QSignalSpy dropped(&s.strip, &BarStrip::OLEDragDrop);
    auto drop = [&s](QPoint at, const QByteArray& bytes) {
        QMimeData data;
        data.setData(DrumRecordMimeType, bytes);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(&s.strip, &enter);
        QDropEvent event(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(&s.strip, &event);
        return event.isAccepted();
    };
    const QByteArray record = DrumRecordBytes(tunvale::notation::DrumRecord {});
    EXPECT_TRUE(drop(s.at(3), record));
    EXPECT_FALSE(drop(s.at(3), record.left(102)));
    EXPECT_FALSE(drop(s.pastTheEnd(), record));
    ASSERT_EQ(dropped.size(), 1);
    EXPECT_EQ(dropped[0][0].toInt(), 3);
}

TEST(BarStrip, ArrowsStepTheBarAndTheMenuGoesToEitherEnd)
{
    Strip s;
    QSignalSpy onXj(&s.strip, &BarStrip::SetOnXj);
    QSignalSpy click(&s.strip, &BarStrip::XjClick);
    QTest::mousePress(&s.strip, Qt::LeftButton, {}, s.strip.arrowCentre(Arrow::Right));
    EXPECT_TRUE(s.strip.Timer1.isActive());
    // Three ticks of the held arrow.
    QElapsedTimer held;
    held.start();
    while (onXj.size() < 4 && held.elapsed() < 5000)
        QTest::qWait(10);
    QTest::mouseRelease(&s.strip, Qt::LeftButton, {}, s.strip.arrowCentre(Arrow::Right));
    EXPECT_FALSE(s.strip.Timer1.isActive());
    // Three bars, one near the end, then held at the last bar with a beep.
    ASSERT_EQ(onXj.size(), 4);
    EXPECT_EQ(onXj[0][0].toInt(), 3);
    EXPECT_EQ(onXj[1][0].toInt(), 4);
    EXPECT_EQ(onXj[2][0].toInt(), 5);
    EXPECT_EQ(onXj[3][0].toInt(), 5);
    EXPECT_EQ(s.prompts->beeps, 1);

    QTest::mouseClick(&s.strip, Qt::RightButton, {}, s.strip.arrowCentre(Arrow::Left));
    ASSERT_TRUE(s.strip.CDE->isVisible());
    s.item("SetSpeed")->trigger();
    EXPECT_EQ(s.strip.Timer1.interval(), 400);
    EXPECT_EQ(s.item("SetSpeed")->text(), QStringLiteral("快速"));
    s.item("ToRight")->trigger();
    s.item("ToLeft")->trigger();
    s.strip.CDE->hide();
    EXPECT_EQ(click.size(), 2);
    EXPECT_EQ(click[0][0].toInt(), 5);
    EXPECT_EQ(click[1][0].toInt(), 0);
}

TEST(BarStrip, DraggingThePointerSetsTheBarItIsLetGoOn)
{
    Strip s;
    QSignalSpy onXj(&s.strip, &BarStrip::SetOnXj);
    const QPoint start = s.strip.pointerCentre();
    // The pointer goes 450 twips right and the row as far left: the pointer rests on bar 1.
    const QPoint to = start + QPoint(int(std::lround(450 / s.strip.twipsPerPixel())), 0);
    QTest::mousePress(&s.strip, Qt::LeftButton, {}, start);
    QMouseEvent move(QEvent::MouseMove, to, s.strip.mapToGlobal(to), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(&s.strip, &move);
    QTest::mouseRelease(&s.strip, Qt::LeftButton, {}, to);
    ASSERT_EQ(onXj.size(), 1);
    EXPECT_EQ(onXj[0][0].toInt(), 1);
    EXPECT_EQ(s.strip.MyXj(), 1);
}

} // namespace
