#include "platform/richtext/rich_text_content.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <iterator>

namespace tunvale::platform {

namespace {

void appendRun(std::vector<TextRun>& runs, const RunFormat& format, const QString& text)
{
    if (text.isEmpty())
        return;
    if (!runs.empty() && runs.back().format == format)
        runs.back().text += text;
    else
        runs.push_back({ format, text });
}

// An object (an image put into a view by other means) has no place in a score's text.
QString withoutObjects(QString text)
{
    text.remove(QChar::ObjectReplacementCharacter);
    return text;
}

// The first paragraph of `more` joins the last one of `text` and gives it its mark.
void join(RichContent& text, RichContent more)
{
    if (more.empty())
        return;
    RichParagraph& last = text.back();
    for (const TextRun& run : more.front().runs)
        appendRun(last.runs, run.format, run.text);
    last.mark = more.front().mark;
    text.insert(text.end(), std::make_move_iterator(more.begin() + 1), std::make_move_iterator(more.end()));
}

} // namespace

RichContent ExtractContent(const QTextDocument& document, int from, int to)
{
    const int end = document.characterCount() - 1;
    if (to < 0 || to > end)
        to = end;
    from = std::clamp(from, 0, to);
    const QFont defaultFont = document.defaultFont();

    RichContent content;
    for (QTextBlock block = document.findBlock(from); block.isValid(); block = block.next()) {
        const int blockStart = block.position();
        if (blockStart > to)
            break;
        RichParagraph paragraph;
        paragraph.format = ToParagraphFormat(block.blockFormat());
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int a = std::max(fragment.position(), from);
            const int b = std::min(fragment.position() + fragment.length(), to);
            if (a >= b)
                continue;
            const QString text = fragment.text().mid(a - fragment.position(), b - a);
            appendRun(paragraph.runs, ToRunFormat(fragment.charFormat(), defaultFont), withoutObjects(text));
        }
        paragraph.mark = ToRunFormat(MarkFormat(block), defaultFont);
        content.push_back(std::move(paragraph));
        if (blockStart + block.length() - 1 >= to)
            break;
    }
    if (content.empty())
        content.emplace_back();
    return content;
}

RichContent ReplacedContent(const QTextDocument& document, int from, int to, RichContent replacement)
{
    RichContent text = ExtractContent(document, 0, from);
    join(text, std::move(replacement));
    join(text, ExtractContent(document, to));
    return text;
}

void VisitRangeFormats(RichContent& range, const std::function<void(RunFormat&)>& visit)
{
    for (size_t i = 0; i < range.size(); ++i) {
        for (TextRun& run : range[i].runs)
            visit(run.format);
        // The breaks inside the range; the last paragraph's lies behind it.
        if (i + 1 < range.size())
            visit(range[i].mark);
    }
}

RichContent ReformattedContent(
    const QTextDocument& document, int from, int to, const std::function<void(RunFormat&)>& change)
{
    RichContent range = ExtractContent(document, from, to);
    VisitRangeFormats(range, change);
    return ReplacedContent(document, from, to, std::move(range));
}

void ReadContent(const RichContent& content, RichTextSink& sink)
{
    for (size_t i = 0; i < content.size(); ++i) {
        const RichParagraph& paragraph = content[i];
        for (const TextRun& run : paragraph.runs)
            sink.text(run.format, run.text);
        if (i + 1 < content.size())
            sink.paragraphEnd(paragraph.format, paragraph.mark);
        else
            sink.finish(paragraph.format, paragraph.mark);
    }
    if (content.empty())
        sink.finish({}, {});
}

void SetContent(QTextDocument& document, const RichContent& content)
{
    DocumentBuilder builder(document);
    ReadContent(content, builder);
}

DocumentBuilder::DocumentBuilder(QTextDocument& document)
    : document_(document)
{
}

DocumentBuilder::~DocumentBuilder()
{
    // A builder left unfinished still closes its edit block.
    if (cursor_)
        cursor_->endEditBlock();
}

QTextCursor& DocumentBuilder::cursor()
{
    if (!cursor_) {
        cursor_ = std::make_unique<QTextCursor>(&document_);
        cursor_->beginEditBlock();
        document_.clear();
        cursor_->setBlockFormat(ToBlockFormat({}));
        paragraph_ = ParagraphFormat {};
    }
    return *cursor_;
}

void DocumentBuilder::text(const RunFormat& format, QStringView text)
{
    cursor().insertText(text.toString(), formats_(format));
}

void DocumentBuilder::setParagraphFormat(const ParagraphFormat& format)
{
    QTextCursor& c = cursor();
    if (*paragraph_ == format)
        return;
    c.setBlockFormat(ToBlockFormat(format));
    paragraph_ = format;
}

void DocumentBuilder::paragraphEnd(const ParagraphFormat& format, const RunFormat& mark)
{
    setParagraphFormat(format);
    // The next paragraph starts in this one's format; it mostly keeps it.
    cursor_->insertBlock(ToBlockFormat(format), formats_(mark));
}

void DocumentBuilder::finish(const ParagraphFormat& format, const RunFormat& mark)
{
    setParagraphFormat(format);
    SetLastMarkFormat(document_, formats_(mark));
    cursor_->endEditBlock();
    cursor_.reset();
}

void InsertContent(QTextCursor& cursor, const RichContent& content)
{
    CharFormatCache formats;
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    for (size_t i = 0; i < content.size(); ++i) {
        const RichParagraph& paragraph = content[i];
        if (i > 0)
            cursor.insertBlock(ToBlockFormat(paragraph.format), formats(content[i - 1].mark));
        for (const TextRun& run : paragraph.runs)
            cursor.insertText(run.text, formats(run.format));
    }
    cursor.endEditBlock();
}

} // namespace tunvale::platform
