#include "tests/tools/command_registry.h"

#include "app/frame/midi_text.h"
#include "app/notation/drum_data.h"
#include "app/notation/performance_compiler.h"
#include "app/notation/play_order_key.h"
#include "app/playback/play_texts.h"
#include "components/sequor/core/midi_export.h"
#include "components/sequor/core/play_order_expansion.h"
#include "tests/tools/score_loading.h"

#include <QFile>
#include <QFileInfo>

using namespace tunvale;

namespace {

const QString kUsage = QStringLiteral(
    "IN OUT [--folder DIR]... [--tempo BPM] [--time-sig N/D] [--key-shift K] [--program P] [--volume V] "
    "[--title T] [--notice T] [--comment T] [--auto-percussion VOL] [--score-drums] "
    "[--overlay PROGRAM,VOLUME,PAN] [--main-pan PAN] [--drums FILE] [--order 1,1,2] [--seed N] "
    "[--selection S,E]\n"
    "IN is a text file of export text, or a score (.vls) or RTF file read as File → 导出Mid... reads it.");

struct Options {
    QString in, out;
    sequor::ExportInput input;
    QString drumFile;
    std::optional<QString> order;
    std::optional<std::pair<int, int>> selection;
    // Set on the command line; a score's own values give the rest.
    bool tempo = false, keyShift = false, program = false, volume = false;
};

bool isScoreFile(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix();
    return suffix.compare(QStringLiteral("vls"), Qt::CaseInsensitive) == 0
        || suffix.compare(QStringLiteral("rtf"), Qt::CaseInsensitive) == 0;
}

std::optional<Options> parse(const QStringList& args)
{
    Options o;
    o.input.seed = 1;
    QStringList files;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (!arg.startsWith(QStringLiteral("--"))) {
            files << arg;
            continue;
        }
        if (arg == QStringLiteral("--score-drums")) {
            o.input.options.UseScoreDrums = true;
            continue;
        }
        if (i + 1 >= args.size())
            return std::nullopt;
        const QString& value = args[++i];
        bool ok = true;
        sequor::ExportOptions& options = o.input.options;
        if (arg == QStringLiteral("--folder"))
            o.input.folders << value;
        else if (arg == QStringLiteral("--tempo")) {
            o.input.OldSpeed1 = value.toInt(&ok);
            o.tempo = true;
        } else if (arg == QStringLiteral("--time-sig"))
            o.input.JeiPai1 = value;
        else if (arg == QStringLiteral("--key-shift")) {
            o.input.OldYDiao1 = value.toInt(&ok);
            ok = ok && o.input.OldYDiao1 >= -12 && o.input.OldYDiao1 <= 23;
            o.keyShift = true;
        } else if (arg == QStringLiteral("--program")) {
            o.input.ComSoundsListIndex1 = value.toInt(&ok);
            o.program = true;
        } else if (arg == QStringLiteral("--volume")) {
            o.input.Text_VolumeText1 = value.toInt(&ok);
            o.volume = true;
        } else if (arg == QStringLiteral("--title"))
            options.MidTitle = value;
        else if (arg == QStringLiteral("--notice"))
            options.MidNotice = value;
        else if (arg == QStringLiteral("--comment"))
            options.MidComment = value;
        else if (arg == QStringLiteral("--auto-percussion")) {
            options.AutoPercussion = true;
            options.PercussionVolume = value.toInt(&ok);
        } else if (arg == QStringLiteral("--overlay")) {
            const QStringList parts = value.split(QChar(u','));
            ok = parts.size() == 3;
            options.OverlayTrack = true;
            for (int p = 0; ok && p < 3; ++p)
                (p == 0          ? options.OverlayProgram
                        : p == 1 ? options.OverlayVolume
                                 : options.OverlayPan)
                    = parts[p].toInt(&ok);
        } else if (arg == QStringLiteral("--main-pan")) {
            options.MainPanOn = true;
            options.MainPan = value.toInt(&ok);
        } else if (arg == QStringLiteral("--drums"))
            o.drumFile = value;
        else if (arg == QStringLiteral("--order")) {
            // 1-based pieces.
            for (const QString& item : value.split(QChar(u',')))
                ok = ok && scoretool::intArgument(item, 1).has_value();
            o.order = value;
        } else if (arg == QStringLiteral("--seed"))
            o.input.seed = value.toUInt(&ok);
        else if (arg == QStringLiteral("--selection")) {
            const QStringList ends = value.split(QChar(u','));
            bool endOk = ends.size() == 2;
            const int start = endOk ? ends[0].toInt(&ok) : 0;
            const int end = endOk ? ends[1].toInt(&endOk) : 0;
            ok = ok && endOk && start <= end;
            o.selection = { start, end };
        } else
            ok = false;
        if (!ok)
            return std::nullopt;
    }
    if (files.size() != 2)
        return std::nullopt;
    o.in = files[0];
    o.out = files[1];
    return o;
}

