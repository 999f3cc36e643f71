#include "tests/tools/performance_printout.h"

namespace tunvale::scoretool {

namespace {

QString seconds(double t) { return QString::asprintf("%.3f", t); }

QString message(std::uint32_t m) { return QString::asprintf("0x%08X", m); }

} // namespace

QStringList PerformanceLines(const notation::Performance& p)
{
    QStringList lines;
    lines << QStringLiteral("total %1 start %2 startindex %3 accompstartindex %4")
                 .arg(seconds(p.TotalPlayTime()), seconds(p.StartPlayTime()))
                 .arg(p.PlayStartIndex())
                 .arg(p.AccompStartIndex());
    for (const notation::TempoMark& mark : p.TempoMarks())
        lines << QStringLiteral("tempo %1 %2").arg(mark.TempoBpm).arg(seconds(mark.TempoStart));
    for (int i = 0; i <= p.PlayEventCount(); ++i) {
        const notation::PlayEvent& e = p.PlayEvents()[size_t(i)];
        lines << QStringLiteral("play %1 %2 %3 %4 %5 %6 %7 %8 %9 %10")
                     .arg(i)
                     .arg(seconds(e.EventTime))
                     .arg(e.Note)
                     .arg(e.Velocity)
                     .arg(e.BarNo)
                     .arg(e.CharPos)
                     .arg(e.LineEnd != 0 ? 1 : 0)
                     .arg(message(e.NoteOnMsg), message(e.ThirdMsg), message(e.FifthMsg));
    }
    for (int i = 0; i <= p.AccompEventCount(); ++i) {
        const notation::DrumPlayEvent& e = p.AccompPlayEvents()[size_t(i)];
        lines << QStringLiteral("accomp %1 %2 %3 %4")
                     .arg(i)
                     .arg(seconds(e.EventTime), message(e.PanMsg), message(e.HitMsg));
    }
    for (int t = 0; t < notation::DrumTrackCount; ++t) {
        lines << QStringLiteral("drumcount %1 %2").arg(t).arg(p.DrumEventCount(t));
        for (int k = 0; k <= p.DrumEventCount(t); ++k) {
            const notation::DrumPlayEvent& e = p.DrumPlayEvents(t)[size_t(k)];
            lines << QStringLiteral("drum %1 %2 %3 %4 %5 %6")
                         .arg(t)
                         .arg(k)
                         .arg(seconds(e.EventTime))
                         .arg(e.BarNo)
                         .arg(message(e.PanMsg), message(e.HitMsg));
        }
    }
    lines << QStringLiteral("cming %1").arg(p.CMingText());
    return lines;
}

} // namespace tunvale::scoretool
