#include "app/drums/bar_strip.h"
#include "app/drums/drum_record_mime.h"
#include "app/editor/actions/menu_items.h"
#include "app/editor/parts/main_form_drums.h"
#include "app/editor/parts/main_form_editing.h"
#include "app/editor/parts/main_form_playback.h"
#include "app/editor/parts/main_form_score_files.h"
#include "app/editor/window/main_form.h"
#include "app/editor/window/status_panels.h"
#include "app/frame/process_state.h"
#include "app/frame/write_vls.h"
#include "app/notation/drum_accessor.h"
#include "app/notation/drum_data.h"
#include "app/notation/play_order.h"
#include "platform/richtext/rich_text_edit.h"
#include "tests/editing/score_builder.h"
#include "tests/editor/window_fixture.h"
#include "tests/support/fake_devices.h"
#include "tests/tools/bar_line_edits.h"

#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>

#include <hint_balloon.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace tunvale;
using drums::BarStrip;
using drums::DrumOp;
using editor::MainFormDrums;
using notation::DrumRecord;
using notation::DrumStore;
using platform::PromptAnswer;

namespace {

notation::DrumStores& stores() { return notation::ProcessDrumStores(); }

// The sample score of nine bars, the first eight with drums, in a window of 1280 x 900 with the strip
// shown.
class StripWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto devices = std::make_unique<tunvale::testing::FakeDevices>();
        sound = devices->builtInRecording;
        editor::MainFormServices services;
        services.midiDevices = std::move(devices);
        frame::Process().ScoreHeader.CurrentFile = window.sampleScore();
        window.form = std::make_unique<editor::MainForm>(std::move(services));
        ASSERT_TRUE(window.form->load());
        form = window.form.get();
        if (!form->action(QStringLiteral("GroupBar"), 0)->isChecked())
            form->action(QStringLiteral("GroupBar"), 0)->trigger();
        form->resize(1280, 900);
        form->show();
        QCoreApplication::processEvents();
        strip = &form->barStrip();
        drums = &form->part<MainFormDrums>();
        undo = &form->part<editor::MainFormEditing>().undo();
    }
    void TearDown() override
    {
        frame::Process().ScoreHeader.ScoreSaved = true;
        form->hide();
    }

    QPoint at(int bar) const { return strip->labelCentre(strip->labelOfBar(bar)); }
    void click(int bar, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers keys = {})
    {
        QTest::mouseClick(strip, button, keys, at(bar));
    }
    // Picks an item of the bar menu of `bar`; false when the menu did not open or the item is off.
    bool menu(int bar, const char* name)
    {
        click(bar, Qt::RightButton);
        const bool opened = strip->ABC->isVisible();
        strip->ABC->hide();
        QAction* item = strip->findChild<QAction*>(QString::fromLatin1(name));
        if (!opened || !item->isEnabled())
            return false;
        item->trigger();
        return true;
    }
    bool drop(int bar, const QByteArray& bytes)
    {
        QMimeData data;
        data.setData(drums::DrumRecordMimeType, bytes);
        QDragEnterEvent enter(at(bar), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(strip, &enter);
        QDropEvent event(at(bar), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(strip, &event);
        return event.isAccepted();
    }
    static std::string flags()
    {
        std::string out;
        for (const DrumRecord& r : stores().XjDrums)
            out += r.HaveDrum == 1 ? '1' : '0';
        return out;
    }
    QString panel(editor::StatusPanel which) const { return form->statusPanels().panelText(which); }

    tunvale::testing::WindowTest window;
    std::shared_ptr<platform::MidiRecording> sound;
    editor::MainForm* form = nullptr;
    BarStrip* strip = nullptr;
    MainFormDrums* drums = nullptr;
    editor::UndoEngine* undo = nullptr;
};

TEST_F(StripWindow, EveryStripChangeIsOneUndoStepThatComesBackByteForByte)
{
    const DrumStore loaded = stores().XjDrums;
    ASSERT_EQ(flags(), "111111110");
    struct Case {
        const char* name;
        std::function<void()> act;
        const char* after;
    };
    const std::vector<Case> cases = {
        { "delete", [&] { ASSERT_TRUE(menu(2, "DelDrum")); }, "110111110" },
        { "copy a plain bar, paste on one",
            [&] {
                ASSERT_TRUE(menu(2, "DelDrum"));
                ASSERT_TRUE(menu(1, "D_CDrum"));
                ASSERT_TRUE(menu(8, "D_PDrum"));
            },
            "110111111" },
        { "delete all, yes",
            [&] {
                window.prompts->answers = { PromptAnswer::Yes };
                ASSERT_TRUE(menu(0, "DelAll"));
            },
            "000000000" },
        { "delete a range given backwards, yes",
            [&] {
                click(6, Qt::LeftButton, Qt::ControlModifier);
                click(3, Qt::RightButton, Qt::ControlModifier);
                window.prompts->answers = { PromptAnswer::Yes };
                ASSERT_TRUE(menu(0, "DelSection"));
            },
            "111000010" },
        { "copy bar 2, paste into all",
            [&] {
                EXPECT_FALSE(menu(8, "D_CDrum")); // a bar without drums has nothing to copy
                ASSERT_TRUE(menu(2, "D_CDrum"));
                ASSERT_TRUE(menu(3, "D_PDrumAll"));
            },
            "111111111" },
        { "drop a template", [&] { ASSERT_TRUE(drop(8, drums::DrumRecordBytes(stores().DrumTemplates[4]))); },
            "111111111" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int steps = undo->getUndoCount();
        sound->clear();
        c.act();
        EXPECT_EQ(flags(), c.after);
        // Each step clicks a side-stick on the drum channel.
        const std::vector<platform::ShortMessage> sent = sound->shortMessages();
        EXPECT_TRUE(std::any_of(sent.begin(), sent.end(), [](const platform::ShortMessage& m) {
            return m.status == 0x99 && m.data1 == 37 && m.data2 > 0;
        }));
        frame::Process().ScoreHeader.ScoreSaved = true;
        form->action(QStringLiteral("mnuUnDo"))->trigger();
        if (std::string(c.name).starts_with("copy")) // delete, then paste: two steps
            form->action(QStringLiteral("mnuUnDo"))->trigger();
        EXPECT_EQ(undo->getUndoCount(), steps);
        EXPECT_TRUE(stores().XjDrums == loaded);
        EXPECT_FALSE(frame::Process().ScoreHeader.ScoreSaved);
        click(0, Qt::LeftButton, Qt::ShiftModifier);
    }
    // The dropped record is the template itself, not a list index.
    ASSERT_TRUE(drop(8, drums::DrumRecordBytes(stores().DrumTemplates[4])));
    DrumRecord expected = stores().DrumTemplates[4];
    expected.HaveDrum = 1;
    EXPECT_TRUE(stores().XjDrums[8] == expected);
    EXPECT_FALSE(drop(7, drums::DrumRecordBytes(expected).left(102)));
}

// A drum step changes no text: its undo and redo leave the caret, the selection and the view as they
// are.
TEST_F(StripWindow, UndoingADrumPasteKeepsTheCaretTheSelectionAndTheView)
{
    // Lyric lines behind the notation make the score taller than the view.
    platform::RichTextBox& editor = form->editor();
    editor.setSelStart(editor.TextLength());
    editor.setSelText(QStringLiteral("\r\nla").repeated(80));
    undo->Reset();
    QCoreApplication::processEvents();
    QScrollBar* scroll = form->editorView()->verticalScrollBar();
    ASSERT_GT(scroll->maximum(), 0);
    editor.select(editor.TextLength() / 2, 3);
    scroll->setValue(scroll->maximum() / 3);
    const int start = editor.SelStart();
    const int view = scroll->value();
    emit strip->CopyDrum(1);
    emit strip->PestDrum(8);
    ASSERT_EQ(flags(), "111111111");
    for (const char* item : { "mnuUnDo", "mnuRedo", "mnuUnDo" }) {
        SCOPED_TRACE(item);
        form->action(QString::fromLatin1(item))->trigger();
        QCoreApplication::processEvents();
        EXPECT_EQ(editor.SelStart(), start);
        EXPECT_EQ(editor.SelLength(), 3);
        EXPECT_EQ(scroll->value(), view);
    }
    EXPECT_EQ(flags(), "111111110");
}

TEST_F(StripWindow, QuestionsAnsweredNoChangeNothing)
{
    click(2, Qt::LeftButton, Qt::ControlModifier);
    click(5, Qt::RightButton, Qt::ControlModifier);
    window.prompts->answers = { PromptAnswer::No, PromptAnswer::No };
    ASSERT_TRUE(menu(0, "DelSection"));
    ASSERT_TRUE(menu(0, "DelAll"));
    EXPECT_EQ(flags(), "111111110");
    EXPECT_FALSE(undo->canUndo());
    EXPECT_EQ(window.prompts->texts(), (QStringList { "要清空简谱区间鼓点？", "要清空简谱所有鼓点？" }));
}

TEST_F(StripWindow, ClicksMoveTheCaretAndMarksShowInPanelSix)
{
    click(3);
    EXPECT_EQ(undo->OnXj(), 3);
    EXPECT_EQ(strip->MyXj(), 3);
    EXPECT_EQ(panel(editor::StatusPanel::Bar), QStringLiteral("小节：4/9"));

    click(5, Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(panel(editor::StatusPanel::DrumRange), QStringLiteral("鼓点选择:6"));
    click(2, Qt::RightButton, Qt::ControlModifier);
    EXPECT_EQ(panel(editor::StatusPanel::DrumRange), QStringLiteral("鼓点选择:6-3"));
    click(2, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(panel(editor::StatusPanel::DrumRange), QStringLiteral("鼓点选择:0"));
    click(4, Qt::RightButton, Qt::ControlModifier); // only the end: the panel keeps its text
    EXPECT_EQ(panel(editor::StatusPanel::DrumRange), QStringLiteral("鼓点选择:0"));
    EXPECT_FALSE(undo->canUndo());
}

TEST_F(StripWindow, ADoubleClickHandsTheBarToTheDrumEditor)
{
    int opened = 0;
    QTest::mouseDClick(strip, Qt::LeftButton, {}, at(4));
    EXPECT_EQ(drums->operations().EditedBar, 4);
    EXPECT_TRUE(stores().DrumEdit == stores().XjDrums[4]);
    EXPECT_TRUE(form->menus().isBuilt(QStringLiteral("instrDrum")));

    drums->setDrumEditor([&opened] {
        ++opened;
        return true;
    });
    QTest::mouseDClick(strip, Qt::LeftButton, {}, at(2));
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(drums->operations().EditedBar, 2);
    // The Edit menu's item takes the caret's bar; a bar without a record changes nothing.
    undo->setOnXj(6);
    form->action(QStringLiteral("instrDrum"))->trigger();
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(drums->operations().EditedBar, 6);
    stores().XjDrums.resize(5);
    form->action(QStringLiteral("instrDrum"))->trigger();
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(drums->operations().EditedBar, 6);
}

TEST_F(StripWindow, PressesWhilePlayingOrPastTheEndDoNothing)
{
    strip->setIsPlaying(true);
    click(4);
    click(4, Qt::LeftButton, Qt::ControlModifier);
    EXPECT_FALSE(menu(4, "DelDrum"));
    QTest::mouseDClick(strip, Qt::LeftButton, {}, at(4));
    strip->setIsPlaying(false);
    EXPECT_EQ(undo->OnXj(), 0);
    EXPECT_EQ(strip->nPlay1(), -1);

    const QPoint past = strip->labelCentre(strip->labelOfBar(12));
    QTest::mouseClick(strip, Qt::LeftButton, {}, past);
    QTest::mouseClick(strip, Qt::RightButton, {}, past);
    EXPECT_FALSE(strip->ABC->isVisible());
    EXPECT_EQ(undo->OnXj(), 0);
    EXPECT_FALSE(drop(12, drums::DrumRecordBytes(stores().DrumTemplates[0])));
    EXPECT_FALSE(undo->canUndo());
    EXPECT_EQ(flags(), "111111110");
}

TEST_F(StripWindow, MenuPatternsAndTheirNames)
{
    undo->setOnXj(3);
    QMenu* insert = form->menu(QStringLiteral("My_instr"));
    insert->popup(QPoint());
    insert->hide();
    EXPECT_TRUE(form->action(QStringLiteral("Drum"))->isEnabled());
    EXPECT_EQ(form->menus().upperBound(QStringLiteral("DrumArray")), int(stores().DrumTemplates.size()) - 1);
    EXPECT_EQ(form->action(QStringLiteral("DrumArray"), 4)->text(), QStringLiteral("摇滚"));
    form->action(QStringLiteral("DrumArray"), 4)->trigger();
    notation::DrumAccessor drum(stores());
    drum.DrumType(notation::DrumAccessor::XjDrums);
    EXPECT_EQ(drum.DrumName(3), QStringLiteral("摇滚"));
    EXPECT_EQ(undo->getUndoCount(), 1);

    // A name's "&" shows as itself; without templates the submenu is off.
    notation::DrumAccessor templates(stores());
    templates.DrumType(notation::DrumAccessor::DrumTemplates);
    templates.setDrumName(1, QStringLiteral("R&B"));
    insert->popup(QPoint());
    insert->hide();
    EXPECT_EQ(form->action(QStringLiteral("DrumArray"), 1)->text(), QStringLiteral("R&&B"));
    const DrumStore kept = stores().DrumTemplates;
    stores().DrumTemplates.clear();
    insert->popup(QPoint());
    insert->hide();
    EXPECT_FALSE(form->action(QStringLiteral("Drum"))->isEnabled());
    EXPECT_EQ(form->menus().upperBound(QStringLiteral("DrumArray")), 0);
    stores().DrumTemplates = kept;
}

TEST_F(StripWindow, HintsNameTheBarOrDrawItsPatternOncePerBar)
{
    auto hover = [&](int bar) {
        QMouseEvent move(QEvent::MouseMove, at(bar), strip->mapToGlobal(at(bar)), Qt::NoButton, {}, {});
        QApplication::sendEvent(strip, &move);
        return drums->lastHint();
    };
    EXPECT_EQ(hover(2).toolTip, QStringLiteral("进行曲"));
    EXPECT_EQ(hover(8).toolTip, QStringLiteral("双击编辑鼓点..."));
    ASSERT_TRUE(menu(2, "TooTal"));
    EXPECT_FALSE(drums->shortHints());
    EXPECT_EQ(hover(2).balloon, drums::BarHint::Balloon::Filled);
    EXPECT_EQ(form->hints()->tool(strip)->look.title, QStringLiteral("进行曲"));
    EXPECT_EQ(hover(2).balloon, drums::BarHint::Balloon::Unchanged);
    // A refresh (here: a drum operation on the bar) fills the balloon again.
    ASSERT_TRUE(menu(2, "DelDrum"));
    EXPECT_EQ(hover(2).balloon, drums::BarHint::Balloon::Filled);
}

TEST_F(StripWindow, RangeDrumPlayPlaysFromTheLowerMarkToTheHigher)
{
    editor::MainFormPlayback& playback = form->part<editor::MainFormPlayback>();
    const auto playRange = [&](int start, int end) {
        click(start, Qt::LeftButton, Qt::ControlModifier);
        click(end, Qt::RightButton, Qt::ControlModifier);
        form->commands().run(QStringLiteral("PlayDrumRange"), 0);
        QTest::qWait(20);
        const double seconds = playback.commands().performance().TotalPlayTime();
        const int shown = strip->MyXj();
        playback.commands().StopDrumPlay();
        return std::pair { seconds, shown };
    };
    const auto [one, oneShown] = playRange(3, 3);
    const auto [four, fourShown] = playRange(5, 2);
    EXPECT_GT(one, 0);
    EXPECT_NEAR(four, 4 * one, 0.01); // times are kept to the millisecond
    EXPECT_EQ(fourShown, 2);
    EXPECT_TRUE(window.prompts->texts().isEmpty());
}

// What the records should be, written from the rules without the program's code: bars typed in take
// the bytes that stood there, without drums; deleted bars' records go; a step is undone as a whole.
class RecordModel
{
public:
    explicit RecordModel(DrumStore loaded) { states_.push_back(std::move(loaded)); }

    const DrumStore& now() const { return states_[now_]; }
    bool drumStep() const { return drumSteps_[now_]; }

    void replace(int at, int selected, int added)
    {
        // The same number of bars: the engine sees no bar change.
        if (selected == added) {
            push(now(), false);
            return;
        }
        DrumStore s = now();
        s.erase(s.begin() + at, s.begin() + at + selected);
        insert(s, at, added);
        push(s, false);
    }
    // Two insertions in one step: the engine infers the change from the bars before and after.
    void insertTwice(int at1, int n1, int at2, int n2)
    {
        DrumStore s = now();
        const int bars = int(s.size()) + n1 + n2;
        const int before = at1;
        const int after = at2 + n2;
        if (after > before)
            insert(s, before, after - before);
        else if (after < before)
            s.erase(s.begin() + after, s.begin() + before);
        else
            insert(s, before, 1);
        s.resize(std::size_t(bars));
        push(s, false);
    }
    void operation(DrumOp code, int bar, int first, int last, const DrumRecord& clip)
    {
        DrumStore s = now();
        const auto paste = [&](int b) {
            if (b >= 0 && b < int(s.size())) {
                s[std::size_t(b)] = clip;
                s[std::size_t(b)].HaveDrum = 1;
            }
        };
        const int lo = std::max(0, std::min(first, last));
        const int hi = std::min(int(s.size()) - 1, std::max(first, last));
        switch (code) {
        case DrumOp::DropTemplate:
        case DrumOp::Paste:
        case DrumOp::FromEditor:
        case DrumOp::FromMenu:
            paste(bar);
            break;
        case DrumOp::Delete:
            if (bar < int(s.size()))
                s[std::size_t(bar)].HaveDrum = 0;
            break;
        case DrumOp::DeleteAll:
            for (DrumRecord& r : s)
                r.HaveDrum = 0;
            break;
        case DrumOp::PasteAll:
            for (DrumRecord& r : s)
                r = clip;
            break;
        case DrumOp::PasteRange:
            for (int b = lo; b <= hi; ++b)
                s[std::size_t(b)] = clip;
            break;
        case DrumOp::DeleteRange:
            for (int b = lo; b <= hi; ++b)
                s[std::size_t(b)].HaveDrum = 0;
            break;
        }
        push(s, true);
    }
    bool undo()
    {
        if (now_ == 0)
            return false;
        --now_;
        return true;
    }
    bool redo()
    {
        if (now_ + 1 == states_.size())
            return false;
        ++now_;
        return true;
    }
    void undoAll() { now_ = 0; }
    void redoAll() { now_ = states_.size() - 1; }
    // The step that the last undo took back, or the last redo put back.
    bool drumStepAt(std::size_t i) const { return drumSteps_[i]; }
    std::size_t position() const { return now_; }

private:
    static void insert(DrumStore& s, int at, int n)
    {
        DrumStore added;
        for (int i = 0; i < n; ++i) {
            DrumRecord r = at + i < int(s.size()) ? s[std::size_t(at + i)] : DrumRecord {};
            r.HaveDrum = 0;
            added.push_back(r);
        }
        s.insert(s.begin() + at, added.begin(), added.end());
    }
    void push(DrumStore s, bool drum)
    {
        states_.resize(now_ + 1);
        drumSteps_.resize(now_ + 1);
        states_.push_back(std::move(s));
        drumSteps_.push_back(drum);
        ++now_;
    }

    std::vector<DrumStore> states_;
    std::vector<bool> drumSteps_ { false };
    std::size_t now_ = 0;
};

TEST_F(StripWindow, RandomEditsOperationsUndoAndRedoKeepTheRecordsInStepWithTheBars)
{
    const DrumStore loaded = stores().XjDrums;
    for (unsigned seed = 1; seed <= 8; ++seed) {
        SCOPED_TRACE(seed);
        // The score as opened, without the previous seed's redo steps.
        form->action(QStringLiteral("UndoAll"))->trigger();
        ASSERT_TRUE(stores().XjDrums == loaded);
        undo->Reset();
        drums->forgetSnapshots();
        drums->forgetShownBars();
        RecordModel model(loaded);
        std::mt19937 random(seed);
        const auto pick
            = [&random](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
        for (int step = 0; step < 30; ++step) {
            const int bars = int(model.now().size());
            const int kind = pick(0, 9);
            std::string what;
            if (kind <= 1) {
                const int at = pick(0, bars - 1), n = pick(1, 3);
                ASSERT_TRUE(tunvale::testing::InsertBarLines(*form, at, n));
                model.replace(at, 0, n);
                what = "insert";
            } else if (kind == 2 && bars > 4) {
                const int n = pick(1, 2), at = pick(0, bars - 1 - n);
                ASSERT_TRUE(tunvale::testing::DeleteBars(*form, at, n));
                model.replace(at, n, 0);
                what = "delete";
            } else if (kind == 3 && bars > 4) {
                const int k = pick(1, 2), at = pick(0, bars - 1 - k), n = pick(0, 3);
                ASSERT_TRUE(tunvale::testing::ReplaceBars(*form, at, k, n));
                model.replace(at, k, n);
                what = "replace a selection";
            } else if (kind == 4) {
                const int at1 = pick(0, bars - 1), n1 = pick(1, 2);
                const int at2 = pick(0, bars + n1 - 1), n2 = pick(1, 2);
                ASSERT_TRUE(
                    tunvale::testing::InsertBarLines(*form, at1, n1, tunvale::testing::Step::KeepOpen));
                ASSERT_TRUE(tunvale::testing::InsertBarLines(*form, at2, n2));
                model.insertTwice(at1, n1, at2, n2);
                what = "two insertions in one step";
            } else if (kind <= 7) {
                const auto code = DrumOp(pick(0, 8));
                const int bar = pick(0, bars), first = pick(-1, bars + 2), last = pick(0, bars + 2);
                stores().DrumClip = stores().DrumTemplates[std::size_t(pick(0, 5))];
                if (pick(0, 3) == 0)
                    stores().DrumClip.HaveDrum = 0;
                if (code == DrumOp::FromMenu)
                    undo->setOnXj(std::min(bar, bars - 1));
                const int target = code == DrumOp::FromMenu ? std::min(bar, bars - 1) : bar;
                drums->operations().pending = { code, bar, first, last };
                drums->applyOperation(-1);
                model.operation(code, target, first, last, stores().DrumClip);
                what = "operation " + std::to_string(int(code));
            } else {
                frame::Process().ScoreHeader.ScoreSaved = true;
                const std::size_t before = model.position();
                const int choice = pick(0, 3);
                const char* items[] = { "mnuUnDo", "mnuRedo", "UndoAll", "RedoAll" };
                form->action(QString::fromLatin1(items[choice]))->trigger();
                if (choice == 0)
                    model.undo();
                else if (choice == 1)
                    model.redo();
                else if (choice == 2)
                    model.undoAll();
                else
                    model.redoAll();
                what = items[choice];
                // One drum step undone or redone: the score is modified.
                const std::size_t changed = choice == 0 ? before : model.position();
                if ((choice <= 1) && model.position() != before && model.drumStepAt(changed))
                    EXPECT_FALSE(frame::Process().ScoreHeader.ScoreSaved) << what;
            }
            SCOPED_TRACE(what + " at step " + std::to_string(step));
            ASSERT_EQ(int(stores().XjDrums.size()), undo->XJInteger());
            ASSERT_TRUE(stores().XjDrums == model.now()) << flags();
        }
    }
}

// `count` records, the first `named` of them with drums and the names A, B, C ...
DrumStore NamedRecords(std::size_t count, std::size_t named)
{
    DrumStore records(count);
    for (std::size_t i = 0; i < named; ++i) {
        records[i].HaveDrum = 1;
        records[i].DrumName[0] = std::uint8_t('A' + i);
    }
    return records;
}

bool WriteScore(const QString& path, const platform::RichTextBox& score, const DrumStore& records)
{
    notation::ScoreHeader header;
    header.CurrentFile = path;
    return frame::WriteVls(header, {}, score.TextRTF().toLatin1(), records, notation::PlayOrder());
}

// A paragraph that starts with a text character and runs on in notes long enough to wrap: its second
// display line is notation, so the laid-out window counts bars that the unwrapped text at open had not.
TEST(DrumRecordsOfAWrappedLine, AnOperationChangesItsBarAloneAndUndoGivesTheOpenedRecordsBack)
{
    using namespace tunvale::testing;
    WindowTest t;
    platform::RichTextBox score;
    std::vector<int> notes;
    for (int i = 0; i < 30; ++i)
        notes.push_back(Note(1 + i % 7));
    notes.push_back(kBar);
    notes.push_back(Note(5));
    notes.push_back(kBar);
    Append(score, kSong, QStringLiteral("A"));
    Append(score, kNote, Codes(notes));
    const QString path = t.user.file(QStringLiteral("wrapped.vls"));
    ASSERT_TRUE(WriteScore(path, score, NamedRecords(3, 2)));

    editor::MainForm& form = t.load(path);
    const DrumStore opened = stores().XjDrums;
    if (!form.action(QStringLiteral("GroupBar"), 0)->isChecked())
        form.action(QStringLiteral("GroupBar"), 0)->trigger();
    form.resize(1280, 900);
    form.show();
    QCoreApplication::processEvents();
    ASSERT_GT(form.editor().LineCount(), 1);

    emit form.barStrip().DelaDrum(0);
    DrumStore deleted = opened;
    deleted[0].HaveDrum = 0;
    EXPECT_TRUE(stores().XjDrums == deleted);
    form.action(QStringLiteral("mnuUnDo"))->trigger();
    EXPECT_TRUE(stores().XjDrums == opened);
    frame::Process().ScoreHeader.ScoreSaved = true;
}

// Notes, then a paragraph that starts with a text character and wraps at the page width into a
// notation line, then notes again; a named record on every bar of the laid-out score.
TEST(DrumRecordsOfAWrappedLine, EveryOpenKeepsTheRecordsOfTheLaidOutBars)
{
    using namespace tunvale::testing;
    WindowTest t;
    platform::RichTextBox score;
    std::vector<int> wrapped;
    for (int i = 0; i < 40; ++i)
        wrapped.push_back(Note(1 + i % 7));
    wrapped.insert(wrapped.end(), { kBar, Note(5), kBar, Note(6), kBar });
    Append(score, kNote, Codes({ Note(1), kBar, Note(2), kBar }) + QStringLiteral("\r\n"));
    Append(score, kSong, QStringLiteral("A"));
    Append(score, kNote, Codes(wrapped) + QStringLiteral("\r\n"));
    Append(score, kNote, Codes({ Note(3), kBar, Note(4), kBar }));
    const QString path = t.user.file(QStringLiteral("wrapped.vls"));
    const DrumStore records = NamedRecords(8, 8);
    ASSERT_TRUE(WriteScore(path, score, records));

    // The start score opens before its window is shown.
    editor::MainForm& form = t.load(path);
    EXPECT_TRUE(stores().XjDrums == records) << stores().XjDrums.size();
    form.resize(1280, 900);
    form.show();
    QCoreApplication::processEvents();
    // The caret moved, the bars are counted as laid out.
    form.editor().setSelStart(form.editor().TextLength());
    ASSERT_EQ(form.part<editor::MainFormEditing>().undo().XJInteger(), int(records.size()));
    ASSERT_TRUE(form.part<editor::MainFormScoreFiles>().commands().save());
    DrumStore saved;
    ASSERT_TRUE(notation::ReadDrumData(saved, path));
    EXPECT_TRUE(saved == records) << saved.size();
    form.close();

    // A new score's window opens it in its place.
    frame::ScoreFileCommands& files = t.load().part<editor::MainFormScoreFiles>().commands();
    files.OpenVls(path);
    EXPECT_EQ(frame::Process().ScoreHeader.CurrentFile, path);
    EXPECT_TRUE(stores().XjDrums == records) << stores().XjDrums.size();
}

// A short notation paragraph; 400 characters of notes and bar lines with words of text characters
// among them, which wrap in other places at words than anywhere; a lyric line and a short notation
// line; a named record on every bar. A note typed over the first of the long paragraph changes no bar,
// also after a stretch of digits too long to wrap at words, added at the end, made every paragraph
// wrap anywhere, and after its undo wrapped them at words again: the records saved are the records
// opened, and the window plays and exports the lines that the saved score opens with.
TEST(DrumRecordsOfAWrappedLine, ANoteEditAfterALongStretchElsewhereMovesNoRecord)
{
    using namespace tunvale::testing;
    platform::RichTextBox score;
    Append(score, kNote, Codes({ Note(1), kBar, Note(2), kBar }) + QStringLiteral("\r\n"));
    std::mt19937 random(3);
    for (int i = 0; i < 400; ++i) {
        if (random() % 8 == 0) {
            const int letters = int(1 + random() % 6);
            Append(score, kSong, QStringLiteral("abcdef").left(letters));
            i += letters - 1;
        } else {
            Append(score, kNote, Codes({ i % 17 == 16 ? kBar : Note(1 + int(random() % 7)) }));
        }
    }
    Append(score, kNote, QStringLiteral("\r\n"));
    Append(score, kSong, QStringLiteral("歌词\r\n"));
    Append(score, kNote, Codes({ Note(3), kBar, Note(4), kBar }));
    const int second = score.Text().indexOf(QStringLiteral("\r\n")) + 2;

    enum class Stretch { None, Typed, Undone };
    const auto editAndSave = [&](Stretch stretch) {
        WindowTest t;
        const QString path = t.user.file(QStringLiteral("wrapped.vls"));
        const auto open = [&]() -> editor::MainForm& {
            t.form.reset();
            editor::MainForm& window = t.load(path);
            window.resize(1280, 900);
            window.show();
            QCoreApplication::processEvents();
            return window;
        };
        // A record on every bar as the window lays the score out.
        EXPECT_TRUE(WriteScore(path, score, {}));
        editor::MainForm* form = &open();
        form->editor().setSelStart(form->editor().TextLength());
        const auto bars = std::size_t(form->part<editor::MainFormEditing>().undo().XJInteger());
        const DrumStore records = NamedRecords(bars, bars);
        EXPECT_TRUE(WriteScore(path, score, records));
        form = &open();
        editor::UndoEngine& undo = form->part<editor::MainFormEditing>().undo();
        if (stretch != Stretch::None) {
            form->editor().setSelStart(form->editor().TextLength());
            form->editor().setSelText(QStringLiteral("\r\n") + QString(1'001, u'1'));
            undo.FlushSnapshot();
            EXPECT_EQ(form->editorView()->wordWrapMode(), QTextOption::WrapAnywhere);
        }
        if (stretch == Stretch::Undone) {
            form->action(QStringLiteral("mnuUnDo"))->trigger();
            EXPECT_EQ(form->editorView()->wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
        }
        form->editor().select(second, 1);
        QKeyEvent five(QEvent::KeyPress, Qt::Key_5, Qt::NoModifier, QStringLiteral("5"));
        QApplication::sendEvent(form->editorView(), &five);
        undo.FlushSnapshot();
        EXPECT_NE(form->editor().Text().mid(second, 1), score.Text().mid(second, 1));
        EXPECT_TRUE(form->part<editor::MainFormScoreFiles>().commands().save());
        DrumStore saved;
        EXPECT_TRUE(notation::ReadDrumData(saved, path));
        EXPECT_TRUE(saved == records) << int(stretch) << ": " << saved.size() << " of " << records.size();
        const auto lines = [](editor::MainForm& window) {
            QStringList texts;
            for (const auto& line : window.part<editor::MainFormPlayback>().scoreSnapshot().lines)
                texts += line.text;
            return texts;
        };
        const QStringList played = lines(*form);
        EXPECT_EQ(played, lines(open()));
        frame::Process().ScoreHeader.ScoreSaved = true;
    };
    editAndSave(Stretch::None);
    editAndSave(Stretch::Typed);
    editAndSave(Stretch::Undone);
}

} // namespace
