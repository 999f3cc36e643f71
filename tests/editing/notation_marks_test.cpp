#include "app/editor/editing/notation_marks.h"
#include "app/editor/editing/volta_commands.h"
#include "tests/editing/editor_fixture.h"
#include "tests/support/scripted_prompts.h"

#include <gtest/gtest.h>

using namespace tunvale;
using namespace tunvale::editor;
using namespace tunvale::testing;

namespace {

constexpr int kRest = 0x62CE;
constexpr int kArcBar = 0x6355;

// The items over a score whose first line is `line`.
struct Voltas : EditorFixture {
    VoltaCommands voltas { editor, *commands, cmdBusy };
    // The flag as it was at each change of the text.
    std::vector<bool> busyAtChange;

    explicit Voltas(const std::vector<int>& codes)
        : EditorFixture({ { kNote, Codes(codes) }, { kSong, QStringLiteral("歌词") } })
    {
        QObject::connect(
            &editor, &platform::RichTextBox::Change, [this] { busyAtChange.push_back(cmdBusy); });
    }
};

const QString kNeedsBarLine = QStringLiteral("请选择以小节线开头的一段简谱。");
const QString kNeedsRepeat = QStringLiteral("第一字符选择反复记号，再进行转换。");
const QString kNeedsDalSegno = QStringLiteral("第一字符选择D.S.反复记号后，再按此键转换。");
const QString kNeedsRepeatEnd = QStringLiteral("最后一字符要选择反复记号!");

} // namespace

TEST(VoltaCommands, EachItemTestsItsStretchAndWritesItsBracket)
{
    struct Case {
        int index;
        std::vector<int> line; // selected from 0 to its end
        std::vector<int> after; // empty: unchanged
        QString message;
    };
    const Case cases[] = {
        // Opening items turn the bar line that starts the stretch into the bracket start.
        { 0, { u'$', N(1), kRest }, { u'^', N(1, 2), kRest + 6 }, {} },
        { 0, { kBar, N(1) }, { 0x6363, N(1, 2) }, {} },
        { 0, { N(1), N(2) }, {}, kNeedsBarLine },
        { 4, { u'%', N(1) }, { u'_', N(1, 2) }, {} },
        { 4, { N(1), N(2) }, {}, {} },
        { 7, { kArcBar, N(1) }, { 0x6365, N(1, 2) }, {} },
        { 7, { N(1), N(2) }, {}, {} },
        { 10, { u'$', N(1) }, { u'a', N(1, 2) }, {} },
        { 10, { N(1), N(2) }, {}, {} },
        // Continuing items test only the first character.
        { 1, { 0x6358, N(1), kBar }, { 0x636D, N(1, 2), kArcBar }, {} },
        { 1, { 0x6368, N(1) }, {}, kNeedsRepeat },
        { 5, { 0x6368, N(1) }, { 0x6367, N(1, 2) }, {} },
        { 8, { 0x6370, N(1) }, { 0x6368, N(1, 2) }, {} },
        { 11, { 0x6367, N(1) }, { 0x6369, N(1, 2) }, {} },
        { 11, { kBar, N(1) }, {}, kNeedsRepeat },
        { 2, { 0x6359, N(1) }, { 0x636E, N(1, 2) }, {} },
        { 2, { 0x6358, N(1) }, {}, kNeedsDalSegno },
        { 13, { N(1), N(2) }, { 0x636A, N(2, 2) }, {} },
        // Closing items test only the last character and rewrite it too.
        { 14, { kBar, N(1), 0x6358 }, { 0x636B, N(1, 2), 0x635F }, {} },
        { 14, { kBar, N(1), N(2) }, {}, kNeedsRepeatEnd },
        { 15, { N(1), N(2), 0x6370 }, { 0x636C, N(2, 2), 0x6360 }, {} },
        { 15, { 0x6358, 0x6358 }, { 0x636C, 0x6360 }, {} },
        // A single repeat sign becomes the new bracket start alone; a closing item needs two characters.
        { 8, { 0x6358 }, { 0x6368 }, {} },
        { 14, { 0x6358 }, {}, {} },
        // The line items.
        { 17, { N(1), kBar }, { N(1, 2), kArcBar }, {} },
        { 18, { N(1, 2), kArcBar }, { N(1), kBar }, {} },
        // Separators and indices outside the menu.
        { 3, { kBar, N(1) }, {}, {} },
        { 19, { kBar, N(1) }, {}, {} },
    };
    for (const Case& k : cases) {
        ScopedPrompts prompts;
        Voltas v(k.line);
        v.editor.select(0, int(k.line.size()));
        v.voltas.applyItem(k.index);
        const std::vector<int>& expected = k.after.empty() ? k.line : k.after;
        EXPECT_EQ(Hex(v.line()), Hex(Codes(expected))) << k.index << " on " << Hex(Codes(k.line));
        EXPECT_EQ(prompts->texts(), k.message.isEmpty() ? QStringList() : QStringList { k.message })
            << k.index;
        for (const platform::PromptRequest& shown : prompts->shown) {
            EXPECT_EQ(shown.icon, platform::PromptIcon::Information);
            EXPECT_EQ(shown.title, platform::kProgramTitle);
        }
        EXPECT_FALSE(v.cmdBusy) << k.index;
        v.undo->FlushSnapshot();
        EXPECT_EQ(v.undo->getUndoCount(), k.after.empty() ? 0 : 1) << k.index;
        // The flag is set while the text changes, except for "第1段".
        for (const bool busy : v.busyAtChange)
            EXPECT_EQ(busy, k.index != 0) << k.index;
    }
}

