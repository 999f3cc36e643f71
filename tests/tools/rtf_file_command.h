#pragma once

#include "platform/richtext/rich_text_content.h"

#include <QStringList>

#include <functional>

namespace tunvale::scoretool {

// The body of a command over an RTF file: checks that `args` are `argCount` values (else prints `usage`
// and gives 2), reads the first as RTF (else prints why and gives 1) and gives what `use` returns.
int WithRtfFile(const QStringList& args, qsizetype argCount, const QString& usage,
    const std::function<int(const platform::RichContent&)>& use);

} // namespace tunvale::scoretool
