#pragma once

#include "platform/richtext/rich_text_content.h"

#include <QStringView>
#include <QTextOption>

#include <limits>

class QTextDocument;

// How far a text runs without a place to wrap. Qt's word wrap looks ahead to the next line-break
// opportunity for every line it makes, so a paragraph holding a long stretch without one (a row of
// digits, of Latin letters or of Hangul) takes time that grows with the square of that stretch to lay
// out. A text that holds such a stretch wraps at any character instead, in time that grows with its
// length; what lies within the stretch wraps the same either way.
namespace tunvale::platform {

// The longest stretch of `paragraph`, in characters, that the layout has no place to wrap in: no
// line-break opportunity by Unicode's line breaking as the layout tailors it, and no white space. The
// reading stops at the first stretch longer than `enough`.
qsizetype LongestUnbreakableRun(
    QStringView paragraph, qsizetype enough = std::numeric_limits<qsizetype>::max());

// The longest stretch a text wraps at word boundaries with; no song holds one nearly as long.
constexpr qsizetype kLongestWordWrapRun = 1'000;

// Whether `paragraph` holds a stretch longer than kLongestWordWrapRun.
bool HoldsLongRun(QStringView paragraph);

// The wrap mode of a text wrapped at a width, whether or not it holds a long stretch.
QTextOption::WrapMode WrapModeFor(bool longRun);

// Gives `document` the wrap mode for the stretches its paragraphs hold; true when the mode changed.
bool FitWrapMode(QTextDocument& document);
// The same after an edit that left `length` characters from `from`: only the paragraphs there are
// read, unless the document wraps anywhere.
bool FitWrapMode(QTextDocument& document, int from, int length);

// Whether any paragraph of the text a reader hands on holds a long stretch; only the paragraph being
// read is kept.
class LongRunMeter final : public RichTextSink
{
public:
    void text(const RunFormat&, QStringView text) override
    {
        if (!found_)
            paragraph_ += text;
    }
    void paragraphEnd(const ParagraphFormat&, const RunFormat&) override { measure(); }
    void finish(const ParagraphFormat&, const RunFormat&) override { measure(); }

    bool found() const { return found_; }

private:
    void measure();

    QString paragraph_;
    bool found_ = false;
};

} // namespace tunvale::platform
