#include "app/drums/bar_hint.h"
#include "app/drums/drum_record_mime.h"
#include "app/notation/drum_accessor.h"

#include <QMimeData>

#include <gtest/gtest.h>

namespace {

using namespace tunvale::drums;
using tunvale::notation::DrumAccessor;
using tunvale::notation::DrumStores;

// Bar 0 named "摇滚" in 2/4 at 96: track 0 on steps 0 and 4, track 1 off but set, track 2 on steps 2, 3
// and 7. Bar 1 has no name and no drums.
DrumStores twoBars()
{
    DrumStores stores;
    stores.XjDrums.resize(2);
    DrumAccessor drum(stores);
    drum.DrumType(DrumAccessor::XjDrums);
    drum.setDrumName(0, QStringLiteral("摇滚"));
    drum.setHaveDrum(0, 1);
    drum.setDrumTimeSignature(0, 1);
    drum.setDrumSpeed(0, 96);
    drum.setDrumChannel(0, 0, true);
    drum.setDrumChannel(0, 2, true);
    for (int step : { 0, 4 })
        drum.setDrumRhythms(0, step, 0, true);
    drum.setDrumRhythms(0, 1, 1, true);
    for (int step : { 2, 3, 7 })
        drum.setDrumRhythms(0, step, 2, true);
    return stores;
}

TEST(BarHint, ThePatternAsTextWithItsTimeAndSpeed)
{
    DrumStores stores = twoBars();
    EXPECT_EQ(DrumPatternText(stores.XjDrums[0]),
        QStringLiteral(
            "节拍：2/4\n节奏：*--- *--- \n\u3000\u3000\u3000--** ---* \n\u3000\u3000\u3000速度：96 拍/分"));
    // No track on: the pattern is empty; a signature with extra steps breaks after every fourth.
    DrumAccessor drum(stores);
    drum.DrumType(DrumAccessor::XjDrums);
    drum.setDrumChannel(0, 0, false);
    drum.setDrumChannel(0, 2, false);
    EXPECT_EQ(DrumPatternText(stores.XjDrums[0]), QStringLiteral("节拍：2/4\n节奏：速度：96 拍/分"));
    drum.setDrumChannel(0, 0, true);
    drum.setDrumTimeSignature(0, 9); // 1/4 +1: five steps
    EXPECT_EQ(DrumPatternText(stores.XjDrums[0]),
        QStringLiteral("节拍：1/4 +1\n节奏：*--- *\n\u3000\u3000\u3000速度：96 拍/分"));
}

TEST(BarHint, ShortHintsNameTheBarOrInviteAnEdit)
{
    DrumStores stores = twoBars();
    BarHints hints;
    EXPECT_EQ(hints.hintFor(stores.XjDrums, 0, true).toolTip, QStringLiteral("摇滚"));
    EXPECT_EQ(hints.hintFor(stores.XjDrums, 1, true).toolTip, QStringLiteral("双击编辑鼓点..."));
    const BarHint past = hints.hintFor(stores.XjDrums, 2, true);
    EXPECT_FALSE(past.toolTip);
    EXPECT_EQ(past.balloon, BarHint::Balloon::Unchanged);

    stores.XjDrums.clear();
    const BarHint none = hints.hintFor(stores.XjDrums, 0, true);
    EXPECT_FALSE(none.toolTip);
    EXPECT_EQ(stores.XjDrums.size(), 1u);
}

TEST(BarHint, TheBalloonIsFilledOncePerBarUntilForgotten)
{
    DrumStores stores = twoBars();
    BarHints hints;
    const BarHint first = hints.hintFor(stores.XjDrums, 0, false);
    EXPECT_EQ(first.toolTip, QString());
    ASSERT_EQ(first.balloon, BarHint::Balloon::Filled);
    EXPECT_EQ(first.filled.title, QStringLiteral("摇滚"));
    EXPECT_EQ(first.filled.text, DrumPatternText(stores.XjDrums[0]));
    EXPECT_EQ(first.filled.foreColor, 0xFFFFFF);
    EXPECT_EQ(first.filled.backColor, 0);
    EXPECT_EQ(first.filled.icon, 1);
    EXPECT_EQ(first.filled.showMode, 1);

    EXPECT_EQ(hints.hintFor(stores.XjDrums, 0, false).balloon, BarHint::Balloon::Unchanged);
    EXPECT_EQ(hints.hintFor(stores.XjDrums, 1, false).balloon, BarHint::Balloon::Default); // no name
    EXPECT_EQ(hints.hintFor(stores.XjDrums, 5, false).balloon, BarHint::Balloon::Default); // past the end
    EXPECT_EQ(hints.LastTipBar, 5);
    EXPECT_EQ(hints.hintFor(stores.XjDrums, 0, false).balloon, BarHint::Balloon::Filled);
    hints.forget();
    EXPECT_EQ(hints.hintFor(stores.XjDrums, 0, false).balloon, BarHint::Balloon::Filled);
}

TEST(DrumRecordMime, CarriesExactlyOneRecord)
{
    DrumStores stores = twoBars();
    QMimeData data;
    data.setData(DrumRecordMimeType, DrumRecordBytes(stores.XjDrums[0]));
    const auto record = DrumRecordFromMime(&data);
    ASSERT_TRUE(record);
    EXPECT_EQ(*record, stores.XjDrums[0]);
    for (int length : { 0, 102, 104, 206 }) {
        data.setData(DrumRecordMimeType, QByteArray(length, '\1'));
        EXPECT_FALSE(DrumRecordFromMime(&data)) << length;
    }
    QMimeData text;
    text.setText(QStringLiteral("鼓"));
    EXPECT_FALSE(DrumRecordFromMime(&text));
    EXPECT_FALSE(DrumRecordFromMime(nullptr));
}

} // namespace