TEST(VoltaCommands, NothingSelectedDoesNothing)
{
    ScopedPrompts prompts;
    Voltas v({ kBar, N(1), 0x6358 });
    v.editor.setSelStart(1);
    EXPECT_FALSE(v.voltas.itemsEnabled());
    for (int index = -1; index <= 19; ++index)
        v.voltas.applyItem(index);
    EXPECT_EQ(Hex(v.line()), Hex(Codes({ kBar, N(1), 0x6358 })));
    EXPECT_TRUE(prompts->shown.empty());
    EXPECT_TRUE(v.busyAtChange.empty());
    v.editor.select(0, 1);
    EXPECT_TRUE(v.voltas.itemsEnabled());
    EXPECT_EQ(
        VoltaCommands::itemIndices(), (std::vector<int> { 0, 1, 2, 4, 5, 7, 8, 10, 11, 13, 14, 15, 17, 18 }));
}

TEST(VoltaCommands, CharactersOfOtherFontsKeepTheirFormat)
{
    Voltas v({ 0x6358, N(1), N(2), N(3), u'(' });
    // A red grace note at 10 points and a narrow space in a grace font.
    v.editor.select(2, 1);
    v.editor.setSelFontName(kGrace);
    v.editor.setSelFontSize(10);
    v.editor.setSelColor(Qt::red);
    v.editor.select(4, 1);
    v.editor.setSelFontName(kGrace);
    v.undo->Reset();
    for (const int index : { 5, 15 }) {
        v.editor.select(0, 5);
        v.voltas.applyItem(index);
    }
    // The grace note goes to its arc form, the narrow space to the one under an arc.
    EXPECT_EQ(Hex(v.line()), Hex(Codes({ 0x6367, N(1, 2), N(2, 1), N(3, 2), u')' })));
    const platform::RunFormat grace = v.formatAt(2);
    EXPECT_EQ(grace.font, kGrace);
    EXPECT_EQ(grace.halfPoints, 20);
    EXPECT_EQ(grace.color, QColor(Qt::red).rgb());
    EXPECT_EQ(v.formatAt(4).font, kGrace);
    // The closing item refused the stretch, whose last character is no repeat sign.
    EXPECT_EQ(v.undo->getUndoCount(), 1);
}

TEST(NotationMarks, EachItemInsertsItsCharacterInItsFont)
{
    struct Item {
        int index;
        int character;
    };
    struct Menu {
        void (NotationMarks::*insert)(int);
        std::vector<Item> items;
        QString font;
        std::vector<int> separators;
    };
    const Menu menus[] = {
        { &NotationMarks::insertTempoTerm,
            { { 0, 0x5F80 }, { 1, 0x5F81 }, { 2, 0x5F82 }, { 3, 0x5F83 }, { 4, 0x5F84 }, { 5, 0x5F85 },
                { 6, 0x5F86 }, { 7, 0x5F87 }, { 8, 0x5F88 }, { 9, 0x5F89 }, { 10, 0x5F8A }, { 11, 0x5F8B },
                { 12, 0x5F8C }, { 13, 0x5F8D }, { 15, 0x5F8E } },
            kSymbol, { 14, 16 } },
        { &NotationMarks::insertDynamics,
            { { 0, '*' }, { 1, '+' }, { 2, ',' }, { 3, '-' }, { 4, '.' }, { 5, '/' }, { 6, '0' }, { 7, '1' },
                { 8, '2' }, { 9, '3' }, { 11, '4' }, { 12, '5' }, { 14, '6' }, { 15, '7' }, { 16, '8' } },
            kSymbol, { 10, 13, 17 } },
        { &NotationMarks::insertVoiceMark, { { 0, 0x6374 }, { 1, 0x6375 }, { 2, 0x6376 } }, kNote,
            { -1, 3 } },
    };
    for (const Menu& menu : menus) {
        for (const Item& item : menu.items) {
            EditorFixture f({ { kNote, Codes({ kBar, N(1) }) } });
            NotationMarks marks(f.editor, *f.undo, *f.commands);
            f.editor.setSelStart(1);
            (marks.*menu.insert)(item.index);
            EXPECT_EQ(Hex(f.line()), Hex(Codes({ kBar, item.character, N(1) }))) << item.index;
            // What is typed next is notation again.
            EXPECT_EQ(f.editor.SelFontName(), kNote) << item.index;
            EXPECT_EQ(f.formatAt(1).font, menu.font) << item.index;
            f.undo->FlushSnapshot();
            EXPECT_EQ(f.undo->getUndoCount(), 1);
        }
        EditorFixture f({ { kNote, Codes({ kBar, N(1) }) } });
        NotationMarks marks(f.editor, *f.undo, *f.commands);
        for (const int separator : menu.separators)
            (marks.*menu.insert)(separator);
        EXPECT_EQ(Hex(f.line()), Hex(Codes({ kBar, N(1) })));
    }
}

