#pragma once

#include "platform/richtext/rich_text_content.h"

#include <QString>

class QTextDocument;

namespace tunvale::platform {

// The RTF of rich text in our one dialect (described in rtf_writer.cpp). Pure ASCII.
QString WriteRtf(const RichContent& content);
QString WriteRtf(const QTextDocument& document);

} // namespace tunvale::platform
