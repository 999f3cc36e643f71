#include "tests/tools/command_registry.h"

#include "app/notation/drum_accessor.h"
#include "app/notation/score_sections.h"

#include <QFileInfo>

using namespace tunvale;
using notation::DrumAccessor;

namespace {

QString stepText(const DrumAccessor& drum, int index, int track)
{
    QString steps;
    for (int x = 0; x < notation::DrumRecord::Steps; ++x)
        steps += drum.DrumRhythms(index, x, track) ? u'x' : u'.';
    return steps;
}

int drums(const QStringList& args)
{
    if (args.size() != 1) {
        scoretool::err(QStringLiteral("usage: scoretool drums FILE"));
        return 2;
    }
    const auto bytes = QFileInfo(args[0]).isFile() ? notation::ReadScoreFileBytes(args[0]) : std::nullopt;
    if (!bytes) {
        scoretool::err(QStringLiteral("cannot read %1").arg(args[0]));
        return 1;
    }
    // A score file's section lies after its header; Drum.dat has none.
    notation::DrumStores stores;
    const auto records = notation::ScoreFileLayout::of(*bytes).sections.drums;
    if (!records) {
        scoretool::err(QStringLiteral("%1 has no drum section").arg(args[0]));
        return 1;
    }
    stores.DrumTemplates = *records;
    DrumAccessor drum(stores);
    drum.DrumType(DrumAccessor::DrumTemplates);
    scoretool::out(QStringLiteral("%1 drum records").arg(drum.recordCount()));
    for (int i = 0; i < drum.recordCount(); ++i) {
        QString time;
        const int steps = drum.DrumTime(i, time);
        scoretool::out(QStringLiteral("record %1: %2").arg(i).arg(drum.DrumName(i)));
        scoretool::out(QStringLiteral("  time %1 (%2 steps), tempo %3, has drum %4")
                           .arg(time)
                           .arg(steps)
                           .arg(drum.DrumSpeed(i))
                           .arg(drum.HaveDrum(i)));
        for (int t = 0; t < notation::DrumRecord::Tracks; ++t) {
            scoretool::out(QStringLiteral("  track %1 %2 sound %3 volume %4 pan %5 %6")
                               .arg(t + 1)
                               .arg(drum.DrumChannel(i, t) ? QStringLiteral("on ") : QStringLiteral("off"))
                               .arg(drum.DrumSounds(i, t), 2)
                               .arg(drum.DrumVolume(i, t), 3)
                               .arg(drum.DrumSoundImage(i, t), 3)
                               .arg(stepText(drum, i, t)));
        }
    }
    return 0;
}

} // namespace

SCORETOOL_COMMAND("drums", "FILE  print the drum records of a score file or Drum.dat", drums);