TEST(NotationMarks, DynamicsAndVoiceMarksOnlyOnANotationLine)
{
    ScopedPrompts prompts;
    EditorFixture f({ { kNote, Codes({ kBar, N(1) }) }, { kSong, QStringLiteral("歌词") } });
    NotationMarks marks(f.editor, *f.undo, *f.commands);
    f.editor.setSelStart(5);
    marks.insertDynamics(5);
    marks.insertVoiceMark(0);
    EXPECT_EQ(f.line(1), QStringLiteral("歌词"));
    EXPECT_EQ(prompts->texts(),
        QStringList({ QStringLiteral("请插入到简谱行!"), QStringLiteral("请插入到简谱行!") }));
    EXPECT_EQ(f.undo->getUndoCount(), 0);
    // A tempo term goes on any line.
    marks.insertTempoTerm(7);
    EXPECT_EQ(Hex(f.line(1)), Hex(QStringLiteral("歌") + QChar(char16_t(0x5F87)) + QStringLiteral("词")));
}

TEST(NotationMarks, AddstrInsertsAtTheStartOfTheSelection)
{
    EditorFixture f({ { kSong, QStringLiteral("歌词") }, { kNote, Codes({ N(1), N(2), N(3) }) } });
    NotationMarks marks(f.editor, *f.undo, *f.commands);
    f.editor.select(5, 2);
    marks.Addstr(Codes({ 0x6226, N(5) }));
    EXPECT_EQ(Hex(f.line(1)), Hex(Codes({ N(1), 0x6226, N(5), N(2), N(3) })));
    EXPECT_EQ(f.formatAt(5).font, kNote);
    // A lyric line's caret gets notation too.
    f.editor.setSelStart(1);
    marks.Addstr(Codes({ N(7) }));
    EXPECT_EQ(f.formatAt(1).font, kNote);
    EXPECT_EQ(f.undo->getUndoCount(), 2);
}

TEST(NotationMarks, HeaderAndKeyLines)
{
    EditorFixture f({ { kSong, QStringLiteral("标题") }, { kNote, Codes({ 0x6350 }) },
        { kNote, Codes({ 0x634F, 0x6341 }) }, { kNote, Codes({ N(1) }) } });
    EXPECT_EQ(FindHeaderLine(f.editor), 2);
    EXPECT_EQ(FindKeyLine(f.editor), 3);
    EditorFixture none({ { kSong, QStringLiteral("标题") }, { kNote, Codes({ N(1) }) } });
    EXPECT_EQ(FindHeaderLine(none.editor), 0);
    EXPECT_EQ(FindKeyLine(none.editor), 0);
}

TEST(NotationMarks, TheKeyGoesAfterTheKeyMarkerOnly)
{
    ScopedPrompts prompts;
    EditorFixture f({ { kSong, QStringLiteral("标题") }, { kNote, Codes({ 0x634F, 0x6341 }) },
        { kNote, Codes({ N(1) }) } });
    NotationMarks marks(f.editor, *f.undo, *f.commands);
    QString KeyPickText = QStringLiteral("old");
    QString shownWith;
    QString answer;
    const auto pickKey = [&] {
        shownWith = KeyPickText;
        KeyPickText = answer;
    };
    // Off the key line: the message and no picker.
    f.editor.setSelStart(9);
    marks.insertKey(KeyPickText, pickKey);
    EXPECT_EQ(prompts->texts(), QStringList({ QStringLiteral("音调请插入到 1= 后边，请定位好光标。") }));
    EXPECT_TRUE(shownWith.isEmpty());
    // The selected key presets the picker; its answer replaces the selection.
    f.editor.select(5, 1);
    answer = Codes({ 0x6227, 0x6345 });
    marks.insertKey(KeyPickText, pickKey);
    EXPECT_EQ(Hex(shownWith), Hex(Codes({ 0x6341 })));
    EXPECT_EQ(Hex(f.line(1)), Hex(Codes({ 0x634F, 0x6227, 0x6345 })));
    // Recorded as typing is, after the editor has been left alone.
    f.undo->FlushSnapshot();
    EXPECT_EQ(f.undo->getUndoCount(), 1);
    // Without a selection the last answer presets the picker; Cancel changes nothing.
    f.editor.setSelStart(7);
    answer.clear();
    marks.insertKey(KeyPickText, pickKey);
    EXPECT_EQ(Hex(shownWith), Hex(Codes({ 0x6227, 0x6345 })));
    EXPECT_EQ(Hex(f.line(1)), Hex(Codes({ 0x634F, 0x6227, 0x6345 })));
}
