#pragma once

#include "platform/richtext/rich_text_content.h"

#include <QByteArray>
#include <QRgb>
#include <QString>

#include <vector>

class QTextDocument;

namespace tunvale::platform {

// The RTF of rich text in our one dialect (described in rtf_writer.cpp). Pure ASCII.
QString WriteRtf(const RichContent& content);
QString WriteRtf(const QTextDocument& document);
// The same as bytes, walking the document's fragments without a copy of its content.
QByteArray WriteRtfBytes(const QTextDocument& document);

// The colour table that WriteRtf writes for the content: entry i is colour number i + 1 (number 0
// being the automatic colour), text and highlight colours in order of first use.
std::vector<QRgb> RtfColorTable(const RichContent& content);

// The content as its RTF reads back: every value within what a score holds, runs of equal format
// joined, no objects. Two contents give the same RTF exactly when they read back the same.
RichContent AsReadBack(RichContent content);

} // namespace tunvale::platform
