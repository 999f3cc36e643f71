#include "tests/dialogs/paged_score.h"

#include "platform/richtext/rich_text_content.h"

#include <QTextDocument>

namespace tunvale::testing {

void AddParagraph(
    platform::RichTextBox& box, const QString& text, const QString& font, double points, int spacing)
{
    const bool first = box.TextLength() == 0;
    box.setSelStart(box.TextLength());
    if (!first)
        box.setSelText(QStringLiteral("\r\n"));
    const int start = box.TextLength();
    box.setSelStart(start);
    box.setSelFontName(font);
    box.setSelFontSize(points);
    box.setSelText(text);
    box.select(start, 0);
    box.setSelLineSpacing(spacing);
}

void FillSong(platform::RichTextBox& box, int lines, int spacing)
{
    AddParagraph(box, QStringLiteral("小河流水"), QStringLiteral("宋体"), 18, spacing);
    // Notes 1 to 7 of the middle octave with bar lines between groups of four.
    QString notes;
    for (int i = 0; i < 16; ++i) {
        notes += QChar(char16_t(0x4E00 + i % 7));
        if (i % 4 == 3)
            notes += QChar(char16_t(0x6352));
    }
    for (int i = 0; i < lines; ++i) {
        AddParagraph(box, notes, QStringLiteral("KORVA_Note"), 20, spacing);
        AddParagraph(
            box, QStringLiteral("流水弯弯第%1行歌词").arg(i + 1), QStringLiteral("宋体"), 12, spacing);
    }
}

std::unique_ptr<QTextDocument> RepeatedParagraphs(
    int paragraphs, const QString& text, double points, const QString& font)
{
    platform::RunFormat format;
    format.font = font;
    format.halfPoints = int(points * 2);
    platform::RichContent content;
    for (int i = 0; i < paragraphs; ++i) {
        content.push_back({ {}, {}, format });
        if (!text.isEmpty())
            content.back().runs.push_back({ format, text });
    }
    auto document = std::make_unique<QTextDocument>();
    platform::SetContent(*document, content);
    return document;
}

} // namespace tunvale::testing
