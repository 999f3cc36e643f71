#include "tests/tools/command_registry.h"

#include "components/sequor/core/jianpu_parser.h"

#include <QFile>

using namespace tunvale;

namespace {

// Prints the parser's records and bar lengths for an export text kept in a UTF-8 file; line breaks are
// removed, so a long text may be wrapped.
int midiParse(const QStringList& args)
{
    if (args.size() != 1) {
        scoretool::err(QStringLiteral("usage: scoretool midi-parse FILE"));
        return 2;
    }
    QFile file(args[0]);
    if (!file.open(QIODevice::ReadOnly)) {
        scoretool::err(QStringLiteral("cannot read %1").arg(args[0]));
        return 1;
    }
    QString text = QString::fromUtf8(file.readAll());
    text.remove(QChar(u'\r')).remove(QChar(u'\n'));
    const sequor::ParsedScore parsed = sequor::ParseJianpu(text);
    for (std::size_t k = 0; k < parsed.ScoreEvents.size(); ++k) {
        const sequor::ScoreEvent& e = parsed.ScoreEvents[k];
        scoretool::out(QStringLiteral("ev %1 U+%2 code=%3 len=%4 fac=%5 grace=%6")
                           .arg(k)
                           .arg(QString::asprintf("%04X", unsigned(e.CharCode)))
                           .arg(e.Code)
                           .arg(QString::asprintf("%.10g", e.Length))
                           .arg(QString::asprintf("%.10g", e.VelocityFactor))
                           .arg(e.GraceSize));
    }
    QStringList bars;
    for (double length : parsed.BarLengths)
        bars << QString::asprintf("%.10g", length);
    scoretool::out((QStringLiteral("bars ") + bars.join(QChar(','))).trimmed());
    return 0;
}

} // namespace

SCORETOOL_COMMAND("midi-parse", "FILE  print the MIDI export parser's records and bar lengths", midiParse);
