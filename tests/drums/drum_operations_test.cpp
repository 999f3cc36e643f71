#include "app/drums/drum_operations.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace tunvale::drums;
using tunvale::notation::DrumRecord;
using tunvale::notation::DrumStore;
using tunvale::notation::DrumStores;

// A record told apart by its first name byte, with the given flag byte and a busy pattern.
DrumRecord record(char id, int have)
{
    DrumRecord r;
    r.DrumName[0] = std::uint8_t(id);
    r.HaveDrum = std::uint8_t(have);
    r.DrumRhythms[3] = 0x5A;
    return r;
}

// The store written as id and flag per record: "a1 b0 c1".
std::string describe(const DrumStore& records)
{
    std::string out;
    for (const DrumRecord& r : records) {
        if (!out.empty())
            out += ' ';
        out += r.DrumName[0] ? char(r.DrumName[0]) : '_';
        out += char('0' + r.HaveDrum);
    }
    return out;
}

DrumStore store(const std::string& text)
{
    DrumStore records;
    for (std::size_t i = 0; i + 1 < text.size(); i += 3)
        records.push_back(text[i] == '_' ? DrumRecord {} : record(text[i], text[i + 1] - '0'));
    return records;
}

TEST(DrumOperation, EveryCodeOnASmallStore)
{
    // The clip comes from a bar without drums: whole-record pastes keep its flag, single-bar pastes
    // switch drums on.
    const DrumRecord clip = record('C', 0);
    struct Case {
        int code;
        int bar, first, last;
        const char* after;
    };
    for (const Case& c : {
             Case { 0, 1, 0, 0, "a1 C1 c1 d0" },
             Case { 1, 3, 0, 0, "a1 b0 c1 C1" },
             Case { 2, 0, 0, 0, "a0 b0 c1 d0" },
             Case { 3, 2, 0, 0, "a1 b0 C1 d0" },
             Case { 4, 0, 0, 0, "a1 b0 C1 d0" }, // at the caret's bar, 2
             Case { 5, 0, 0, 0, "a0 b0 c0 d0" },
             Case { 6, 0, 0, 0, "C0 C0 C0 C0" },
             Case { 7, 0, 2, 1, "a1 C0 C0 d0" }, // backwards: min to max
             Case { 8, 0, 3, 2, "a1 b0 c0 d0" },
             Case { 7, 0, 2, 9, "a1 b0 C0 C0" }, // a stale range keeps to the bars that exist
             Case { 8, 0, -1, 1, "a0 b0 c1 d0" },
             Case { 9, 1, 0, 3, "a1 b0 c1 d0" }, // unknown: nothing
             Case { 2, 7, 0, 0, "a1 b0 c1 d0" }, // a bar without a record: nothing
             Case { 1, -1, 0, 0, "a1 b0 c1 d0" },
         }) {
        DrumStore records = store("a1 b0 c1 d0");
        ApplyDrumOperation(records, clip, { DrumOp(c.code), c.bar, c.first, c.last }, 2);
        EXPECT_EQ(describe(records), c.after) << "code " << c.code;
    }
    DrumStore records = store("a1 b0");
    ApplyDrumOperation(records, clip, { DrumOp::FromMenu, 0, 0, 0 }, 5);
    EXPECT_EQ(describe(records), "a1 b0");
}

TEST(DrumOperation, StripFlagsAreExactlyOneAndAnEmptyStoreGetsARecord)
{
    DrumStore records = store("a1 b0 c2 dF");
    EXPECT_EQ(StripFlags(records), (std::vector<bool> { true, false, false, false }));
    DrumStore empty;
    EXPECT_EQ(StripFlags(empty), std::vector<bool> { false });
    EXPECT_EQ(empty.size(), 1u);
}

TEST(ShiftRecordsForBars, InAndBeyondTheStore)
{
    struct Case {
        int delAt, delN, addAt, addN;
        const char* after;
    };
    for (const Case& c : {
             Case { 1, 2, 1, 0, "a1 d1" },
             Case { -1, 1, 0, 0, "b1 c1 d1" }, // -1 deletes from the start
             Case { -2, 1, 0, 0, "a1 b1 c1 d1" }, // below -1 deletes nothing
             Case { 3, 3, 3, 0, "a1 b1 c1" }, // a delete past the end is held to the store
             Case { 9, 1, 0, 0, "a1 b1 c1 d1" },
             // Added bars keep the bytes the move left and lose their drums; beyond the old end
             // they are empty.
             Case { 1, 0, 1, 2, "a1 b0 c0 b1 c1 d1" },
             Case { 0, 0, 3, 2, "a1 b1 c1 d0 _0 d1" },
             Case { 0, 0, 4, 2, "a1 b1 c1 d1 _0 _0" },
             Case { 0, 0, 9, 1, "a1 b1 c1 d1 _0" },
             Case { 1, 1, 1, 3, "a1 c0 d0 _0 c1 d1" },
             // Deleting every bar: the added ones fresh, or the old records when none are added.
             Case { 0, 4, 0, 2, "_0 _0" },
             Case { 0, 4, 0, 0, "a1 b1 c1 d1" },
             Case { 0, 6, 0, 3, "_0" },
         }) {
        DrumStore records = store("a1 b1 c1 d1");
        ShiftRecordsForBars(records, c.delAt, c.delN, c.addAt, c.addN);
        EXPECT_EQ(describe(records), c.after) << c.delAt << " " << c.delN << " " << c.addAt << " " << c.addN;
    }
}

class FakeWindow : public DrumWindow
{
public:
    void RefreshDrumSlider(int bar) override { shown.push_back(bar); }
    void markScoreModified() override { ++modified; }
    void playStepClick() override { ++clicks; }
    int barCount() const override { return bars; }

