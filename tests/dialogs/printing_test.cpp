#include "app/dialogs/preview_printing.h"
#include "platform/desktop/notation_fonts.h"
#include "tests/dialogs/ink.h"
#include "tests/dialogs/paged_score.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/test_folders.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tunvale;
using namespace tunvale::testing;
using dialogs::DocumentEnd;
using dialogs::PreviewPrinting;
using dialogs::PrintRange;
using dialogs::PrintResult;
using Outcome = dialogs::PrintResult::Outcome;
using tunvale::testing::readAll;
using tunvale::testing::writeAll;

namespace {

// Keeps every document as pictures of its pages at 96 dpi.
struct Recording {
    std::vector<std::vector<QImage>> documents;
    bool refuseToOpen = false;
    std::vector<DocumentEnd> ends; // how each document ends; Printed when not given
};

class RecordingTarget final : public dialogs::PrintTarget
{
public:
    explicit RecordingTarget(Recording& recording)
        : recording_(recording)
    {
    }

    bool beginDocument() override
    {
        if (recording_.refuseToOpen)
            return false;
        recording_.documents.emplace_back();
        return newPage();
    }
    QPainter& painter() override { return painter_; }
    dialogs::RtfTarget target() const override
    {
        return { QSizeF(kPageWidth, kPageHeight), 96 / 1440.0, true };
    }
    bool newPage() override
    {
        if (painter_.isActive())
            painter_.end();
        QImage page(794, 1123, QImage::Format_RGB32);
        page.fill(Qt::white);
        recording_.documents.back().push_back(page);
        return painter_.begin(&recording_.documents.back().back());
    }
    DocumentEnd endDocument() override
    {
        painter_.end();
        const size_t index = recording_.documents.size() - 1;
        return index < recording_.ends.size() ? recording_.ends[index] : DocumentEnd::Printed;
    }

private:
    Recording& recording_;
    QPainter painter_;
};

class Printing : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { platform::loadNotationFonts(); }

    void SetUp() override
    {
        FillSong(score, 40, 600); // four pages
        pages.FormatRtfPages(*score.document(), QSizeF(kPageWidth, kPageHeight), { 0, 720, 0, 1440 });
    }

    // Prints with a dialog that answers `answer` (none: cancelled) into a recording.
    PrintResult print(int silent, std::optional<PrintRange> answer)
    {
        dialogs::PrintServices services;
        services.dialog = [&, answer](QWidget*, QPrinter&, int count, PrintRange& range) {
            dialogShownWith = { range.from, range.to, count };
            if (answer)
                range = *answer;
            return answer.has_value();
        };
        services.target = [this](QPrinter&) { return std::make_unique<RecordingTarget>(recording); };
        PreviewPrinting printing(pages, services);
        return printing.printRTF(silent);
    }

    ScopedPrompts prompts;
    platform::RichTextBox score;
    dialogs::RtfPrintPreview pages;
    Recording recording;
    std::optional<std::tuple<int, int, int>> dialogShownWith;
};

QString run(const QString& program, const QStringList& args)
{
    QProcess process;
    process.start(program, args);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Prints the pages through the real printer into the PDF at `pdf`, all of them or the range chosen.
PrintResult PrintToPdfFile(
    const dialogs::RtfPrintPreview& pages, const QString& pdf, std::optional<PrintRange> chosen = {})
{
    dialogs::PrintServices services;
    services.dialog = [&](QWidget*, QPrinter& printer, int, PrintRange& range) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        if (chosen)
            range = *chosen;
        return true;
    };
    services.target = [](QPrinter& printer) { return std::make_unique<dialogs::PrinterTarget>(printer); };
    PreviewPrinting printing(pages, services);
    return printing.printRTF(0);
}

Outcome PrintToPdf(
    const dialogs::RtfPrintPreview& pages, const QString& pdf, std::optional<PrintRange> chosen = {})
{
    return PrintToPdfFile(pages, pdf, chosen).outcome;
}

} // namespace

