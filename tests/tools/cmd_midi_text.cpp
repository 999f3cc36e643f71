#include "tests/tools/command_registry.h"

#include "app/frame/midi_text.h"
#include "tests/tools/score_loading.h"

using namespace tunvale;

namespace {

// Prints the two texts File → 导出Mid... hands to the export component for a score or RTF file.
int midiText(const QStringList& args)
{
    const QString usage = QStringLiteral("usage: scoretool midi-text IN [--selection S,E]");
    int start = 0;
    int end = 0;
    if (args.size() == 3 && args[1] == QStringLiteral("--selection")) {
        const QStringList ends = args[2].split(QChar(u','));
        bool startOk = false;
        bool endOk = false;
        if (ends.size() == 2) {
            start = ends[0].toInt(&startOk);
            end = ends[1].toInt(&endOk);
        }
        if (!startOk || !endOk || start > end) {
            scoretool::err(usage);
            return 2;
        }
    } else if (args.size() != 1) {
        scoretool::err(usage);
        return 2;
    }
    platform::RichTextBox box;
    notation::ScoreHeader header;
    notation::DrumStore drums;
    QString error;
    if (!scoretool::LoadScore(args[0], box, header, drums, error)) {
        scoretool::err(error);
        return 1;
    }
    const frame::MidiText text = frame::PrepareMidiText(box.snapshot(), start, end);
    scoretool::out(QStringLiteral("JPWord ") + text.JPWord);
    scoretool::out(QStringLiteral("JPWord2 ") + text.JPWord2);
    return 0;
}

} // namespace

SCORETOOL_COMMAND("midi-text", "IN [--selection S,E]  the export texts of a score", midiText);
