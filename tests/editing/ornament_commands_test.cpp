#include "app/editor/editing/ornament_commands.h"
#include "tests/editing/editor_fixture.h"
#include "tests/support/scripted_prompts.h"

#include <gtest/gtest.h>

#include <functional>

using namespace tunvale;
using namespace tunvale::editor;
using namespace tunvale::testing;

namespace {

constexpr int kSixteenth = 2;
constexpr int kEighth = 1;

// A notation line, a lyric line and, when asked, a key line before them.
struct Ornaments : EditorFixture {
    platform::RichTextBox probe { editor.document() };
    OrnamentCommands ornaments { editor, probe, *undo, *commands };

    explicit Ornaments(std::initializer_list<ScoreLine> lines)
        : EditorFixture(lines)
    {
    }
    // Puts `text` in the symbol font at `position`, as ornament letters stand, and starts the undo
    // history afresh.
    void putSymbols(int position, const QString& text)
    {
        editor.setSelStart(position);
        editor.setSelFontName(kSymbol);
        editor.setSelText(text);
        undo->Reset();
    }
    QString fontsOf(int start, int length)
    {
        QStringList fonts;
        for (int p = start; p < start + length; ++p)
            fonts << formatAt(p).font;
        fonts.removeDuplicates();
        return fonts.join(u',');
    }
};

const QString kSelectNote = QStringLiteral("请选择需要格式的字符！");

} // namespace

TEST(OrnamentCommands, EachOrnamentReplacesTheRunBeforeTheNote)
{
    struct Case {
        std::function<void(OrnamentCommands&)> command;
        QString text;
    };
    const Case cases[] = {
        { [](OrnamentCommands& o) { o.insertFermata(); }, QString(QChar(char16_t(0x5FEB))) },
        { [](OrnamentCommands& o) { o.insertMordent(0); }, QStringLiteral("BF") },
        { [](OrnamentCommands& o) { o.insertMordent(1); }, QStringLiteral("CF") },
        { [](OrnamentCommands& o) { o.insertMordent(2); }, QStringLiteral("DFFF") },
        { [](OrnamentCommands& o) { o.insertMordent(3); }, QStringLiteral("EFFF") },
        { [](OrnamentCommands& o) { o.insertStaccato(0); }, QStringLiteral("G") },
        { [](OrnamentCommands& o) { o.insertStaccato(1); }, QStringLiteral("H") },
        { [](OrnamentCommands& o) { o.insertAccent(); }, QStringLiteral("9") },
        { [](OrnamentCommands& o) { o.insertTurn(0); }, QStringLiteral("JFF") },
        { [](OrnamentCommands& o) { o.insertTurn(1); }, QStringLiteral("KFF") },
        { [](OrnamentCommands& o) { o.insertTrill(); }, QStringLiteral("IFFFFF") },
        { [](OrnamentCommands& o) { o.removeOrnaments(); }, QString() },
    };
    for (const Case& k : cases) {
        // A quarter note with a trill before it, after another note.
        Ornaments o({ { kNote, Codes({ kBar, N(1), N(2) }) }, { kSong, QStringLiteral("歌词") } });
        o.putSymbols(2, QStringLiteral("IFF"));
        // A stretch selected: the ornament goes before its last note.
        o.editor.select(1, 5);
        k.command(o.ornaments);
        const QString expected = Codes({ kBar, N(1) }) + k.text + Codes({ N(2) });
        EXPECT_EQ(Hex(o.line()), Hex(expected)) << k.text.toStdString();
        EXPECT_EQ(o.fontsOf(2, int(k.text.size())), k.text.isEmpty() ? QString() : kSymbol);
        EXPECT_EQ(o.formatAt(int(expected.size()) - 1).font, kNote);
        // The caret stands before the ornament.
        EXPECT_EQ(o.editor.SelStart(), 2);
        EXPECT_EQ(o.editor.SelLength(), 0);
        // Removing the old run and writing the new one is one step.
        o.undo->FlushSnapshot();
        EXPECT_EQ(o.undo->getUndoCount(), 1);
        o.undo->undo(1);
        EXPECT_EQ(Hex(o.line()), Hex(Codes({ kBar, N(1) }) + QStringLiteral("IFF") + Codes({ N(2) })));
    }
}

TEST(OrnamentCommands, TheRunEndsAtOtherFontsAndAtTheLineStart)
{
    // A line that ends in a staccato letter, then a note at the start of the next one.
    Ornaments o({ { kNote, Codes({ N(1) }) }, { kNote, Codes({ N(2) }) } });
    o.putSymbols(1, QStringLiteral("G"));
    // Its break in the symbol font too, as typing the letter last can leave it.
    o.editor.select(1, 3);
    o.editor.setSelFontName(kSymbol);
    o.undo->Reset();
    o.editor.select(4, 1);
    o.ornaments.insertMordent(0);
    // The run stops at the line break, which stays with the letter before it.
    EXPECT_EQ(Hex(o.line(0)), Hex(Codes({ N(1) }) + QStringLiteral("G")));
    EXPECT_EQ(Hex(o.line(1)), Hex(QStringLiteral("BF") + Codes({ N(2) })));
    // A note without ornaments gets one all the same.
    Ornaments plain({ { kNote, Codes({ N(1), N(2) }) } });
    plain.editor.select(1, 1);
    plain.ornaments.insertStaccato(1);
    EXPECT_EQ(Hex(plain.line()), Hex(Codes({ N(1) }) + QStringLiteral("H") + Codes({ N(2) })));
}

