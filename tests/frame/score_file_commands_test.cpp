#include "app/frame/first_text_line.h"
#include "app/frame/score_file_commands.h"

#include "app/frame/editor_score_file.h"
#include "app/frame/read_vls.h"
#include "app/frame/recent_files.h"
#include "app/frame/score_window.h"
#include "app/frame/start_args.h"
#include "app/frame/write_vls.h"
#include "app/notation/save_messages.h"
#include "app/notation/score_template.h"
#include "platform/richtext/rich_text_box.h"
#include "platform/settings/ini_file.h"
#include "platform/settings/program_folder.h"
#include "tests/frame/fake_score_window.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/test_folders.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <deque>

using namespace tunvale;
using platform::PromptAnswer;
using tunvale::testing::readAll;
using tunvale::testing::writeAll;

namespace {

constexpr qint64 kOwnId = 31337;

QByteArray rtfWithTitle(const QByteArray& title, const QByteArray& font = "KORVA_Note")
{
    return "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil " + font
        + ";}{\\f1\\fnil \\'cb\\'ce\\'cc\\'e5;}}"
          "\\f1 "
        + title + "\\par \\f0 \\'d2\\'bb^\\'d2\\'bb\\par }";
}

// A paragraph of one digit at 1638 points, and one of forty spaced digits.
const QByteArray kLargestDigits = "\\fs3276 1\\par ";
const QByteArray kSpacedDigits = QByteArray("1 ").repeated(40) + "\\par ";

// A score file with `records` drum records.
// A text of `count` paragraphs, each in a font of its own.
QByteArray rtfInFonts(int count)
{
    QByteArray table;
    QByteArray body;
    for (int i = 0; i < count; ++i) {
        table += "{\\f" + QByteArray::number(i) + "\\fnil Font" + QByteArray::number(i) + ";}";
        body += "\\f" + QByteArray::number(i) + " 1\\par ";
    }
    return "{\\rtf1\\ansi{\\fonttbl" + table + "}" + body + "}";
}

void writeScore(const QString& path, int records, const QByteArray& rtf = rtfWithTitle("Song"),
    int speed = 88, std::int16_t margins = notation::ScoreHeader {}.LeftSpace)
{
    notation::ScoreHeader header;
    header.CurrentFile = path;
    header.LeftSpace = header.RightSpace = margins;
    header.Speed = std::int16_t(speed);
    header.Volume = 77;
    header.Instrument = 5;
    notation::DrumStore drums(static_cast<std::size_t>(records));
    for (int i = 0; i < records; ++i) {
        drums[std::size_t(i)].HaveDrum = 1;
        drums[std::size_t(i)].DrumSpeed = std::uint8_t(i + 1);
    }
    notation::PlayOrder order;
    ASSERT_TRUE(frame::WriteVls(header, notation::ColorScheme {}, rtf, drums, order));
}

// Everything one command test needs: folders, settings, prompts, a window and scripted dialogs.
struct Fixture {
    tunvale::testing::ScopedUserFolder user;
    tunvale::testing::ScopedSettingsFolder settings;
    tunvale::testing::ScopedPrompts prompts;
    QTemporaryDir dir;
    tunvale::testing::FakeScoreWindow window;
    std::deque<QString> dialogAnswers;
    std::vector<std::pair<platform::FileDialogRequest, bool>> dialogs;
    std::unique_ptr<frame::ScoreFileCommands> commands;

    Fixture()
    {
        frame::ScoreFileServices services;
        services.ownId = kOwnId;
        services.program = QStringLiteral("/nonexistent/tunvale");
        services.restoreWindow = [](qint64, const QString&) { return frame::RaiseVerdict::Gone; };
        services.fileDialog = [this](const platform::FileDialogRequest& request, bool isSave) {
            dialogs.emplace_back(request, isSave);
            QString answer;
            if (!dialogAnswers.empty()) {
                answer = dialogAnswers.front();
                dialogAnswers.pop_front();
            }
            return answer;
        };
        commands = std::make_unique<frame::ScoreFileCommands>(window, services);
    }

