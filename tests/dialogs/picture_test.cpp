#include "app/dialogs/rtf_print_preview.h"
#include "app/dialogs/score_picture.h"
#include "platform/desktop/notation_fonts.h"
#include "tests/dialogs/ink.h"
#include "tests/dialogs/paged_score.h"

#include <QFileInfo>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>

using namespace tunvale;
using namespace tunvale::testing;

namespace {

class Picture : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { platform::loadNotationFonts(); }

    void paginate(int songLines)
    {
        score = std::make_unique<platform::RichTextBox>();
        FillSong(*score, songLines, 600);
        pages.FormatRtfPages(*score->document(), QSizeF(kPageWidth, kPageHeight), { 0, 720, 0, 1440 });
    }

    // What `file` makes of the bitmap the export writes.
    QString savedAs()
    {
        const QString path = dir.filePath("score.bmp");
        EXPECT_TRUE(dialogs::SaveBitmap(dialogs::PaintScorePicture(pages, kPageHeight, 96), path));
        QProcess file;
        file.start("file", { "-b", path });
        file.waitForFinished();
        return QString::fromUtf8(file.readAllStandardOutput()).trimmed();
    }

    QTemporaryDir dir;
    std::unique_ptr<platform::RichTextBox> score;
    dialogs::RtfPrintPreview pages;
};

} // namespace

TEST_F(Picture, ABitmapAsHighAsThePagesWithoutTheirMargins)
{
    paginate(3); // one page of 7 lines
    EXPECT_EQ(dialogs::ScorePictureSize(pages, kPageHeight), QSizeF(11930, 7 * 600));
    EXPECT_TRUE(savedAs().startsWith("PC bitmap")) << savedAs().toStdString();
    EXPECT_TRUE(savedAs().contains(QStringLiteral("795 x 280"))) << savedAs().toStdString();

    paginate(28); // 57 lines: 24, 24 and 9
    const double height = 2.0 * (kPageHeight - 2160) + 9 * 600;
    EXPECT_EQ(dialogs::ScorePictureSize(pages, kPageHeight), QSizeF(11930, height));
    EXPECT_TRUE(savedAs().contains(QStringLiteral("795 x %1").arg(qRound(height / 15))))
        << savedAs().toStdString();

    EXPECT_EQ(
        dialogs::SaveBitmap(QImage(10, 10, QImage::Format_RGB32), dir.filePath("no/such/folder/a.bmp")).error,
        ENOENT);

    // The file is as large as the size told before painting: rows of 795 pixels padded to 2388 bytes.
    const QString path = dir.filePath("sized.bmp");
    ASSERT_EQ(dialogs::SaveScorePicture(pages, kPageHeight, 96, path).status, dialogs::PictureSave::Saved);
    EXPECT_EQ(QFileInfo(path).size(), dialogs::ScorePictureBytes(pages, kPageHeight, 96));
    EXPECT_EQ(dialogs::ScorePictureBytes(pages, kPageHeight, 96), 54 + 2388 * qRound(height / 15));
}

TEST_F(Picture, APageFilledToItsLastLineKeepsThatLinesLowestInk)
{
    paginate(28);
    // Page 1 as the preview draws it, its text from 720 twips down.
    QImage page(794, 1123, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        pages.PrintRtfPage(1, { 0, 720, 0, 1440 }, painter, { QSizeF(kPageWidth, kPageHeight), 96 / 1440.0 });
    }
    const int lowest = InkBounds(page).bottom() - 720 / 15;
    const QImage picture = dialogs::PaintScorePicture(pages, kPageHeight, 96);
    // The same row in the picture, where page 1 starts at the top, still holds that ink, and page 2's
    // first line starts below it.
    EXPECT_EQ(picture.copy(0, lowest, 794, 1).convertToFormat(QImage::Format_RGB32),
        page.copy(0, lowest + 720 / 15, 794, 1));
    EXPECT_FALSE(InkBounds(picture.copy(0, lowest, 794, 1)).isEmpty());
    const QRect pageTwo
        = InkBounds(picture.copy(0, lowest + 1, 794, (kPageHeight - 2160) / 15 - lowest + 40));
    EXPECT_GT(pageTwo.top(), 0);
}