TEST(OrnamentCommands, RefusedOrnamentsChangeNothing)
{
    ScopedPrompts prompts;
    Ornaments o({ { kNote, Codes({ kBar, N(1, 0, 0, kSixteenth), N(2, 0, 0, kEighth) }) } });
    o.putSymbols(1, QStringLiteral("BF"));
    // Nothing selected.
    o.editor.setSelStart(3);
    o.ornaments.removeOrnaments();
    o.ornaments.insertTrill();
    o.ornaments.insertFermata();
    // A trill on a sixteenth note: the note keeps its mordent.
    o.editor.select(3, 1);
    o.ornaments.insertTrill();
    EXPECT_EQ(prompts->texts(),
        QStringList({ kSelectNote, kSelectNote, kSelectNote,
            QStringLiteral("颤音请用于格式八分、四分及以上时长的音符！") }));
    EXPECT_EQ(Hex(o.line()),
        Hex(Codes({ kBar }) + QStringLiteral("BF") + Codes({ N(1, 0, 0, kSixteenth), N(2, 0, 0, kEighth) })));
    o.undo->FlushSnapshot();
    EXPECT_EQ(o.undo->getUndoCount(), 0);
    // An eighth note takes the shorter trill.
    o.editor.select(4, 1);
    o.ornaments.insertTrill();
    EXPECT_EQ(Hex(o.line()),
        Hex(Codes({ kBar }) + QStringLiteral("BF") + Codes({ N(1, 0, 0, kSixteenth) }) + QStringLiteral("IFF")
            + Codes({ N(2, 0, 0, kEighth) })));
}

TEST(OrnamentCommands, MarksAfterANoteFollowItsDurationAndArc)
{
    struct Case {
        std::function<void(OrnamentCommands&)> command;
        int before; // the note before the caret
        int mark;
        QString font; // empty: the font at the caret
    };
    const QString yy = QStringLiteral("KORVA_Note_yy");
    const QString yy1 = QStringLiteral("KORVA_Note_yy1");
    const auto breath = [](OrnamentCommands& o) { o.insertBreathMark(); };
    const Case cases[] = {
        { breath, N(1), 0x6300, {} },
        { breath, N(1, 0, 0, kSixteenth), 0x6300 + 10, {} },
        { breath, N(1, 1, 0, kEighth), 0x6300 + 5 + 30, {} },
        { [](OrnamentCommands& o) { o.insertNarrowSpace(0); }, N(1), u'(', yy },
        { [](OrnamentCommands& o) { o.insertNarrowSpace(1); }, N(1, 1), u')', yy1 },
        { [](OrnamentCommands& o) { o.insertNarrowBarLine(0); }, N(1, 1), u'%', yy },
        { [](OrnamentCommands& o) { o.insertNarrowBarLine(1); }, N(1), u'$', yy1 },
        { [](OrnamentCommands& o) { o.insertGlide(0); }, N(1), 0x62FE, {} },
        { [](OrnamentCommands& o) { o.insertGlide(1); }, N(1), 0x62FF, {} },
        { [](OrnamentCommands& o) { o.insertTimeSignature(5); }, N(1), 0x62AA + 5, {} },
    };
    for (const Case& k : cases) {
        Ornaments o({ { kNote, Codes({ k.before, N(2) }) } });
        o.editor.setSelStart(1);
        k.command(o.ornaments);
        EXPECT_EQ(Hex(o.line()), Hex(Codes({ k.before, k.mark, N(2) })));
        EXPECT_EQ(o.formatAt(1).font, k.font.isEmpty() ? kNote : k.font);
        EXPECT_EQ(o.editor.SelStart(), 2);
        o.undo->FlushSnapshot();
        EXPECT_EQ(o.undo->getUndoCount(), 1);
        o.undo->undo(1);
        EXPECT_EQ(Hex(o.line()), Hex(Codes({ k.before, N(2) })));
    }
}

TEST(OrnamentCommands, GlidesAndTimeSignaturesByLine)
{
    ScopedPrompts prompts;
    Ornaments o({ { kNote, Codes({ 0x634F, 0x6341 }) }, { kSong, QStringLiteral("歌词") },
        { kNote, Codes({ N(1) }) } });
    // A glide on the key line or a lyric line is refused.
    o.editor.setSelStart(2);
    o.ornaments.insertGlide(0);
    o.editor.setSelStart(5);
    o.ornaments.insertGlide(1);
    EXPECT_EQ(prompts->texts(),
        QStringList({ QStringLiteral("必须插入到简谱行!"), QStringLiteral("必须插入到简谱行!") }));
    // A time signature on a lyric line does nothing, silently.
    o.ornaments.insertTimeSignature(3);
    EXPECT_EQ(o.line(1), QStringLiteral("歌词"));
    EXPECT_EQ(prompts->shown.size(), 2u);
    EXPECT_EQ(o.undo->getUndoCount(), 0);
    // On the key line it is its own sign, in 18 points.
    o.editor.setSelStart(2);
    o.ornaments.insertTimeSignature(7);
    EXPECT_EQ(Hex(o.line(0)), Hex(Codes({ 0x634F, 0x6341, 0x62BA + 7 })));
    const platform::RunFormat format = o.formatAt(2);
    EXPECT_EQ(format.font, kNote);
    EXPECT_EQ(format.halfPoints, 36);
    // On a notation line the size stays.
    o.editor.setSelStart(o.editor.TextLength());
    o.ornaments.insertTimeSignature(0);
    EXPECT_EQ(Hex(o.line(2)), Hex(Codes({ N(1), 0x62AA })));
    EXPECT_EQ(o.formatAt(o.editor.TextLength() - 1).halfPoints, 32);
}
