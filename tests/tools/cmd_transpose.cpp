#include "tests/tools/command_registry.h"
#include "tests/tools/score_loading.h"

#include "components/keyshift/font_runs.h"
#include "keyshift.h"
#include "platform/desktop/prompts.h"

namespace {

using namespace tunvale;

// The score's TextRTF as the editor holds it after loading IN.
std::optional<QString> loadedRtf(const QString& file)
{
    platform::RichTextBox box;
    notation::ScoreHeader header;
    notation::DrumStore drums;
    QString error;
    if (!scoretool::LoadScore(file, box, header, drums, error)) {
        scoretool::err(error);
        return std::nullopt;
    }
    return box.TextRTF();
}

int transpose(const QStringList& args)
{
    bool stepOk = false;
    const int step = args.size() == 3 ? args[1].toInt(&stepOk) : 0;
    if (!stepOk || (step != 2 && step != -2 && step != 1 && step != -1)) {
        scoretool::err(QStringLiteral("usage: scoretool transpose IN STEP OUT.rtf (STEP 2, -2, 1 or -1)"));
        return 2;
    }
    const std::optional<QString> rtf = loadedRtf(args[0]);
    if (!rtf)
        return 1;
    const std::unique_ptr<keyshift::ClsYD> keyshifter = keyshift::CreateClsYD(platform::Prompts::current());
    keyshifter->setNUporDown(step);
    keyshifter->setTRtf(*rtf);
    keyshifter->setReadNotEnought(false);
    const QString result = keyshifter->GetNewRtf();
    if (keyshifter->ReadNotEnought()) {
        scoretool::out(QStringLiteral("range"));
        return 0;
    }
    if (!scoretool::WriteOutputFile(args[2], result.toLatin1()))
        return 1;
    scoretool::out(QStringLiteral("ok"));
    return 0;
}

int transposeRuns(const QStringList& args)
{
    if (args.size() != 1) {
        scoretool::err(QStringLiteral("usage: scoretool transpose-runs IN"));
        return 2;
    }
    const std::optional<QString> rtf = loadedRtf(args[0]);
    if (!rtf)
        return 1;
    const keyshift::FontTable table = keyshift::ReadFontTable(*rtf);
    for (const keyshift::FontRun& run : keyshift::SplitFontRuns(*rtf, table))
        scoretool::out(
            QStringLiteral("%1 %2 %3 %4").arg(run.Start).arg(run.End).arg(int(run.Kind)).arg(run.Tag));
    return 0;
}

} // namespace

SCORETOOL_COMMAND(
    "transpose", "IN STEP OUT.rtf   transpose the score's RTF by STEP semitones: ok, or range", transpose);
SCORETOOL_COMMAND("transpose-runs",
    "IN   the transposer's font runs: start end kind tag (0-based, end excluded)", transposeRuns);
