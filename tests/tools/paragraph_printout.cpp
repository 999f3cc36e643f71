#include "tests/tools/paragraph_printout.h"

#include "tests/tools/command_registry.h"

namespace tunvale::scoretool {

void PrintParagraphs(const platform::RichContent& content)
{
    for (size_t i = 0; i < content.size(); ++i) {
        const platform::RichParagraph& paragraph = content[i];
        qsizetype chars = 0;
        for (const platform::TextRun& run : paragraph.runs)
            chars += run.text.size();
        out(QStringLiteral("para %1 %2 %3 %4 %5")
                .arg(i + 1)
                .arg(paragraph.format.leftIndent)
                .arg(paragraph.format.rightIndent)
                .arg(paragraph.format.lineSpacing)
                .arg(chars));
    }
}

} // namespace tunvale::scoretool
