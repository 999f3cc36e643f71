#include "tests/tools/command_registry.h"

#include "app/notation/drum_data.h"
#include "components/sequor/core/midi_export.h"
#include "components/sequor/core/play_order_expansion.h"

#include <QFile>

using namespace tunvale;

namespace {

const QString kUsage = QStringLiteral(
    "IN OUT [--folder DIR]... [--tempo BPM] [--time-sig N/D] [--key-shift K] [--program P] [--volume V] "
    "[--title T] [--notice T] [--comment T] [--auto-percussion VOL] [--score-drums] "
    "[--overlay PROGRAM,VOLUME,PAN] [--main-pan PAN] [--drums FILE] [--order 1,1,2] [--seed N]");

struct Options {
    QString in, out;
    sequor::ExportInput input;
    QString drumFile;
    std::optional<QString> order;
};

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
        else if (arg == QStringLiteral("--tempo"))
            o.input.OldSpeed1 = value.toInt(&ok);
        else if (arg == QStringLiteral("--time-sig"))
            o.input.JeiPai1 = value;
        else if (arg == QStringLiteral("--key-shift")) {
            o.input.OldYDiao1 = value.toInt(&ok);
            ok = ok && o.input.OldYDiao1 >= -12 && o.input.OldYDiao1 <= 23;
        } else if (arg == QStringLiteral("--program"))
            o.input.ComSoundsListIndex1 = value.toInt(&ok);
        else if (arg == QStringLiteral("--volume"))
            o.input.Text_VolumeText1 = value.toInt(&ok);
        else if (arg == QStringLiteral("--title"))
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
        else if (arg == QStringLiteral("--order"))
            o.order = value;
        else if (arg == QStringLiteral("--seed"))
            o.input.seed = value.toUInt(&ok);
        else
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

QString joined(const auto& values, int offset = 0)
{
    QStringList parts;
    for (const auto value : values)
        parts << QString::number(value + offset);
    return parts.join(QChar(','));
}

// Exports an export text kept in a UTF-8 file (line breaks dropped) to a MIDI file.
int midiExport(const QStringList& args)
{
    std::optional<Options> o = parse(args);
    if (!o) {
        scoretool::err(QStringLiteral("usage: scoretool midi-export ") + kUsage);
        return 2;
    }
    QFile file(o->in);
    if (!file.open(QIODevice::ReadOnly)) {
        scoretool::err(QStringLiteral("cannot read %1").arg(o->in));
        return 2;
    }
    o->input.text = QString::fromUtf8(file.readAll()).remove(QChar(u'\r')).remove(QChar(u'\n'));
    notation::DrumStore drums;
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
    scoretool::out(QStringLiteral("order ") + joined(c.order, 1));
    scoretool::out((QStringLiteral("barplaylist ") + joined(c.BarPlayList)).trimmed());
    scoretool::out((QStringLiteral("barlengths ") + joined(c.parsed.BarLengths)).trimmed());
    scoretool::out(QStringLiteral("tracks %1").arg(result.TrackCount));
    return 0;
}

} // namespace

SCORETOOL_COMMAND(
    "midi-export", "IN OUT [--folder DIR] [--tempo BPM] ...  export a text to a MIDI file", midiExport);
