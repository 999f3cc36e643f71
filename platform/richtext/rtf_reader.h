#pragma once

#include "platform/richtext/rich_text_content.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace tunvale::platform {

// RTF above this size is no score's (a long score is under 100 KB) and is refused before parsing.
constexpr qsizetype kMaxRtfBytes = 4 * 1024 * 1024;
inline const QString kRtfTooLargeMessage = QStringLiteral("RTF 文件太大（超过 4 MB），没有打开。");

// Reads RTF written by us or by other rich-text editors: font and colour tables, \uN and \'xx
// escapes (in the font's charset, else in the document's code page), character and paragraph
// formats we keep; other destinations are skipped. Characters above U+00FF in the text are taken
// as they are, characters U+0080 to U+00FF as bytes of the code page in force (raw 8-bit RTF).
// No value when the text is not RTF, is longer than kMaxRtfBytes or nests groups deeper than any real
// document; damaged RTF gives what could be read.
std::optional<RichContent> ReadRtf(const QString& rtf, const QFont& defaultFont);
std::optional<RichContent> ReadRtf(const QByteArray& rtf, const QFont& defaultFont);

// The same into a sink, in one pass; false, and nothing handed on, when ReadRtf would give no value.
bool ReadRtf(QStringView rtf, const QFont& defaultFont, RichTextSink& sink);

} // namespace tunvale::platform