    QString path(const QString& name) const { return frame::ScorePathKey(dir.filePath(name)); }
    qint64 entry(const QString& score) const { return commands->services().registry.FindFileWindow(score); }

    // Loads the template as the window's first score.
    void startUntitled()
    {
        commands->OpenVls(notation::TemplatePath());
        ASSERT_TRUE(notation::IsTemplatePath(window.head.CurrentFile))
            << window.head.CurrentFile.toStdString();
    }
};

QStringList folderEntries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
}

} // namespace

TEST(ScoreFileCommands, OpeningLoadsTheScoreIntoTheWindow)
{
    Fixture f;
    const QString song = f.path(QStringLiteral("song.vls"));
    writeScore(song, 3);
    const QStringList dataBefore = folderEntries(platform::ProgramFolder::dataDir());
    f.window.bars = 5;
    f.window.head.ScoreSaved = true;
    f.commands->OpenVls(song);

    EXPECT_EQ(f.window.head.CurrentFile, song);
    EXPECT_EQ(f.window.kept, song);
    EXPECT_TRUE(f.window.head.ScoreSaved);
    EXPECT_EQ(f.window.instrument, 5);
    EXPECT_EQ(f.window.speed, QStringLiteral("88"));
    EXPECT_EQ(f.window.volume, QStringLiteral("77"));
    EXPECT_EQ(f.window.caption, QStringLiteral("Tunvale"));
    EXPECT_TRUE(f.window.box.Text().startsWith(QStringLiteral("Song\r\n")));
    EXPECT_EQ(f.window.calls,
        (QStringList { "resetCaret", "fillSoundList", "Timer8", "JzRTB", "UndoReset", "RefreshDrumSlider",
            "InitDrumUndo", "clearDrumUndoLists" }));
    // Three records for five bars: two empty ones added.
    ASSERT_EQ(f.window.drums.size(), 5u);
    EXPECT_EQ(f.window.drums[2].DrumSpeed, 3);
    EXPECT_EQ(f.window.drums[3], notation::DrumRecord {});
    EXPECT_FALSE(f.window.order.Entries.empty());
    EXPECT_EQ(frame::RecentFiles::Entries().value(0), song);
    EXPECT_EQ(f.window.menuRebuilds, 1);
    EXPECT_EQ(f.entry(song), kOwnId);
    // Opening writes no temporary file anywhere: the user folder holds the registry only.
    EXPECT_EQ(folderEntries(f.user.path()), QStringList { QStringLiteral("MyNote.ini") });
    EXPECT_EQ(folderEntries(platform::ProgramFolder::dataDir()), dataBefore);

    // More records than bars are cut.
    f.window.bars = 2;
    f.commands->OpenVls(song);
    EXPECT_EQ(f.window.drums.size(), 2u);
}

TEST(ScoreFileCommands, TheOldNotationFontNameReadsAsTheCurrentOne)
{
    Fixture f;
    const QString old = f.path(QStringLiteral("old.vls"));
    writeScore(old, 1, rtfWithTitle("Velmora", "VELMORA"));
    const QByteArray before = readAll(old);
    f.commands->OpenVls(old);
    const QTextCursor cursor(f.window.box.document()->findBlockByNumber(1));
    QTextCursor inNotes = cursor;
    inNotes.movePosition(QTextCursor::NextCharacter);
    EXPECT_EQ(inNotes.charFormat().fontFamilies().toStringList().value(0), QStringLiteral("KORVA_Note"));
    // The text is left alone, and so is the file.
    EXPECT_TRUE(f.window.box.Text().startsWith(QStringLiteral("Velmora\r\n")));
    EXPECT_EQ(readAll(old), before);
}

