#include "tests/tools/rtf_runs_printout.h"

#include "tests/tools/command_registry.h"

#include "platform/richtext/rtf_writer.h"

#include <QTextDocument>

namespace tunvale::scoretool {

namespace {

QString codes(const QString& text)
{
    QStringList out;
    for (QChar c : text)
        out << QStringLiteral("U+%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
    return out.join(u' ');
}

QString colour(const std::optional<QRgb>& c)
{
    return QStringLiteral("%1").arg(c.value_or(0) & 0xffffff, 6, 16, QLatin1Char('0')).toUpper();
}

} // namespace

void PrintRuns(const platform::RichContent& content)
{
    for (size_t i = 0; i < content.size(); ++i) {
        const platform::RichParagraph& paragraph = content[i];
        if (i > 0)
            out(QStringLiteral("PAR %1").arg(content[i - 1].mark.font));
        for (const platform::TextRun& run : paragraph.runs)
            out(QStringLiteral("%1 %2 %3 %4")
                    .arg(run.format.font)
                    .arg(run.format.halfPoints)
                    .arg(colour(run.format.color), codes(run.text)));
    }
}

platform::RichContent WrittenContent(const platform::RichTextBox& box)
{
    return platform::AsReadBack(box.paragraphs(0, box.document()->blockCount()));
}

} // namespace tunvale::scoretool
