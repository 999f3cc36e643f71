#pragma once

#include "platform/richtext/rich_text_format.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QTextCursor;
class QTextDocument;

// A stretch of rich text as plain values: paragraphs of runs of equal format, each paragraph with
// its mark. The RTF codec reads into it and writes from it; copying and pasting move it between
// documents.
namespace tunvale::platform {

struct TextRun {
    RunFormat format;
    QString text;

    bool operator==(const TextRun&) const = default;
};

struct RichParagraph {
    ParagraphFormat format;
    std::vector<TextRun> runs;
    RunFormat mark; // the format of the break that ends the paragraph

    bool operator==(const RichParagraph&) const = default;
};

// Never empty: an empty text is one empty paragraph.
using RichContent = std::vector<RichParagraph>;

// What a reader of rich text hands on, in text order: the runs of a paragraph, then its end,
// paragraph after paragraph; finish() ends the last one. Texts are never empty and hold no paragraph
// break.
class RichTextSink
{
public:
    virtual ~RichTextSink() = default;
    virtual void text(const RunFormat& format, QStringView text) = 0;
    virtual void paragraphEnd(const ParagraphFormat& format, const RunFormat& mark) = 0;
    virtual void finish(const ParagraphFormat& format, const RunFormat& mark) = 0;
};

// Hands what it is handed on to two sinks, so that one reading serves both.
class SinkPair final : public RichTextSink
{
public:
    SinkPair(RichTextSink& first, RichTextSink& second)
        : first_(first)
        , second_(second)
    {
    }
    void text(const RunFormat& format, QStringView text) override
    {
        first_.text(format, text);
        second_.text(format, text);
    }
    void paragraphEnd(const ParagraphFormat& format, const RunFormat& mark) override
    {
        first_.paragraphEnd(format, mark);
        second_.paragraphEnd(format, mark);
    }
    void finish(const ParagraphFormat& format, const RunFormat& mark) override
    {
        first_.finish(format, mark);
        second_.finish(format, mark);
    }

private:
    RichTextSink& first_;
    RichTextSink& second_;
};

// Hands `content` on to `sink` as a reader of rich text does.
void ReadContent(const RichContent& content, RichTextSink& sink);

// The content of Qt positions [from, to) of a document (to < 0: its end). A range that ends inside a
// paragraph gives that paragraph without its break, but with its mark.
RichContent ExtractContent(const QTextDocument& document, int from = 0, int to = -1);

// The content of the whole document with Qt positions [from, to) replaced by `replacement` as
// InsertContent replaces a selection.
RichContent ReplacedContent(const QTextDocument& document, int from, int to, RichContent replacement);

// Hands `visit` the format of every run of a range that ExtractContent gave and of every break inside
// it: its last paragraph's mark is that of the paragraph the range ends in, which lies behind it.
void VisitRangeFormats(RichContent& range, const std::function<void(RunFormat&)>& visit);

// The content of the whole document with the runs of Qt positions [from, to) and the breaks inside
// them changed as `change` says, as RichTextBox changes the format of a selection.
RichContent ReformattedContent(
    const QTextDocument& document, int from, int to, const std::function<void(RunFormat&)>& change);

// Replaces the whole document.
void SetContent(QTextDocument& document, const RichContent& content);

// Builds a document anew, run by run and paragraph by paragraph, in one edit block from the clearing
// to the last paragraph's mark: a view lays out a new text as lazily as it does for setPlainText, and
// each distinct format is made once. The document is cleared at the first call, so a reader that
// refuses its text before handing anything on leaves it alone.
class DocumentBuilder final : public RichTextSink
{
public:
    explicit DocumentBuilder(QTextDocument& document);
    ~DocumentBuilder();
    DocumentBuilder(const DocumentBuilder&) = delete;
    DocumentBuilder& operator=(const DocumentBuilder&) = delete;

    void text(const RunFormat& format, QStringView text) override;
    void paragraphEnd(const ParagraphFormat& format, const RunFormat& mark) override;
    // Ends the last paragraph and the edit block.
    void finish(const ParagraphFormat& format, const RunFormat& mark) override;

private:
    QTextCursor& cursor();
    void setParagraphFormat(const ParagraphFormat& format);

    QTextDocument& document_;
    std::unique_ptr<QTextCursor> cursor_;
    CharFormatCache formats_;
    std::optional<ParagraphFormat> paragraph_;
};

// Inserts at the cursor (replacing its selection): the first paragraph joins the text before the
// cursor, the last one the text after it, which keeps its own mark.
void InsertContent(QTextCursor& cursor, const RichContent& content);

} // namespace tunvale::platform
