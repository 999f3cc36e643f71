#pragma once

#include "platform/richtext/rich_text_content.h"

#include <QStringView>

// How far a text runs without a place to wrap. Qt's layout looks ahead to the next line-break
// opportunity for every line it makes, so a paragraph holding a long stretch without one (a row of
// digits or of Latin letters) takes time that grows with the square of that stretch to lay out.
namespace tunvale::platform {

// The longest stretch of `paragraph`, in characters, that the layout has no place to wrap in: no
// line-break opportunity by Unicode's line breaking and no white space.
qsizetype LongestUnbreakableRun(QStringView paragraph);

// The longest such stretch a window lays out in a few seconds.
constexpr qsizetype kMaxUnbreakableRun = 10'000;

// The longest such stretch in any paragraph of the text a reader hands on; only the paragraph being
// read is kept.
class UnbreakableRunMeter final : public RichTextSink
{
public:
    void text(const RunFormat&, QStringView text) override { paragraph_ += text; }
    void paragraphEnd(const ParagraphFormat&, const RunFormat&) override { measure(); }
    void finish(const ParagraphFormat&, const RunFormat&) override { measure(); }

    qsizetype longest() const { return longest_; }

private:
    void measure();

    QString paragraph_;
    qsizetype longest_ = 0;
};

} // namespace tunvale::platform
