#include "app/editor/parts/main_form_editing.h"
#include "app/editor/parts/main_form_score_files.h"
#include "app/editor/window/main_form.h"
#include "app/frame/process_state.h"
#include "app/frame/recent_files.h"
#include "app/frame/score_file_commands.h"
#include "app/frame/start_args.h"
#include "app/frame/write_vls.h"
#include "app/notation/play_order.h"
#include "platform/richtext/rich_text_edit.h"
#include "platform/richtext/rich_text_format.h"
#include "platform/settings/program_folder.h"
#include "tests/editing/score_builder.h"
#include "tests/editor/window_fixture.h"
#include "tests/support/fake_devices.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/test_folders.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QMenu>
#include <QTextBlock>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace tunvale;

namespace {

editor::MainFormServices silentServices()
{
    editor::MainFormServices services;
    services.midiDevices = std::make_unique<tunvale::testing::FakeDevices>();
    return services;
}

QString sample(const QString& name)
{
    return frame::ScorePathKey(
        QDir(platform::ProgramFolder::dataDir()).filePath(QStringLiteral("vls/") + name));
}

} // namespace

TEST(MainFormScoreFiles, TheStartScoreOpensRegisteredAndInTheRecentItems)
{
    tunvale::testing::ScopedUserFolder user;
    tunvale::testing::ScopedSettingsFolder settings;
    tunvale::testing::ScopedPrompts prompts;
    frame::Process().ScoreHeader = {};
    frame::Process().start = {};
    frame::Process().ScoreHeader.CurrentFile = sample(QStringLiteral("molihua.vls"));
    {
        editor::MainForm form(silentServices());
        ASSERT_TRUE(form.load());
        editor::MainFormScoreFiles& files = form.part<editor::MainFormScoreFiles>();
        EXPECT_TRUE(prompts->texts().isEmpty()) << prompts->texts().join(u'|').toStdString();
        EXPECT_EQ(frame::Process().ScoreHeader.CurrentFile, sample(QStringLiteral("molihua.vls")));
        EXPECT_FALSE(form.editor().Text().isEmpty());
        EXPECT_TRUE(frame::Process().ScoreHeader.ScoreSaved);
        EXPECT_EQ(files.commands().services().registry.FindFileWindow(sample(QStringLiteral("molihua.vls"))),
            files.commands().services().ownId);
        form.menu(QStringLiteral("File"))->aboutToShow();
        EXPECT_EQ(form.action(QStringLiteral("mLastFile"), 0)->text(),
            QStringLiteral("&1 ") + sample(QStringLiteral("molihua.vls")));
        EXPECT_EQ(form.action(QStringLiteral("mLastFile"), 0)->data().toString(),
            sample(QStringLiteral("molihua.vls")));
        EXPECT_TRUE(form.action(QStringLiteral("SaveVls"))->isEnabled());
        EXPECT_TRUE(form.action(QStringLiteral("InputVls(1)"))->isEnabled());
        form.close();
    }
    // The window closed: so did its entry.
    EXPECT_EQ(frame::OpenScoreRegistry().FindFileWindow(sample(QStringLiteral("molihua.vls"))), 0);
}

// 4,000 lines at 1638 points stand taller than the window's layout can count: the score is refused at
// open with a message, and the window keeps its score as it was.
TEST(MainFormScoreFiles, AScoreTooTallToShowIsRefusedAndTheWindowKeepsItsScore)
{
    tunvale::testing::WindowTest t;
    editor::MainForm& form = t.load();
    form.show();
    const QString text = form.editor().Text();
    const QString untitled = frame::Process().ScoreHeader.CurrentFile;
    notation::ScoreHeader header;
    header.CurrentFile = frame::ScorePathKey(t.user.file(QStringLiteral("tall.vls")));
    const QByteArray rtf = "{\\rtf1 " + QByteArray("\\fs3276 1\\par ").repeated(4000) + "}";
    ASSERT_TRUE(frame::WriteVls(header, {}, rtf, {}, notation::PlayOrder {}));

    form.part<editor::MainFormScoreFiles>().commands().OpenVls(header.CurrentFile);
    EXPECT_EQ(t.prompts->texts(),
        QStringList { frame::CannotOpenText(header.CurrentFile, frame::kTallTextReason) });
    EXPECT_EQ(form.editor().Text(), text);
    EXPECT_EQ(frame::Process().ScoreHeader.CurrentFile, untitled);
}