    std::vector<int> shown;
    int modified = 0;
    int clicks = 0;
    int bars = 4;
};

struct Steps {
    DrumStores stores;
    FakeWindow window;
    DrumOperations ops { stores, window };

    Steps() { stores.XjDrums = store("a1 b0 c1 d0"); }
    void apply(DrumOp code, int bar)
    {
        ops.pending = { code, bar, 0, 0 };
        ops.drumStepChanged(bar, 0);
    }
    std::string records() const { return describe(stores.XjDrums); }
};

TEST(DrumOperations, UndoAndRedoShowTheBarOfTheOperationStillInForce)
{
    Steps s;
    s.apply(DrumOp::Delete, 0);
    s.apply(DrumOp::Delete, 2);
    EXPECT_EQ(s.records(), "a0 b0 c0 d0");
    s.ops.drumStepChanged(2, -1);
    EXPECT_EQ(s.records(), "a0 b0 c1 d0");
    EXPECT_EQ(s.window.shown.back(), 0);
    s.ops.drumStepChanged(0, -1);
    EXPECT_EQ(s.records(), "a1 b0 c1 d0");
    EXPECT_EQ(s.window.shown.back(), 0); // none left
    s.ops.drumStepChanged(0, 1);
    EXPECT_EQ(s.records(), "a0 b0 c1 d0");
    EXPECT_EQ(s.window.shown.back(), 0);
    s.ops.drumStepChanged(0, 1);
    EXPECT_EQ(s.records(), "a0 b0 c0 d0");
    EXPECT_EQ(s.window.shown.back(), 2);
    // Every step marked the score modified and clicked.
    EXPECT_EQ(s.window.modified, 6);
    EXPECT_EQ(s.window.clicks, 6);
}

TEST(DrumOperations, FirstOperationUndoneShowsBarZeroAndRedoneShowsItsBar)
{
    Steps s;
    s.apply(DrumOp::Delete, 2);
    s.ops.drumStepChanged(2, -1);
    EXPECT_EQ(s.window.shown.back(), 0);
    s.ops.drumStepChanged(0, 1);
    EXPECT_EQ(s.window.shown.back(), 2);
    EXPECT_EQ(s.records(), "a1 b0 c0 d0");
}

TEST(DrumOperations, ANewOperationAfterUndoEndsRedo)
{
    Steps s;
    s.apply(DrumOp::Delete, 0);
    s.apply(DrumOp::Delete, 2);
    s.ops.drumStepChanged(0, -1);
    s.ops.drumStepChanged(0, -1);
    s.apply(DrumOp::Paste, 1);
    EXPECT_TRUE(s.ops.DrumRedoBars().empty());
    EXPECT_TRUE(s.ops.stack().next() > s.ops.stack().top());
    const std::string after = s.records();
    s.ops.drumStepChanged(1, 1); // nothing to redo
    EXPECT_EQ(s.records(), after);
    s.ops.drumStepChanged(1, -1);
    EXPECT_EQ(s.records(), "a1 b0 c1 d0");
}

TEST(DrumOperations, BarChangesShareTheStackAndKeepOneRecordPerBar)
{
    Steps s;
    s.apply(DrumOp::Delete, 0);
    // The engine guessed one added bar where two came.
    s.window.bars = 6;
    s.ops.barsChanged(1, 0, 1, 1, 2, 0);
    EXPECT_EQ(s.records(), "a0 b0 b0 c1 d0 _0");
    EXPECT_EQ(s.window.shown.back(), 2);
    s.ops.barsChanged(0, 0, 0, 0, 0, -1);
    EXPECT_EQ(s.records(), "a0 b0 c1 d0");
    s.ops.drumStepChanged(0, -1);
    EXPECT_EQ(s.records(), "a1 b0 c1 d0");
    s.ops.drumStepChanged(0, 1);
    s.ops.barsChanged(0, 0, 0, 0, 0, 1);
    EXPECT_EQ(s.records(), "a0 b0 b0 c1 d0 _0");
    // A drum step on an empty store still pushes, so its undo pairs with it.
    s.stores.XjDrums.clear();
    s.apply(DrumOp::Paste, 0);
    s.ops.drumStepChanged(0, -1);
    EXPECT_TRUE(s.stores.XjDrums.empty());
    s.ops.barsChanged(0, 0, 0, 0, 0, -1);
    EXPECT_EQ(s.records(), "a0 b0 c1 d0");
}

TEST(DrumUndoStack, GrowsByEightPastThirtyTwoAndFortySnapshots)
{
    DrumUndoStack stack;
    DrumStore records = store("a0");
    EXPECT_EQ(stack.capacity(), 31);
    for (int i = 0; i < 41; ++i) {
        stack.push(records);
        records[0].HaveDrum = std::uint8_t(i + 1);
        if (i == 31)
            EXPECT_EQ(stack.capacity(), 31);
        if (i == 32)
            EXPECT_EQ(stack.capacity(), 39);
    }
    EXPECT_EQ(stack.capacity(), 47);
    for (int i = 41; i > 0; --i) {
        EXPECT_FALSE(stack.undo(records));
        EXPECT_EQ(records[0].HaveDrum, i - 1);
    }
    EXPECT_TRUE(stack.undo(records));
    for (int i = 1; i <= 41; ++i) {
        EXPECT_FALSE(stack.redo(records));
        EXPECT_EQ(records[0].HaveDrum, i);
    }
    EXPECT_TRUE(stack.redo(records));
    stack.clear();
    EXPECT_TRUE(stack.undo(records));
    EXPECT_EQ(stack.capacity(), 31);
}

} // namespace
