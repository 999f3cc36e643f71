#pragma once

#include "platform/richtext/rich_text_content.h"

#include <QSet>

class QTextDocument;

// How many fonts a text asks of a view. Qt keeps what it knows of every font a view uses in one cache
// that it searches whole for each font it adds once it holds a few hundred, so a view of a text in
// thousands of fonts takes minutes to lay out. A font is a name in a size, bold or not.
namespace tunvale::platform {

// The most fonts a text shown in a view may use; no song uses nearly as many.
inline constexpr qsizetype kMostFonts = 1'000;

struct FontKey {
    QString name;
    int halfPoints = 0;
    bool bold = false;

    bool operator==(const FontKey&) const = default;
};
size_t qHash(const FontKey& key, size_t seed = 0);
FontKey FontKeyOf(const RunFormat& format);

// The fonts of the runs and paragraph marks of a text, as a reader hands it on or added one by one.
// Once past kMostFonts, no more are kept.
class FontTally final : public RichTextSink
{
public:
    void add(const RunFormat& format);
    void text(const RunFormat& format, QStringView) override { add(format); }
    void paragraphEnd(const ParagraphFormat&, const RunFormat& mark) override { add(mark); }
    void finish(const ParagraphFormat&, const RunFormat& mark) override { add(mark); }

    bool tooMany() const { return fonts_.size() > kMostFonts; }
    qsizetype count() const { return fonts_.size(); }
    bool holds(const FontKey& key) const { return fonts_.contains(key); }

private:
    QSet<FontKey> fonts_;
};

// The fonts a document's text uses, its runs and its paragraph marks, leaving out those of Qt positions
// [from, to).
FontTally FontsOf(const QTextDocument& document, int from = 0, int to = 0);

// Whether a document with Qt positions [from, to) replaced by text in `formats` would use more than
// kMostFonts fonts. Its formats, in its text or no longer, bound the fonts of its text, so a text in
// few formats is not read.
bool TooManyFontsWith(const QTextDocument& document, int from, int to, const std::vector<RunFormat>& formats);

} // namespace tunvale::platform
