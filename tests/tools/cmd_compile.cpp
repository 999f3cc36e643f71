#include "tests/tools/command_registry.h"

#include "app/notation/breakpoint_cut.h"
#include "app/notation/drum_record.h"
#include "app/notation/performance_compiler.h"
#include "app/notation/play_order.h"
#include "platform/richtext/rich_text_box.h"
#include "tests/tools/performance_printout.h"
#include "tests/tools/score_loading.h"

#include <QTextDocument>

#include <optional>

using namespace tunvale;

namespace {

const QString kUsage = QStringLiteral(
    "FILE [--stage working] [--width W] [--mode M] [--key K] [--caret C] [--order 1,2,..] [--speed S] "
    "[--volume V] [--cut] [--seed N] [--drums B,B,..]");

// --key takes 0 to 54: the key mark gives 19 (low C) to 54 (high B) and the solfège compile 0; a key
// between shifts the notes as any other does.
constexpr int kHighestKey = 54;

struct Options {
    QString file;
    std::optional<double> width;
    std::optional<int> mode, key, caret, speed, volume;
    std::optional<QString> order;
    bool working = false;
    bool cut = false; // cut the performance at the caret, as a play from the breakpoint
    std::uint32_t seed = 1; // the accompaniment's draws
    std::optional<QString> drumBars; // a drum-only build (mode 8) of these 0-based bars
};

std::optional<Options> parse(const QStringList& args)
{
    Options options;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (!arg.startsWith(QStringLiteral("--"))) {
            if (!options.file.isEmpty())
                return std::nullopt;
            options.file = arg;
            continue;
        }
        if (arg == QStringLiteral("--cut")) {
            options.cut = true;
            continue;
        }
        if (i + 1 >= args.size())
            return std::nullopt;
        const QString& value = args[++i];
        bool ok = true;
        if (arg == QStringLiteral("--stage")) {
            options.working = value == QStringLiteral("working");
            ok = options.working || value == QStringLiteral("final");
        } else if (arg == QStringLiteral("--width"))
            options.width = value.toDouble(&ok);
        else if (arg == QStringLiteral("--order"))
            options.order = value;
        else if (arg == QStringLiteral("--mode"))
            options.mode = value.toInt(&ok);
        else if (arg == QStringLiteral("--key")) {
            options.key = scoretool::intArgument(value, 0, kHighestKey);
            ok = options.key.has_value();
        } else if (arg == QStringLiteral("--caret"))
            options.caret = value.toInt(&ok);
        else if (arg == QStringLiteral("--speed"))
            options.speed = value.toInt(&ok);
        else if (arg == QStringLiteral("--volume"))
            options.volume = value.toInt(&ok);
        else if (arg == QStringLiteral("--seed"))
            options.seed = value.toUInt(&ok);
        else if (arg == QStringLiteral("--drums"))
            options.drumBars = value;
        else
            ok = false;
        if (!ok)
            return std::nullopt;
    }
    if (options.file.isEmpty())
        return std::nullopt;
    return options;
}

void print(const notation::PerformanceCompiler& compiler)
{
    scoretool::out(QStringLiteral("key ") + compiler.POrderStr());
    scoretool::out(QStringLiteral("order ") + scoretool::joined(compiler.PlayOrder()));
    QStringList segments;
    for (const auto& s : compiler.ScoreSegments())
        segments << QStringLiteral("%1:%2:%3:%4")
                        .arg(s.FirstEvent)
                        .arg(s.EventCount)
                        .arg(s.FirstBar)
                        .arg(s.BarCount);
    scoretool::out(QStringLiteral("segments ") + segments.join(QChar(' ')));
    scoretool::out(QStringLiteral("drumbars ") + scoretool::joined(compiler.DrumPlayBars()));
    const auto& events = compiler.workingEvents();
    for (size_t i = 0; i < events.size(); ++i) {
        const notation::CodeEvent& e = events[i];
        scoretool::out(QStringLiteral("ev %1 pos=%2 ch=U+%3 font=%4 seg=%5 bar=%6 code=%7 len=%8 vel=%9")
                           .arg(i)
                           .arg(e.CharPos)
                           .arg(QString::number(e.CharCode, 16).toUpper().rightJustified(4, QChar(u'0')))
                           .arg(e.FontClass)
                           .arg(e.SegmentNo)
                           .arg(e.BarNo)
                           .arg(e.EventCode)
                           .arg(QString::asprintf("%.10g", e.EventTime))
                           .arg(e.Velocity));
    }
}

// The performance as the players get it: compiled, then cut or rebuilt with drums only on request.
notation::Performance finalPerformance(const notation::PerformanceCompiler& compiler, const Options& options,
    const notation::ScoreHeader& header, notation::DrumStores& stores)
{
    notation::Performance performance = compiler.performance();
    if (options.drumBars) {
        std::vector<int> bars;
        for (const QString& bar : options.drumBars->split(QChar(','), Qt::SkipEmptyParts))
            bars.push_back(bar.toInt());
        constexpr int drumsOnly = 8;
        if (auto build = compiler.Get_DrumCodeEvents(
                drumsOnly, bars, 0, stores, header.SameSpeed, options.speed.value_or(header.Speed)))
            performance = performance.withDrums(std::move(build->tracks), build->TotalPlayTime, drumsOnly);
    }
    return options.cut ? notation::CutAtBreakpoint(performance) : performance;
}

int compile(const QStringList& args)
{
    const std::optional<Options> options = parse(args);
    if (!options) {
        scoretool::err(QStringLiteral("usage: scoretool compile ") + kUsage);
        return 2;
    }
    platform::RichTextBox box;
    notation::ScoreHeader header;
    notation::DrumStores stores;
    QString error;
    if (!scoretool::LoadScore(options->file, box, header, stores.XjDrums, error)) {
        scoretool::err(error);
        return 1;
    }
    if (options->width)
        box.document()->setTextWidth(*options->width);

    const platform::RichTextSnapshot snapshot = box.snapshot();
    notation::CompileInput input(snapshot);
    input.Volume = options->volume.value_or(header.Volume);
    input.Speed = options->speed.value_or(header.Speed);
    input.PlaySelStart = options->caret.value_or(0);
    input.PZType = header.PZType;
    input.BaseKey = header.BaseKey;
    input.ScoreKey = options->key.value_or(31);
    input.PlayMode = options->mode.value_or(0);
    if (options->order) {
        const notation::PlayOrderEntries entries = notation::ParsePlayOrderText(*options->order);
        input.playOrder
            = [order = std::vector<int>(entries.begin(), entries.end())](const QString&) { return order; };
    } else {
        input.playOrder = notation::LoadedPlayOrder(header.CurrentFile);
    }
    input.RapDrum = header.RapDrum;
    input.SameSpeed = header.SameSpeed;
    input.drums = &stores;
    input.seed = options->seed;
    notation::PerformanceCompiler compiler;
    compiler.Get_CodeEvents(input);
    if (options->working) {
        print(compiler);
        return 0;
    }
    for (const QString& line :
        scoretool::PerformanceLines(finalPerformance(compiler, *options, header, stores)))
        scoretool::out(line);
    return 0;
}

} // namespace

SCORETOOL_COMMAND(
    "compile", "FILE [--stage working] [--width W] [--order 1,2,..] [--key K] [--cut] ...", compile);
