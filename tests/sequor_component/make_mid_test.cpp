#include "sequor/make_mid.h"
#include "tests/sequor/sequor_text.h"
#include "tests/support/test_folders.h"

#include "platform/desktop/prompts.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tunvale::testing {
namespace {

using namespace sequor_text;

// Answers the options dialog from the test and remembers what it was shown.
struct ScriptedDialog final : sequor::ExportOptionsDialog {
    std::optional<sequor::ExportOptions> answer;
    std::vector<bool> selections;
    QStringList paths;

    std::optional<sequor::ExportOptions> run(
        const QString& path, bool hasSelection, const QStringList&) override
    {
        paths << path;
        selections.push_back(hasSelection);
        return answer;
    }
};

// Records every message with whether the target file existed when it was shown.
struct RecordingPrompts final : platform::Prompts {
    QString target;
    QStringList texts;
    std::vector<bool> fileExisted;

    platform::PromptAnswer ask(const platform::PromptRequest& request) override
    {
        EXPECT_EQ(request.icon, platform::PromptIcon::Information);
        EXPECT_TRUE(request.title.isEmpty());
        texts << request.text;
        fileExisted.push_back(QFile::exists(target));
        return platform::PromptAnswer::Ok;
    }
    std::optional<QString> input(const QString&, const QString&, const QString&) override { return {}; }
    void beep() override { }
};

class MakeMidTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(writeAll(dir_.filePath(QStringLiteral("Note.ini")), "[演唱顺序]\n00=1\n"));
    }

    // Runs one export to `target` with the dialog answering `options` (none: cancel).
    void exportTo(
        const QString& target, std::optional<sequor::ExportOptions> options, const QString& selection = {})
    {
        auto dialog = std::make_unique<ScriptedDialog>();
        dialog->answer = options;
        dialog_ = dialog.get();
        prompts_.target = target;
        makeMid_ = sequor::CreateMakeMid(prompts_, nullptr, std::move(dialog));
        sequor::MakeMidArguments a;
        a.FileName1 = target;
        a.AppPath1 = QStringList { dir_.path() };
        a.JPWord = score_;
        a.JPWord2 = selection;
        a.JeiPai1 = signature_;
        a.PlayOrder = sequor::LoadedOrder { QStringLiteral("0d0"), { 1, 0 } };
        makeMid_->ShowMainInfo(a);
    }

    QTemporaryDir dir_;
    RecordingPrompts prompts_;
    std::unique_ptr<sequor::MakeMid> makeMid_; // owns the dialog of the last export
    ScriptedDialog* dialog_ = nullptr;
    QString signature_ = QStringLiteral("4/4");
    // Two segments; the score plays the second first.
    const QString score_ = Text({ Note(1), Bar, Note(2), u'^', Note(3), Bar });
};

TEST_F(MakeMidTest, ExportsTheWholeScoreInItsOrder)
{
    const QString target = dir_.filePath(QStringLiteral("song.mid"));
    exportTo(target, sequor::ExportOptions {});
    EXPECT_EQ(dialog_->selections, std::vector<bool> { false });
    EXPECT_EQ(dialog_->paths, QStringList { target });
    EXPECT_EQ(prompts_.texts, QStringList { QStringLiteral("保存成功！") });
    EXPECT_EQ(prompts_.fileExisted, std::vector<bool> { true });
    // Melody: 64 first (the second segment), then 60 and 62.
    const QByteArray bytes = readAll(target);
    EXPECT_LT(bytes.indexOf(QByteArray::fromHex("914062")), bytes.indexOf(QByteArray::fromHex("3C62")));
}

TEST_F(MakeMidTest, SelectionExportsAsPlainBars)
{
    const QString target = dir_.filePath(QStringLiteral("part.mid"));
    sequor::ExportOptions options;
    options.SelectionOnly = true;
    exportTo(target, options, Text({ Note(5), u'^', Note(6), 0x6357 }));
    EXPECT_EQ(dialog_->selections, std::vector<bool> { true });
    EXPECT_EQ(prompts_.texts, QStringList { QStringLiteral("保存成功！") });
    const QByteArray bytes = readAll(target);
    EXPECT_LT(bytes.indexOf(QByteArray::fromHex("914362")), bytes.indexOf(QByteArray::fromHex("4562")));

    // Without "00" in the ini files the selection has no order.
    ASSERT_TRUE(writeAll(dir_.filePath(QStringLiteral("Note.ini")), "[演唱顺序]\n0d0=1\n"));
    const QString other = dir_.filePath(QStringLiteral("other.mid"));
    exportTo(other, options, Text({ Note(5), u'^', Note(6) }));
    EXPECT_EQ(prompts_.texts.last(), QStringLiteral("请先设置好歌曲的“演唱顺序”!"));
    EXPECT_FALSE(QFile::exists(other));
}

TEST_F(MakeMidTest, CancelWritesNothing)
{
    const QString target = dir_.filePath(QStringLiteral("old.mid"));
    ASSERT_TRUE(writeAll(target, "old"));
    exportTo(target, std::nullopt);
    EXPECT_TRUE(prompts_.texts.isEmpty());
    EXPECT_EQ(readAll(target), QByteArray("old"));
}

TEST_F(MakeMidTest, FailedWriteSaysSoAndKeepsTheOldFile)
{
    const QString old = dir_.filePath(QStringLiteral("old.mid"));
    ASSERT_TRUE(writeAll(old, "old"));
    const QStringList before = QDir(dir_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    // The message says which file and, where the system names it, why.
    const std::pair<QString, QString> targets[] = {
        { dir_.filePath(QStringLiteral("missing/song.mid")), QStringLiteral("\n文件夹不存在。") },
        { dir_.path(), QStringLiteral("\n已经有一个同名的文件夹。") },
    };
    for (const auto& [target, reason] : targets) {
        exportTo(target, sequor::ExportOptions {});
        EXPECT_EQ(prompts_.texts.last(), QStringLiteral("保存失败！\n") + target + reason);
    }
    signature_ = QStringLiteral("4/3"); // a time signature the file cannot hold
    exportTo(old, sequor::ExportOptions {});
    EXPECT_EQ(prompts_.texts.size(), 3);
    EXPECT_EQ(prompts_.texts.last(), QStringLiteral("保存失败！\n") + old);
    EXPECT_EQ(readAll(old), QByteArray("old"));
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
}

} // namespace
} // namespace tunvale::testing