// Characters at 1638 points stand a line each. Typing, of text on a lyric line or of notes on a notation
// line, goes on as long as the window can show the score: a key that would make it taller is refused with
// a message, and what the window took is saved and opens again. A score made taller another way is not
// saved, and its file stays as it was.
TEST(MainFormScoreFiles, TypingStopsAtTheTallestScoreTheOpenTakesAndASaveNeverPassesIt)
{
    using namespace tunvale::testing;
    for (const auto& [font, character] : { std::pair(kSong, u'1'), std::pair(kNote, char16_t(Note(1))) }) {
        SCOPED_TRACE(font.toStdString());
        WindowTest t;
        notation::ScoreHeader header;
        header.CurrentFile = frame::ScorePathKey(t.user.file(QStringLiteral("tall.vls")));
        const auto rtfOf = [&](int characters) {
            platform::RichTextBox score;
            Append(score, font, QString(characters, character));
            score.select(0, score.TextLength());
            score.setSelFontSize(1638);
            return score.TextRTFBytes();
        };
        const auto opens = [&](int characters) {
            return !frame::UnshowableTextReason(
                QString::fromLatin1(rtfOf(characters)), header.LeftSpace, header.RightSpace);
        };
        int most = 1;
        for (int step = 2048; step > 0; step /= 2) {
            if (opens(most + step))
                most += step;
        }
        ASSERT_GT(most, 1000);
        ASSERT_TRUE(frame::WriteVls(header, {}, rtfOf(most - 5), {}, notation::PlayOrder {}));
        const auto open = [&]() -> editor::MainForm& {
            t.form.reset();
            editor::MainForm& form = t.load(header.CurrentFile);
            form.show();
            return form;
        };

        editor::MainForm& typed = open();
        ASSERT_TRUE(t.prompts->texts().isEmpty()) << t.prompts->texts().join(u'|').toStdString();
        typed.editor().setSelStart(typed.editor().TextLength());
        for (int i = 0; i < 10; ++i) {
            QKeyEvent one(QEvent::KeyPress, Qt::Key_1, Qt::NoModifier, QStringLiteral("1"));
            QApplication::sendEvent(typed.editorView(), &one);
        }
        const QString text = typed.editor().Text();
        EXPECT_EQ(text, QString(text.size(), character));
        EXPECT_GT(text.size(), most - 5);
        EXPECT_EQ(t.prompts->texts(), QStringList(10 - (text.size() - (most - 5)), editor::kTypingRefused));
        ASSERT_TRUE(typed.part<editor::MainFormScoreFiles>().commands().save());
        t.prompts->shown.clear();
        EXPECT_EQ(open().editor().Text(), text);
        EXPECT_TRUE(t.prompts->texts().isEmpty()) << t.prompts->texts().join(u'|').toStdString();

        editor::MainForm& taller = *t.form;
        QFile file(header.CurrentFile);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray saved = file.readAll();
        file.close();
        taller.editor().setSelStart(taller.editor().TextLength());
        taller.editor().setSelText(QString(2, character));
        EXPECT_FALSE(taller.part<editor::MainFormScoreFiles>().commands().save());
        EXPECT_EQ(t.prompts->texts(), QStringList { frame::kSaveTooTallMessage });
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), saved);
        frame::Process().ScoreHeader.ScoreSaved = true;
    }
}

// A line of any length that the window takes, typed or pasted, is saved and opens again, laid out at
// the page's width.
TEST(MainFormScoreFiles, LongLinesTypedOrPastedAreSavedAndOpenAgain)
{
    tunvale::testing::WindowTest t;
    notation::ScoreHeader header;
    header.CurrentFile = frame::ScorePathKey(t.user.file(QStringLiteral("line.vls")));
    const QByteArray rtf = "{\\rtf1 " + QByteArray(10'000, '1') + "\\par 1 2 3\\par}";
    ASSERT_TRUE(frame::WriteVls(header, {}, rtf, {}, notation::PlayOrder {}));
    const auto reopen = [&]() -> editor::MainForm& {
        t.form.reset();
        editor::MainForm& form = t.load(header.CurrentFile);
        form.show();
        EXPECT_TRUE(t.prompts->texts().isEmpty()) << t.prompts->texts().join(u'|').toStdString();
        EXPECT_EQ(frame::Process().ScoreHeader.CurrentFile, header.CurrentFile);
        return form;
    };
    const auto firstLine = [](editor::MainForm& form) { return form.editor().Text().section(u'\r', 0, 0); };

    editor::MainForm& typed = reopen();
    typed.editor().setSelStart(10'000);
    QKeyEvent down(QEvent::KeyPress, Qt::Key_5, Qt::NoModifier, QStringLiteral("5"));
    QApplication::sendEvent(typed.editorView(), &down);
    ASSERT_EQ(firstLine(typed), QString(10'000, u'1') + u'5');
    ASSERT_TRUE(typed.part<editor::MainFormScoreFiles>().commands().save());

    editor::MainForm& pasted = reopen();
    ASSERT_EQ(firstLine(pasted), QString(10'000, u'1') + u'5');
    pasted.editor().select(0, 10'001);
    pasted.action(QStringLiteral("mnuCopy"))->trigger();
    pasted.editor().setSelStart(10'001);
    pasted.action(QStringLiteral("mnuPaste"))->trigger();
    ASSERT_TRUE(pasted.part<editor::MainFormScoreFiles>().commands().save());

    editor::MainForm& again = reopen();
    EXPECT_EQ(firstLine(again), (QString(10'000, u'1') + u'5').repeated(2));
    EXPECT_GT(again.editor().LineCount(), 100);
    EXPECT_EQ(again.editorView()->wordWrapMode(), QTextOption::WrapAnywhere);
}

// A score goes into the editor with the margins it is to have, in one change of the text: its lines are
// laid out once, and every paragraph has the indents that the margins give.
TEST(MainFormScoreFiles, AScoreGoesInWithItsMarginsInOneChange)
{
    tunvale::testing::WindowTest t;
    editor::MainForm& form = t.load();
    form.show();
    // Changes that put text in or format it; the clearing before a text goes in puts nothing in.
    int changes = 0;
    QObject::connect(form.editor().document(), &QTextDocument::contentsChange,
        [&changes](int, int, int added) { changes += added > 0; });
    const QString score = t.sampleScore(QStringLiteral("molihua.vls"));
    form.part<editor::MainFormScoreFiles>().commands().OpenVls(score, true);
    ASSERT_EQ(frame::Process().ScoreHeader.CurrentFile, frame::ScorePathKey(score));
    EXPECT_EQ(changes, 1);
    const auto [left, right] = form.layoutIndents(0);
    for (QTextBlock block = form.editor().document()->begin(); block.isValid(); block = block.next()) {
        const platform::ParagraphFormat format = platform::ToParagraphFormat(block.blockFormat());
        EXPECT_EQ(std::pair(format.leftIndent, format.rightIndent), std::pair(left, right));
    }
}
