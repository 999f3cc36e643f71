#include "platform/richtext/rich_text_box.h"
#include "platform/richtext/rtf_reader.h"
#include "platform/richtext/rtf_writer.h"
#include "tests/support/test_folders.h"

#include <QRegularExpression>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace tunvale::platform;

namespace {

const QString kNote = QStringLiteral("KORVA_Note");
const QString kSong = QStringLiteral("宋体");

RunFormat fmt(const QString& font, int halfPoints = 64)
{
    RunFormat f;
    f.font = font;
    f.halfPoints = halfPoints;
    return f;
}

RichParagraph para(std::vector<TextRun> runs, RunFormat mark, ParagraphFormat format = {})
{
    return { format, std::move(runs), std::move(mark) };
}

RichContent read(const QString& rtf)
{
    const std::optional<RichContent> content = ReadRtf(rtf, DefaultTextFont());
    EXPECT_TRUE(content.has_value());
    return content.value_or(RichContent {});
}

} // namespace

TEST(RtfCodec, WritesTheDialectHeaderAndTables)
{
    RunFormat red = fmt(kNote);
    red.color = qRgb(255, 0, 0);
    const RichContent content
        = { para({ { fmt(kSong, 24), QStringLiteral("歌") }, { red, QStringLiteral("一") } }, fmt(kNote)) };
    const QString rtf = WriteRtf(content);
    EXPECT_TRUE(rtf.startsWith(QStringLiteral("{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052"
                                              "{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}"
                                              "{\\f1\\fnil\\fcharset134 KORVA_Note;}}\r\n"
                                              "{\\colortbl ;\\red255\\green0\\blue0;}\r\n")))
        << rtf.toStdString();
    EXPECT_TRUE(rtf.contains(QStringLiteral("\\f0\\'b8\\'e8\\f1\\fs64\\cf1\\'d2\\'bb\\cf0\\par\r\n}")))
        << rtf.toStdString();
}

TEST(RtfCodec, EveryDocumentRoundTripsOnTheSecondWrite)
{
    RunFormat all = fmt(QStringLiteral("KORVA_Note_yy2"), 33);
    all.bold = true;
    all.underline = true;
    all.color = qRgb(1, 2, 3);
    all.highlight = qRgb(250, 250, 0);
    all.offset = -4;
    RunFormat up = fmt(QStringLiteral("KORVA_Note_Symbol"), 40);
    up.offset = 6;
    const std::vector<RichContent> cases = {
        { para({}, fmt(kSong, 24)) },
        { para({}, fmt(kNote)) },
        { para({ { fmt(kSong, 24), QStringLiteral("a\\b{c}\td 😀 é") } }, fmt(kSong, 24)) },
        { para({ { fmt(kNote), QStringLiteral("\u4e00\u504c\u6352") }, { all, QStringLiteral("x") } },
              fmt(kNote), { 720, 360, 500 }),
            para({}, fmt(kSong, 24)), para({ { up, QStringLiteral(" lead") } }, all, { 0, 0, 300 }),
            para({}, up) },
    };
    for (const RichContent& content : cases) {
        const QString first = WriteRtf(content);
        const RichContent back = read(first);
        EXPECT_EQ(back, content) << first.toStdString();
        EXPECT_EQ(WriteRtf(back).toStdString(), first.toStdString());
        QTextDocument doc;
        SetContent(doc, back);
        EXPECT_EQ(WriteRtf(doc).toStdString(), first.toStdString());
    }
}
