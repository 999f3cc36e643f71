#include "platform/richtext/rich_text_snapshot_builder.h"

namespace tunvale::platform {

RichTextSnapshotBuilder& RichTextSnapshotBuilder::run(
    const QString& text, const QString& family, SnapshotColor color)
{
    family_ = family;
    color_ = color;
    append(text);
    return *this;
}

RichTextSnapshotBuilder& RichTextSnapshotBuilder::run(const QString& text)
{
    append(text);
    return *this;
}

RichTextSnapshotBuilder& RichTextSnapshotBuilder::paragraph()
{
    append(QStringLiteral("\r\n"));
    lineStarts_.push_back(snapshot_.size());
    paragraphStarts_.push_back(true);
    return *this;
}

RichTextSnapshotBuilder& RichTextSnapshotBuilder::lineBreak()
{
    if (lineStarts_.back() != snapshot_.size()) {
        lineStarts_.push_back(snapshot_.size());
        paragraphStarts_.push_back(false);
    }
    return *this;
}

void RichTextSnapshotBuilder::append(const QString& text)
{
    const std::uint16_t font = fontIndex(family_);
    snapshot_.text += text;
    snapshot_.fonts.insert(snapshot_.fonts.end(), size_t(text.size()), font);
    snapshot_.colors.insert(snapshot_.colors.end(), size_t(text.size()), color_);
}

std::uint16_t RichTextSnapshotBuilder::fontIndex(const QString& family)
{
    qsizetype index = snapshot_.fontNames.indexOf(family);
    if (index < 0) {
        snapshot_.fontNames.append(family);
        index = snapshot_.fontNames.size() - 1;
    }
    return std::uint16_t(index);
}

RichTextSnapshot RichTextSnapshotBuilder::build() const
{
    RichTextSnapshot result = snapshot_;
    for (size_t i = 0; i < lineStarts_.size(); ++i) {
        const int start = lineStarts_[i];
        const int end = i + 1 < lineStarts_.size() ? lineStarts_[i + 1] : result.size();
        RichTextSnapshot::Line line;
        line.start = start;
        line.text = result.text.mid(start, end - start);
        // An empty selection takes the character before it; at a paragraph start the one after it,
        // and in an empty paragraph the format of its paragraph mark.
        if (!paragraphStarts_[i])
            line.startFont = result.fontAt(start - 1);
        else if (start < result.size())
            line.startFont = result.fontAt(start);
        else
            line.startFont = family_;
        result.lines.push_back(line);
    }
    return result;
}

} // namespace tunvale::platform