TEST_F(Printing, EachCopyIsADocumentOfTheChosenRange)
{
    const PrintResult result = print(0, PrintRange { 2, 3, 2 });
    EXPECT_EQ(result.outcome, Outcome::Printed);
    EXPECT_EQ(dialogShownWith, std::make_tuple(1, 4, 4));
    ASSERT_EQ(recording.documents.size(), 2u);
    for (const auto& document : recording.documents) {
        ASSERT_EQ(document.size(), 2u);
        // A range that starts at page 2 starts it 1440 twips down, as every page after the first.
        EXPECT_GE(InkBounds(document[0]).top(), 1440 / 15);
        EXPECT_LT(InkBounds(document[0]).top(), (1440 + 600) / 15);
    }
    EXPECT_TRUE(prompts->shown.empty());
}

TEST_F(Printing, SilentPrintsAllOnceAndCancelPrintsNothing)
{
    EXPECT_EQ(print(PreviewPrinting::kSilent, std::nullopt).outcome, Outcome::Printed);
    EXPECT_FALSE(dialogShownWith);
    ASSERT_EQ(recording.documents.size(), 1u);
    ASSERT_EQ(recording.documents[0].size(), 4u);
    EXPECT_GE(InkBounds(recording.documents[0][0]).top(), 720 / 15);
    EXPECT_LT(InkBounds(recording.documents[0][0]).top(), (720 + 600) / 15);

    recording.documents.clear();
    EXPECT_EQ(print(0, std::nullopt).outcome, Outcome::Cancelled);
    EXPECT_TRUE(recording.documents.empty());
    EXPECT_TRUE(prompts->shown.empty());
}

TEST_F(Printing, FailuresAreToldAndAnAbortedCopyLeavesTheNextToRun)
{
    recording.ends = { DocumentEnd::Aborted, DocumentEnd::Printed };
    PrintResult result = print(0, PrintRange { 1, 4, 2 });
    EXPECT_EQ(result.outcome, Outcome::Aborted);
    EXPECT_EQ(recording.documents.size(), 2u);
    EXPECT_EQ(prompts->texts(), QStringList { "用户取消操作！" });

    prompts->shown.clear();
    recording = {};
    recording.refuseToOpen = true;
    result = print(0, PrintRange { 1, 4, 3 });
    EXPECT_EQ(result.outcome, Outcome::Failed);
    EXPECT_EQ(result.message, "打印失败！");
    EXPECT_EQ(prompts->texts(), QStringList { "打印失败！" }); // once, not once a copy
}

TEST_F(Printing, APdfHasTheScoreOnA4WithItsFontsEmbedded)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("score.pdf");
    ASSERT_EQ(PrintToPdf(pages, pdf), Outcome::Printed);

    const QString info = run("pdfinfo", { pdf });
    EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+4\\b"))) << info.toStdString();
    EXPECT_TRUE(info.contains("(A4)")) << info.toStdString();
    const QString text = run("pdftotext", { "-enc", "UTF-8", pdf, "-" });
    EXPECT_TRUE(text.contains("小河流水"));
    EXPECT_TRUE(text.contains("流水弯弯第40行歌词"));
    const QString fonts = run("pdffonts", { pdf });
    const QStringList noteFont = fonts.split('\n').filter(QRegularExpression("^KORVA.Note "));
    ASSERT_FALSE(noteFont.isEmpty()) << fonts.toStdString();
    EXPECT_TRUE(noteFont[0].contains(QRegularExpression("\\byes\\b"))) << noteFont[0].toStdString();

    run("pdftoppm", { "-r", "96", "-png", pdf, dir.filePath("page") });
    const QImage first(dir.filePath("page-1.png"));
    const QImage second(dir.filePath("page-2.png"));
    ASSERT_FALSE(first.isNull());
    EXPECT_GE(InkBounds(first).top(), 720 / 15);
    EXPECT_LT(InkBounds(first).top(), (720 + 600) / 15);
    EXPECT_GE(InkBounds(second).top(), 1440 / 15);
    EXPECT_LT(InkBounds(second).top(), (1440 + 600) / 15);

    // The first page of a range 2 to 3 is page 2, 1440 twips down.
    ASSERT_EQ(PrintToPdf(pages, dir.filePath("range.pdf"), PrintRange { 2, 3, 1 }), Outcome::Printed);
    EXPECT_TRUE(run("pdfinfo", { dir.filePath("range.pdf") }).contains(QRegularExpression("Pages:\\s+2\\b")));
    run("pdftoppm",
        { "-r", "96", "-f", "1", "-l", "1", "-png", dir.filePath("range.pdf"), dir.filePath("range") });
    const QImage rangeFirst(dir.filePath("range-1.png"));
    EXPECT_GE(InkBounds(rangeFirst).top(), 1440 / 15);
    EXPECT_LT(InkBounds(rangeFirst).top(), (1440 + 600) / 15);
}