// The export text and the defaults of a score or RTF file, as the window's export collects them; an
// explicit option wins.
bool loadScore(Options& o, notation::DrumStore& drums)
{
    platform::RichTextBox box;
    notation::ScoreHeader header;
    QString error;
    if (!scoretool::LoadScore(o.in, box, header, drums, error)) {
        scoretool::err(error);
        return false;
    }
    const platform::RichTextSnapshot snapshot = box.snapshot();
    const auto [start, end] = o.selection.value_or(std::pair { 0, 0 });
    const frame::MidiText text = frame::PrepareMidiText(snapshot, start, end);
    if (o.selection) {
        if (text.JPWord2.isEmpty()) {
            scoretool::err(QStringLiteral("the selection holds no notation"));
            return false;
        }
        o.input.text = sequor::SelectionPlayText(text.JPWord2);
        o.input.options.SelectionOnly = true;
    } else {
        o.input.text = text.JPWord;
    }
    if (!o.tempo)
        o.input.OldSpeed1 = header.Speed;
    if (!o.program)
        o.input.ComSoundsListIndex1 = header.Instrument;
    if (!o.volume)
        o.input.Text_VolumeText1 = header.Volume;
    if (!o.keyShift)
        o.input.OldYDiao1 = playback::TonicFromKey(playback::GetKeyText(box.Text())).ScoreKey - 31;
    if (!o.order) {
        const QString notationText = notation::NotationText(snapshot.lines);
        o.input.loadedOrder = sequor::LoadedOrder { notation::PlayOrderKey(notationText),
            notation::LoadedPlayOrder(header.CurrentFile)(notationText) };
    }
    return true;
}

// Exports to a MIDI file an export text kept in a UTF-8 file (line breaks dropped), or a score.
int midiExport(const QStringList& args)
{
    std::optional<Options> o = parse(args);
    if (!o) {
        scoretool::err(QStringLiteral("usage: scoretool midi-export ") + kUsage);
        return 2;
    }
    notation::DrumStore drums;
    if (isScoreFile(o->in)) {
        if (!loadScore(*o, drums))
            return 2;
    } else {
        if (o->selection) {
            scoretool::err(QStringLiteral("--selection needs a score or RTF file"));
            return 2;
        }
        QFile file(o->in);
        if (!file.open(QIODevice::ReadOnly)) {
            scoretool::err(QStringLiteral("cannot read %1").arg(o->in));
            return 2;
        }
        o->input.text = QString::fromUtf8(file.readAll()).remove(QChar(u'\r')).remove(QChar(u'\n'));
    }
    if (!o->drumFile.isEmpty() && !notation::ReadDrumData(drums, o->drumFile)) {
        scoretool::err(QStringLiteral("no drum records in %1").arg(o->drumFile));
        return 2;
    }
    o->input.drums = drums;
    if (o->order) {
        sequor::LoadedOrder loaded { sequor::MakeOrderKey(o->input.text), {} };
        for (const QString& item : o->order->split(QChar(u',')))
            loaded.segments.push_back(item.toInt() - 1);
        o->input.loadedOrder = loaded;
    }
    const sequor::ExportResult result = sequor::ExportMidi(o->input, o->out);
    if (result.status != sequor::ExportResult::Written) {
        scoretool::err(result.message);
        return 2;
    }
    const sequor::ConvertedScore& c = *result.converted;
    scoretool::out(QStringLiteral("key ") + c.key);
    scoretool::out(QStringLiteral("order ") + scoretool::joined(c.order, 1));
    scoretool::out((QStringLiteral("barplaylist ") + scoretool::joined(c.BarPlayList)).trimmed());
    scoretool::out((QStringLiteral("barlengths ") + scoretool::joined(c.parsed.BarLengths)).trimmed());
    scoretool::out(QStringLiteral("tracks %1").arg(result.TrackCount));
    return 0;
}

} // namespace

SCORETOOL_COMMAND(
    "midi-export", "IN OUT [--folder DIR] [--tempo BPM] ...  export a text to a MIDI file", midiExport);
