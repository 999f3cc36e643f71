#include "tests/tools/command_registry.h"
#include "tests/tools/score_loading.h"

#include "platform/richtext/rtf_reader.h"


namespace {

using namespace tunvale;

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

int rtfRuns(const QStringList& args)
{
    if (args.size() != 1) {
        scoretool::err(QStringLiteral("usage: scoretool rtf-runs IN.rtf"));
        return 2;
    }
    QString error;
    const auto rtf
        = scoretool::ReadInputFile(args[0], platform::kMaxRtfBytes, platform::kRtfTooLargeMessage, error);
    if (!rtf) {
        scoretool::err(error);
        return 1;
    }
    const std::optional<platform::RichContent> content = platform::ReadRtf(*rtf, platform::DefaultTextFont());
    if (!content) {
        scoretool::err(QStringLiteral("%1 is not RTF").arg(args[0]));
        return 1;
    }
    for (size_t i = 0; i < content->size(); ++i) {
        const platform::RichParagraph& paragraph = (*content)[i];
        if (i > 0)
            scoretool::out(QStringLiteral("PAR %1").arg((*content)[i - 1].mark.font));
        for (const platform::TextRun& run : paragraph.runs)
            scoretool::out(QStringLiteral("%1 %2 %3 %4")
                               .arg(run.format.font)
                               .arg(run.format.halfPoints)
                               .arg(colour(run.format.color), codes(run.text)));
    }
    return 0;
}

} // namespace

SCORETOOL_COMMAND(
    "rtf-runs", "IN.rtf   print the runs of equal format: font, half points, RRGGBB, U+XXXX...", rtfRuns);