TEST_F(Printing, ACharacterAboveWhatPdfViewersDrawAsTextStillShowsInThePdf)
{
    platform::RichTextBox large;
    AddParagraph(large, QStringLiteral("上"));
    AddParagraph(large, QStringLiteral("X"), QStringLiteral("宋体"), 1500);
    AddParagraph(large, QStringLiteral("下"));
    dialogs::RtfPrintPreview largePages;
    largePages.FormatRtfPages(*large.document(), QSizeF(kPageWidth, kPageHeight), { 0, 720, 0, 1440 });
    ASSERT_EQ(largePages.RtfPageCount, 3);

    QTemporaryDir dir;
    const QString pdf = dir.filePath("large.pdf");
    ASSERT_EQ(PrintToPdf(largePages, pdf), Outcome::Printed);
    run("pdftoppm", { "-r", "24", "-f", "2", "-l", "2", "-png", pdf, dir.filePath("page") });
    const QImage page(dir.filePath("page-2.png"));
    ASSERT_FALSE(page.isNull());
    EXPECT_GT(InkBounds(page).height(), 4500 * 24 / 1440);
}

// A print to a file replaces it only with the whole document, and a failure says which file and why: the
// old file stays as it was and a device stays a device.
TEST_F(Printing, APrintToAFileReplacesItOnlyWhenTheDocumentIsWhole)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("score.pdf");
    ASSERT_TRUE(writeAll(pdf, QByteArray(200000, 'x')));
    ASSERT_EQ(PrintToPdf(pages, pdf), Outcome::Printed);
    const QByteArray printed = readAll(pdf);
    EXPECT_TRUE(printed.startsWith("%PDF") && printed.endsWith("%%EOF\n"));
    EXPECT_TRUE(run("pdfinfo", { pdf }).contains(QRegularExpression("Pages:\\s+4\\b")));

    // Writes that stop at 4,096 bytes, as on a disk that fills up.
    ASSERT_TRUE(writeAll(pdf, "%PDF old"));
    {
        const tunvale::testing::FileSizeLimit limit(4096);
        const PrintResult full = PrintToPdfFile(pages, pdf);
        EXPECT_EQ(full.outcome, Outcome::Failed);
        EXPECT_TRUE(full.message.startsWith("打印失败！\n" + pdf)) << full.message.toStdString();
    }
    EXPECT_EQ(readAll(pdf), "%PDF old");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList { "score.pdf" });

    std::vector<std::pair<QString, QString>> cases { { dir.filePath("missing/a.pdf"), "文件夹不存在。" },
        { pdf + "/a.pdf", "路径中的一部分是文件，不是文件夹。" } };
    const QString device = dir.filePath("full");
    if (tunvale::testing::MakeDevice(device, true))
        cases.emplace_back(device, "磁盘已满。");
    for (const auto& [path, reason] : cases) {
        prompts->shown.clear();
        const QString message = "打印失败！\n" + path + u'\n' + reason;
        const PrintResult failed = PrintToPdfFile(pages, path);
        EXPECT_EQ(failed.outcome, Outcome::Failed) << path.toStdString();
        EXPECT_EQ(failed.message, message);
        EXPECT_EQ(prompts->texts(), QStringList { message });
    }
    EXPECT_FALSE(QFileInfo(device).isFile());
}
