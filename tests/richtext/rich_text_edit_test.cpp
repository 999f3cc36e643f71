#include "platform/richtext/key_translation.h"
#include "platform/richtext/rich_text_edit.h"
#include "platform/richtext/rich_text_lines.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>

#include <gtest/gtest.h>

using namespace tunvale::platform;

namespace {

const QString kNote = QStringLiteral("KORVA_Note");
const QString kSong = QStringLiteral("宋体");

std::string s(const QString& text) { return text.toStdString(); }

void press(
    QWidget& widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {})
{
    QKeyEvent down(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(&widget, &down);
    QKeyEvent up(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(&widget, &up);
}

} // namespace

TEST(KeyTranslation, QtKeysBecomeClassicKeyCodes)
{
    struct Case {
        int key;
        Qt::KeyboardModifiers modifiers;
        int code;
        int shift;
    };
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    const Case cases[] = {
        { Qt::Key_A, none, 65, 0 },
        { Qt::Key_Z, Qt::ControlModifier, 90, 2 },
        { Qt::Key_Y, Qt::ControlModifier, 89, 2 },
        { Qt::Key_P, Qt::ShiftModifier, 80, 1 },
        { Qt::Key_1, none, 49, 0 },
        { Qt::Key_Asterisk, Qt::ShiftModifier, 56, 1 }, // Shift+8
        { Qt::Key_ParenRight, Qt::ShiftModifier, 48, 1 },
        { Qt::Key_5, Qt::KeypadModifier, 101, 0 },
        { Qt::Key_Asterisk, Qt::KeypadModifier, 106, 0 },
        { Qt::Key_Plus, Qt::KeypadModifier, 107, 0 },
        { Qt::Key_Minus, Qt::KeypadModifier, 109, 0 },
        { Qt::Key_Period, Qt::KeypadModifier, 110, 0 },
        { Qt::Key_Slash, Qt::KeypadModifier, 111, 0 },
        { Qt::Key_Enter, Qt::KeypadModifier, 13, 0 },
        { Qt::Key_Return, none, 13, 0 },
        { Qt::Key_Space, none, 32, 0 },
        { Qt::Key_Equal, none, 187, 0 },
        { Qt::Key_Minus, none, 189, 0 },
        { Qt::Key_Period, none, 190, 0 },
        { Qt::Key_Slash, none, 191, 0 },
        { Qt::Key_Backspace, none, 8, 0 },
        { Qt::Key_Delete, none, 46, 0 },
        { Qt::Key_Left, none, 37, 0 },
        { Qt::Key_Right, Qt::AltModifier | Qt::ShiftModifier, 39, 5 },
        { Qt::Key_F1, none, 112, 0 },
        { Qt::Key_F12, none, 123, 0 },
        { Qt::Key_PageUp, none, 33, 0 },
        { Qt::Key_Shift, Qt::ShiftModifier, 16, 1 },
    };
    for (const Case& c : cases) {
        const KeyCode k = TranslateKey(c.key, c.modifiers);
        EXPECT_EQ(k.code, c.code) << std::hex << c.key;
        EXPECT_EQ(k.shift, c.shift) << std::hex << c.key;
    }
}

TEST(RichTextEdit, KeysRaiseEventsThatCanSwallowThem)
{
    RichTextEdit edit;
    RichTextBox& box = edit.box();
    std::vector<std::pair<int, int>> downs;
    std::vector<int> ups;
    QObject::connect(&box, &RichTextBox::KeyDown, [&](int& code, int shift) {
        downs.emplace_back(code, shift);
        if (code == 65)
            code = 0;
    });
    QObject::connect(&box, &RichTextBox::KeyPress, [&](int& ascii) {
        if (ascii == 'c')
            ascii = 0;
        else if (ascii == 'x')
            ascii = 'y';
    });
    QObject::connect(&box, &RichTextBox::KeyUp, [&](int& code, int) { ups.push_back(code); });
    int changes = 0;
    int selChanges = 0;
    QObject::connect(&box, &RichTextBox::Change, [&] { ++changes; });
    QObject::connect(&box, &RichTextBox::SelChange, [&] { ++selChanges; });

    press(edit, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    press(edit, Qt::Key_B, Qt::NoModifier, QStringLiteral("b"));
    press(edit, Qt::Key_C, Qt::NoModifier, QStringLiteral("c"));
    press(edit, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    press(edit, Qt::Key_Return, Qt::ShiftModifier, QStringLiteral("\r"));
    press(edit, Qt::Key_D, Qt::NoModifier, QStringLiteral("d"));
    EXPECT_EQ(s(box.Text()), "by\r\nd");
    EXPECT_FALSE(box.Text().contains(QChar::LineSeparator));
    EXPECT_EQ(box.SelStart(), 5);
    EXPECT_EQ(edit.textCursor().position(), 4);
    ASSERT_EQ(downs.size(), 6u);
    EXPECT_EQ(downs[4], std::make_pair(13, 1));
    EXPECT_EQ(ups.size(), 6u);
    EXPECT_EQ(changes, 4);
    EXPECT_EQ(selChanges, 4);

    press(edit, Qt::Key_Left);
    EXPECT_EQ(box.SelStart(), 4);
    EXPECT_EQ(selChanges, 5);
    press(edit, Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b"));
    EXPECT_EQ(s(box.Text()), "byd");
    EXPECT_EQ(box.SelStart(), 2);
    EXPECT_EQ(box.document()->availableUndoSteps(), 0);

    box.setSelFontName(kSong);
    QInputMethodEvent composed(QString(), {});
    composed.setCommitString(QStringLiteral("歌"));
    QApplication::sendEvent(&edit, &composed); // committed text is typed text
    EXPECT_EQ(s(box.Text()), "by歌d");
    box.select(2, 1);
    EXPECT_EQ(s(box.SelFontName()), s(kSong));
}

TEST(RichTextEdit, MouseButtonsReportClassicCodesInTwips)
{
    RichTextEdit edit;
    edit.resize(300, 200);
    std::vector<std::tuple<int, int, double>> events;
    QObject::connect(&edit.box(), &RichTextBox::MouseDown,
        [&](int button, int shift, double x, double) { events.emplace_back(button, shift, x); });
    QObject::connect(&edit.box(), &RichTextBox::MouseUp,
        [&](int button, int shift, double x, double) { events.emplace_back(-button, shift, x); });
    const QPointF at(20, 10);
    QMouseEvent down(QEvent::MouseButtonPress, at, edit.mapToGlobal(at), Qt::RightButton, Qt::RightButton,
        Qt::ControlModifier);
    QApplication::sendEvent(edit.viewport(), &down);
    QMouseEvent up(QEvent::MouseButtonRelease, at, edit.mapToGlobal(at), Qt::RightButton, Qt::NoButton,
        Qt::ControlModifier);
    QApplication::sendEvent(edit.viewport(), &up);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(std::get<0>(events[0]), 2);
    EXPECT_EQ(std::get<1>(events[0]), 2);
    EXPECT_DOUBLE_EQ(std::get<2>(events[0]), 20 * 1440.0 / edit.logicalDpiX());
    EXPECT_EQ(std::get<0>(events[1]), -2);
}

TEST(RichTextEdit, ClipboardCarriesRtfAndPlainTextNeverHtml)
{
    RichTextBox source;
    source.setSelFontName(kNote);
    source.setSelFontSize(32);
    source.setSelText(QStringLiteral("\u4e00\u4e01"));
    source.select(0, 2);
    source.Copy();
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasFormat(QStringLiteral("text/rtf")));
    EXPECT_FALSE(data->hasHtml());
    EXPECT_EQ(s(data->text()), s(QStringLiteral("\u4e00\u4e01")));

    RichTextEdit target;
    RichTextBox& box = target.box();
    box.setSelFontName(kSong);
    box.setSelText(QStringLiteral("ab"));
    box.setSelStart(1);
    target.paste();
    EXPECT_EQ(s(box.Text()), s(QStringLiteral("a\u4e00\u4e01b")));
    box.select(1, 2);
    EXPECT_EQ(s(box.SelFontName()), s(kNote)); // RTF first
    EXPECT_EQ(box.SelFontSize(), 32);

    QMimeData plain;
    plain.setText(QStringLiteral("x\ny"));
    plain.setHtml(QStringLiteral("<b>html</b>"));
    box.setSelStart(0);
    box.insertMimeData(&plain);
    EXPECT_EQ(s(box.Text()), s(QStringLiteral("x\r\nya\u4e00\u4e01b")));
    box.select(0, 1);
    EXPECT_EQ(s(box.SelFontName()), s(kSong)); // plain text in the insertion format
}

TEST(RichTextEdit, LinesWrapAtTheViewsWidthAndFollowItsScrolling)
{
    RichTextEdit edit;
    edit.resize(200, 100);
    edit.show();
    QString words;
    for (int i = 0; i < 40; ++i)
        words += QStringLiteral("word%1 ").arg(i);
    edit.box().setSelText(words);
    QApplication::processEvents();
    EXPECT_GT(GetRtbLineCount(edit.box()), 5);
    edit.verticalScrollBar()->setValue(0);
    EXPECT_EQ(GetFirstVisibleLine(edit.box()), 0);
    edit.verticalScrollBar()->setValue(edit.verticalScrollBar()->maximum());
    EXPECT_GT(GetFirstVisibleLine(edit.box()), 2);
}
// A playback view is read-only: keys still raise their events, but nothing typed, composed,
// pasted or dropped changes its text.
TEST(RichTextEdit, ReadOnlyViewKeepsItsText)
{
    RichTextEdit edit;
    RichTextBox& box = edit.box();
    box.setText(QStringLiteral("abc"));
    edit.setReadOnly(true);
    box.setSelStart(1);
    std::vector<int> downs;
    QObject::connect(&box, &RichTextBox::KeyDown, [&](int& code, int) { downs.push_back(code); });

    press(edit, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    press(edit, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    press(edit, Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b"));
    QInputMethodEvent composed(QString(), {});
    composed.setCommitString(QStringLiteral("歌"));
    QApplication::sendEvent(&edit, &composed);
    QApplication::clipboard()->setText(QStringLiteral("PASTE"));
    edit.paste();
    EXPECT_EQ(s(box.Text()), "abc");
    EXPECT_EQ(downs, (std::vector<int> { 88, 13, 8 }));
}