TEST(ScoreFileCommands, AFailedOpenKeepsTheScore)
{
    Fixture f;
    const QString song = f.path(QStringLiteral("song.vls"));
    writeScore(song, 1);
    f.commands->OpenVls(song);
    const QString text = f.window.box.Text();
    f.window.head.ScoreSaved = false;

    ASSERT_TRUE(QDir(f.dir.path()).mkdir(QStringLiteral("folder.vls")));
    QByteArray tooNew = readAll(song);
    tooNew[13] = 6;
    ASSERT_TRUE(writeAll(f.dir.filePath(QStringLiteral("new.vls")), tooNew));
    ASSERT_TRUE(writeAll(f.dir.filePath(QStringLiteral("huge.vls")),
        tooNew.leftJustified(qsizetype(notation::kMaxScoreFileBytes) + 1, ' ')));
    ASSERT_TRUE(writeAll(f.dir.filePath(QStringLiteral("notes.vls")), "just some notes, no score\n"));
    QByteArray damaged = readAll(song);
    const qsizetype body = damaged.lastIndexOf("/Vls") + 4;
    for (qsizetype i = body; i < body + 16 && i < damaged.size(); ++i)
        damaged[i] = char(damaged[i] ^ 0x5A);
    ASSERT_TRUE(writeAll(f.dir.filePath(QStringLiteral("damaged.vls")), damaged));
    ASSERT_TRUE(
        writeAll(f.dir.filePath(QStringLiteral("cut.vls")), readAll(song).left(readAll(song).size() / 2)));
    writeScore(f.path(QStringLiteral("tall.vls")), 1, rtfWithTitle(kLargestDigits.repeated(4000)));
    writeScore(
        f.path(QStringLiteral("narrow.vls")), 1, rtfWithTitle(kSpacedDigits.repeated(8000)), 88, 20000);
    writeScore(f.path(QStringLiteral("fonts.vls")), 1, rtfInFonts(int(platform::kMostFonts) + 1));
    struct Case {
        QString file;
        QString message;
        int closes;
    };
    const std::vector<Case> cases = {
        { f.path(QStringLiteral("missing.vls")), frame::kFileMissingMessage, 0 },
        { f.path(QStringLiteral("folder.vls")),
            frame::CannotOpenText(f.path(QStringLiteral("folder.vls")), frame::kFolderReason), 0 },
        { f.path(QStringLiteral("new.vls")),
            frame::CannotOpenText(f.path(QStringLiteral("new.vls")), frame::kTooNewMessage), 1 },
        { f.path(QStringLiteral("huge.vls")),
            frame::CannotOpenText(f.path(QStringLiteral("huge.vls")), frame::kTooLargeMessage), 0 },
        { f.path(QStringLiteral("notes.vls")),
            frame::CannotOpenText(f.path(QStringLiteral("notes.vls")), frame::kNotAScoreReason), 0 },
        { f.path(QStringLiteral("damaged.vls")),
            frame::CannotOpenText(f.path(QStringLiteral("damaged.vls")), frame::kDamagedReason), 0 },
        { f.path(QStringLiteral("cut.vls")),
            frame::CannotOpenText(f.path(QStringLiteral("cut.vls")), frame::kDamagedReason), 0 },
        { f.path(QStringLiteral("tall.vls")),
            frame::CannotOpenText(f.path(QStringLiteral("tall.vls")), frame::kTallTextReason), 0 },
        { f.path(QStringLiteral("narrow.vls")),
            frame::CannotOpenText(f.path(QStringLiteral("narrow.vls")), frame::kTallTextReason), 0 },
        { f.path(QStringLiteral("fonts.vls")),
            frame::CannotOpenText(f.path(QStringLiteral("fonts.vls")), frame::kTooManyFontsReason), 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        f.prompts->shown.clear();
        f.window.closes = 0;
        // An untitled window with changes: the question first, and No goes on to the load.
        f.window.head.CurrentFile = notation::TemplatePath();
        f.prompts->answers.push_back(PromptAnswer::No);
        f.commands->OpenVls(c.file);
        EXPECT_EQ(f.prompts->texts(), (QStringList { frame::kSaveFirstQuestion, c.message }));
        EXPECT_EQ(f.window.closes, c.closes);
        EXPECT_EQ(f.window.box.Text(), text);
        EXPECT_FALSE(f.window.head.ScoreSaved);
        EXPECT_EQ(f.window.head.CurrentFile, notation::TemplatePath());
        // The registration made for the failed load is undone.
        EXPECT_EQ(f.entry(c.file), 0);
    }
}

// Scores as tall as the window lays out in time open: large characters, margins that leave no room on a
// text that is not long, and as many fonts as it takes.
TEST(ScoreFileCommands, ScoresTheWindowCanLayOutOpen)
{
    Fixture f;
    const QString song = f.path(QStringLiteral("song.vls"));
    const std::pair<QByteArray, std::int16_t> scores[] = { { rtfWithTitle(kLargestDigits.repeated(1000)),
                                                               820 },
        { rtfWithTitle(kSpacedDigits.repeated(50)), 20000 }, { rtfInFonts(int(platform::kMostFonts)), 820 } };
    for (const auto& [rtf, margins] : scores) {
        writeScore(song, 1, rtf, 88, margins);
        f.commands->OpenVls(song);
        EXPECT_TRUE(f.prompts->texts().isEmpty()) << f.prompts->texts().join(u'|').toStdString();
        EXPECT_EQ(f.window.head.CurrentFile, song);
        EXPECT_EQ(f.window.head.LeftSpace, margins);
    }
}

// However long a line is, with or without places to wrap, the score opens.
TEST(ScoreFileCommands, LongLinesOpen)
{
    Fixture f;
    QByteArray chinese;
    for (int i = 0; i < 100'000; ++i)
        chinese += "\\'d6\\'d0";
    const QByteArray lines[] = { QByteArray(400'000, '1'), chinese, QByteArray("1 ").repeated(100'000) };
    for (const QByteArray& line : lines) {
        const QString song = f.path(QStringLiteral("song.vls"));
        writeScore(song, 1, rtfWithTitle(line));
        f.commands->OpenVls(song);
        EXPECT_TRUE(f.prompts->texts().isEmpty()) << f.prompts->texts().join(u'|').toStdString();
        EXPECT_EQ(f.window.head.CurrentFile, song);
        EXPECT_GE(f.window.box.TextLength(), 100'000);
    }
}

TEST(ScoreFileCommands, OpenDialogStartsAtTheSamplesUntilTheUserHasScores)
{
    Fixture f;
    f.startUntitled();
    f.commands->openWithDialog(); // cancelled: nothing happens
    ASSERT_EQ(f.dialogs.size(), 1u);
    const platform::FileDialogRequest& first = f.dialogs[0].first;
    EXPECT_FALSE(f.dialogs[0].second);
    EXPECT_EQ(first.initialFolder, frame::SampleScoreFolder());
    // Both folders are called "vls": the sidebar names each for what it holds.
    EXPECT_EQ(first.sidebarPlaces,
        (QList<platform::FileDialogPlace> { { frame::UserScoreFolder(), QStringLiteral("我的乐谱") },
            { frame::SampleScoreFolder(), QStringLiteral("示例乐谱") } }));
    EXPECT_EQ(first.filters.value(3), QStringLiteral(" *.*"));
    EXPECT_TRUE(f.prompts->texts().isEmpty());
    EXPECT_TRUE(notation::IsTemplatePath(f.window.head.CurrentFile));

    writeScore(QDir(frame::UserScoreFolder()).filePath(QStringLiteral("mine.vls")), 1);
    f.dialogAnswers.push_back(f.path(QStringLiteral("missing.vls")));
    f.commands->openWithDialog();
    EXPECT_EQ(f.dialogs[1].first.initialFolder, frame::UserScoreFolder());
    EXPECT_EQ(f.prompts->texts(), QStringList { frame::kFileMissingMessage });

    const QString sample = frame::ScorePathKey(QDir(frame::SampleScoreFolder()).filePath("molihua.vls"));
    f.dialogAnswers.push_back(sample);
    f.commands->openWithDialog();
    EXPECT_EQ(f.window.head.CurrentFile, sample);
    EXPECT_EQ(f.window.barPanel, QStringLiteral("小节：1/..."));
}

TEST(ScoreFileCommands, SaveProposesTheFirstTextLineCutToAFileName)
{
    Fixture f;
    f.window.box.setText(QStringLiteral("\r\n茉莉花\tA\x01\r\nrest"));
    EXPECT_EQ(
        frame::ProposedFileName(f.window.box.snapshot(), QStringLiteral(".vls")), QStringLiteral("茉莉花A"));
    // 300 three-byte characters: 83 of them fit before ".vls" in 255 bytes.
    f.window.box.setText(QString(300, QChar(0x8336)));
    EXPECT_EQ(
        frame::ProposedFileName(f.window.box.snapshot(), QStringLiteral(".vls")), QString(83, QChar(0x8336)));
    f.window.box.setText(QString());
    EXPECT_EQ(frame::ProposedFileName(f.window.box.snapshot(), QStringLiteral(".vls")), QString());
}

TEST(ScoreFileCommands, NothingIsEverWrittenOverTheTemplate)
{
    Fixture f;
    // A user copy of the template beside the shipped one.
    ASSERT_TRUE(QFile::copy(platform::ProgramFolder::dataPath(notation::kTemplateFileName),
        platform::ProgramFolder::userPath(notation::kTemplateFileName)));
    const QByteArray shipped = readAll(platform::ProgramFolder::dataPath(notation::kTemplateFileName));
    const QByteArray users = readAll(platform::ProgramFolder::userPath(notation::kTemplateFileName));
    f.startUntitled();
    f.window.head.ScoreSaved = false;
    for (const QString& answer : { platform::ProgramFolder::dataPath(notation::kTemplateFileName),
             platform::ProgramFolder::userPath(notation::kTemplateFileName) }) {
        f.prompts->shown.clear();
        const QString current = f.window.head.CurrentFile;
        f.dialogAnswers.push_back(answer);
        EXPECT_FALSE(f.commands->save());
        EXPECT_EQ(f.prompts->texts(), QStringList { frame::kTemplateRefusedMessage });
        EXPECT_EQ(f.window.head.CurrentFile, current);
        EXPECT_FALSE(f.window.head.ScoreSaved);
    }
    EXPECT_EQ(f.dialogs.front().first.title, QStringLiteral("保存简谱..."));
    EXPECT_EQ(f.dialogs.front().first.initialFolder, frame::UserScoreFolder());
    EXPECT_EQ(readAll(platform::ProgramFolder::dataPath(notation::kTemplateFileName)), shipped);
    EXPECT_EQ(readAll(platform::ProgramFolder::userPath(notation::kTemplateFileName)), users);
}

TEST(ScoreFileCommands, ASampleIsSavedUnderANameInTheUserFolder)
{
    Fixture f;
    const QString sample = frame::ScorePathKey(QDir(frame::SampleScoreFolder()).filePath("molihua.vls"));
    const QByteArray shipped = readAll(sample);
    f.commands->OpenVls(sample);
    f.window.head.ScoreSaved = false;
    const QString mine = QDir(frame::UserScoreFolder()).filePath(QStringLiteral("茉莉花.vls"));
    f.dialogAnswers.push_back(mine);
    EXPECT_TRUE(f.commands->save());
    ASSERT_EQ(f.dialogs.size(), 1u);
    EXPECT_TRUE(f.dialogs[0].second);
    // Only the folder a score can be saved in, not the read-only samples' folder of the same name.
    EXPECT_EQ(f.dialogs[0].first.sidebarPlaces,
        (QList<platform::FileDialogPlace> { { frame::UserScoreFolder(), QStringLiteral("我的乐谱") } }));
    EXPECT_EQ(readAll(sample), shipped);
    EXPECT_EQ(f.window.head.CurrentFile, frame::ScorePathKey(mine));
    EXPECT_TRUE(f.window.head.ScoreSaved);
    EXPECT_EQ(frame::RecentFiles::Entries().value(0), frame::ScorePathKey(mine));
    // Registration follows the score's path.
    EXPECT_EQ(f.entry(frame::ScorePathKey(mine)), kOwnId);
    EXPECT_EQ(f.entry(sample), 0);
}

TEST(ScoreFileCommands, ANamedScoreSavesWithoutADialogAndReadsBack)
{
    Fixture f;
    const QString song = f.path(QStringLiteral("song.vls"));
    writeScore(song, 2);
    f.commands->OpenVls(song);
    f.window.head.ScoreSaved = false;
    f.window.speed = QStringLiteral("99999"); // more than 16 bits hold
    f.window.volume = QStringLiteral("66.5");
    f.window.instrument = 40;
    f.window.drumPZ = false;
    EXPECT_TRUE(f.commands->save());
    EXPECT_TRUE(f.dialogs.empty());
    EXPECT_TRUE(f.window.head.ScoreSaved);

    QProcess tool;
    tool.start(QStringLiteral(TUNVALE_BUILD_DIR "/bin/scoretool"), { QStringLiteral("vls-dump"), song });
    ASSERT_TRUE(tool.waitForFinished(20000));
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    const QString dump = QString::fromUtf8(tool.readAllStandardOutput());
    EXPECT_TRUE(dump.contains(QStringLiteral("Speed: 32767"))) << dump.toStdString();
    EXPECT_TRUE(dump.contains(QStringLiteral("Volume: 66"))) << dump.toStdString();
    EXPECT_TRUE(dump.contains(QStringLiteral("Instrument: 40"))) << dump.toStdString();
    EXPECT_TRUE(dump.contains(QStringLiteral("DrumPZ: 0"))) << dump.toStdString();
}

TEST(ScoreFileCommands, AFailedSaveKeepsTheOldFileAndTheName)
{
    Fixture f;
    const QString song = f.path(QStringLiteral("song.vls"));
    writeScore(song, 1);
    f.startUntitled();
    const QByteArray before = readAll(song);

    // Untitled, saved over the file on a disk that fills up.
    f.window.head.ScoreSaved = false;
    const QString untitled = f.window.head.CurrentFile;
    f.dialogAnswers.push_back(song);
    {
        const tunvale::testing::FileSizeLimit full(64);
        EXPECT_FALSE(f.commands->save());
    }
    EXPECT_EQ(f.prompts->texts(),
        QStringList { notation::kWriteFailedMessage + u'\n' + song + u'\n'
            + QString::fromLocal8Bit(std::strerror(EFBIG)) });
    EXPECT_EQ(f.window.head.CurrentFile, untitled);
    EXPECT_FALSE(f.window.head.ScoreSaved);
    EXPECT_EQ(readAll(song), before);
    EXPECT_EQ(folderEntries(f.dir.path()), QStringList { QFileInfo(song).fileName() });
    EXPECT_EQ(f.entry(song), 0);
}

// A score whose notation is all gone has no play order to keep: the save stores none, as a save after
// it is opened again does.
TEST(ScoreFileCommands, AScoreWithoutNotationIsSavedWithoutAPlayOrder)
{
    Fixture f;
    const QString song = f.path(QStringLiteral("song.vls"));
    ASSERT_TRUE(QFile::copy(
        QDir(platform::ProgramFolder::dataDir()).filePath(QStringLiteral("vls/liangzhilaohu.vls")), song));
    QFile::setPermissions(song, QFile::ReadOwner | QFile::WriteOwner);
    f.commands->OpenVls(song);
    ASSERT_EQ(f.window.order.GetPlayOrderKey(), "00");
    ASSERT_EQ(notation::StoredPlayOrder(readAll(song)), notation::PlayOrderEntries { 0 });

    f.window.box.select(0, int(f.window.box.Text().size()));
    f.window.box.setSelText(QString());
    ASSERT_TRUE(f.commands->save());
    const QByteArray saved = readAll(song);
    EXPECT_EQ(notation::StoredPlayOrderKey(saved), QByteArray());
    EXPECT_EQ(notation::StoredPlayOrder(saved), notation::PlayOrderEntries {});

    f.commands->OpenVls(song);
    ASSERT_TRUE(f.commands->save());
    EXPECT_EQ(readAll(song), saved);
}

// Text that other editors stored as raw code page bytes (two bytes a character) is written back as
// "\\'xx\\'xx" escapes, eight bytes a character: a 1.2 MB score would grow beyond what opens.
TEST(ScoreFileCommands, ASaveThatWouldOutgrowTheLimitKeepsTheOldFileAndTheChanges)
{
    Fixture f;
    const QString song = f.path(QStringLiteral("raw.vls"));
    writeScore(song, 1, rtfWithTitle(QByteArray("\xd6\xd0").repeated(600'000)));
    f.commands->OpenVls(song);
    ASSERT_EQ(f.window.head.CurrentFile, song);
    const QByteArray before = readAll(song);
    f.window.head.ScoreSaved = false;

    EXPECT_FALSE(f.commands->save());
    EXPECT_EQ(f.prompts->texts(), QStringList { notation::kWriteTooLargeMessage });
    EXPECT_FALSE(f.window.head.ScoreSaved);
    EXPECT_EQ(f.window.head.CurrentFile, song);
    EXPECT_EQ(readAll(song), before);
    EXPECT_EQ(folderEntries(f.dir.path()), QStringList { QStringLiteral("raw.vls") });
}

// A text in more fonts than the open reads is never written, however it came into the editor.
TEST(ScoreFileCommands, ASaveOfATextInTooManyFontsKeepsTheOldFile)
{
    Fixture f;
    const QString song = f.path(QStringLiteral("song.vls"));
    writeScore(song, 1);
    f.commands->OpenVls(song);
    const QByteArray before = readAll(song);
    ASSERT_TRUE(f.window.box.setTextRTF(QString::fromLatin1(rtfInFonts(int(platform::kMostFonts) + 1))));

    EXPECT_FALSE(f.commands->save());
    EXPECT_EQ(f.prompts->texts(), QStringList { frame::kSaveTooManyFontsMessage });
    EXPECT_EQ(readAll(song), before);
}

TEST(ScoreFileCommands, SaveAsMovesTheRegistrationAndKeepsTheHeadersDrumSwitch)
{
    Fixture f;
    const QString song = f.path(QStringLiteral("song.vls"));
    writeScore(song, 1);
    f.commands->OpenVls(song);
    ASSERT_EQ(f.entry(song), kOwnId);
    f.window.head.DrumPZ = true;
    f.window.drumPZ = false;
    const QString copy = f.path(QStringLiteral("copy.vls"));
    f.dialogAnswers.push_back(copy);
    EXPECT_TRUE(f.commands->saveAs());
    EXPECT_EQ(f.dialogs[0].first.title, QStringLiteral("另存简谱..."));
    EXPECT_EQ(f.dialogs[0].first.filters.value(0), QStringLiteral("Vls文件(*.vls)"));
    EXPECT_EQ(f.window.head.CurrentFile, copy);
    EXPECT_EQ(f.entry(copy), kOwnId);
    EXPECT_EQ(f.entry(song), 0);
    EXPECT_TRUE(frame::ReadVls(copy, {}, {}).header.DrumPZ);

    // Cancelled: nothing changes.
    EXPECT_FALSE(f.commands->saveAs());
    EXPECT_EQ(f.window.head.CurrentFile, copy);
}

TEST(ScoreFileCommands, NewNeverLosesUnsavedWork)
{
    struct Case {
        const char* name;
        PromptAnswer answer;
        QString saveAs; // the save dialog's answer
        QStringList messages; // after the question
        bool opened; // the template in this window
    };
    const std::vector<Case> cases = {
        { "Yes, save cancelled: kept", PromptAnswer::Yes, QString(), {}, false },
        // Saved, the window shows a named score: the template goes to a further window, whose start
        // fails here.
        { "Yes, saved: a further window", PromptAnswer::Yes, QStringLiteral("saved.vls"),
            { frame::kStartFailedMessage }, false },
        { "No: the template", PromptAnswer::No, QString(), {}, true },
        { "Cancel: kept", PromptAnswer::Cancel, QString(), {}, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        f.startUntitled();
        f.window.box.setText(QStringLiteral("typed"));
        f.window.head.ScoreSaved = false;
        f.prompts->answers.push_back(c.answer);
        if (!c.saveAs.isEmpty())
            f.dialogAnswers.push_back(f.dir.filePath(c.saveAs));
        f.commands->newScore();
        EXPECT_EQ(f.prompts->texts(), QStringList { frame::kSaveFirstQuestion } + c.messages);
        EXPECT_EQ(f.window.box.Text() != QStringLiteral("typed"), c.opened);
        const bool saved = c.opened || !c.saveAs.isEmpty();
        EXPECT_EQ(f.window.head.ScoreSaved, saved);
    }
}

// From a modified named score, New starts a further window (whose start fails here) and asks nothing:
// the score stays in this window as it is.
TEST(ScoreFileCommands, NewFromANamedScoreAsksNothing)
{
    Fixture f;
    const QString song = f.path(QStringLiteral("song.vls"));
    writeScore(song, 1);
    f.commands->OpenVls(song);
    f.window.box.setText(QStringLiteral("typed"));
    f.window.head.ScoreSaved = false;
    f.commands->newScore();
    EXPECT_EQ(f.prompts->texts(), QStringList { frame::kStartFailedMessage });
    EXPECT_TRUE(f.dialogs.empty());
    EXPECT_EQ(f.window.head.CurrentFile, song);
    EXPECT_EQ(f.window.box.Text(), QStringLiteral("typed"));
    EXPECT_FALSE(f.window.head.ScoreSaved);
}

TEST(ScoreFileCommands, ANamedWindowOpensAnotherScoreInAFurtherWindow)
{
    Fixture f;
    const QString song = f.path(QStringLiteral("song.vls"));
    const QString other = f.path(QStringLiteral("other.vls"));
    writeScore(song, 1);
    writeScore(other, 1);
    f.commands->OpenVls(song);
    const QString text = f.window.box.Text();
    // The injected program does not exist: the start fails and says so.
    f.commands->OpenVls(other);
    EXPECT_EQ(f.prompts->texts(), QStringList { frame::kStartFailedMessage });
    EXPECT_EQ(f.window.head.CurrentFile, song);
    EXPECT_EQ(f.window.box.Text(), text);
    EXPECT_EQ(platform::ReadIniValue(QStringLiteral("WinPos"), QStringLiteral("WindowPos"),
                  f.commands->services().registry.iniFile()),
        QStringLiteral("1200,900,12000,9000,Normal"));
}

TEST(ScoreFileCommands, RecentItemsOpenWhatTheyName)
{
    Fixture f;
    f.startUntitled();
    f.commands->openRecentFile(QString()); // the "no history" item
    f.commands->openRecentFile(f.path(QStringLiteral("gone.vls")));
    EXPECT_EQ(
        f.prompts->texts(), (QStringList { frame::kRecentMissingMessage, frame::kRecentMissingMessage }));

    const QString amp = f.path(QStringLiteral("R&B.vls"));
    writeScore(amp, 1);
    f.commands->AddRecentFile(amp);
    const frame::RecentMenuItem item = frame::RecentFiles::ShowRecentFiles()[0];
    EXPECT_EQ(item.caption, QStringLiteral("&1 ") + QString(amp).replace(u'&', QStringLiteral("&&")));
    f.commands->openRecentFile(item.path);
    EXPECT_EQ(f.window.head.CurrentFile, amp);
}

TEST(ScoreFileCommands, FormatWinPosWritesShortestNumbers)
{
    EXPECT_EQ(
        frame::FormatWinPos(1200, 900, 12000, 9000, false), QStringLiteral("1200,900,12000,9000,Normal"));
    EXPECT_EQ(
        frame::FormatWinPos(0.5, -15, 1e7, 7.25, true), QStringLiteral("0.5,-15,10000000,7.25,Maximized"));
}
