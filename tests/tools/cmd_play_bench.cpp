#include "tests/tools/command_registry.h"

#include "app/notation/performance_compiler.h"
#include "app/notation/play_order.h"
#include "app/playback/play_session.h"
#include "app/playback/thread_control.h"
#include "platform/midi/recording_sink.h"
#include "tests/tools/score_loading.h"

#include <algorithm>
#include <ctime>
#include <map>
#include <thread>
#include <vector>

// Times the sending thread: a long performance goes through the real sender thread and the play clock
// into a recording sink, and every record's arrival is compared with its due time. A bare
// sleep_until loop over the same due times gives the baseline of what the machine allows.

using namespace tunvale;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kBenchMode = 2; // melody, accompaniment and drums

// The built-in synthesizer replaced by a recording sink.
class RecordingDevices final : public platform::MidiDevices
{
public:
    explicit RecordingDevices(std::shared_ptr<platform::MidiRecording> recording)
        : recording_(std::move(recording))
    {
    }
    std::unique_ptr<platform::MidiOut> builtIn() override
    {
        return std::make_unique<platform::RecordingSink>(recording_);
    }
    QStringList portNames() override { return {}; }
    std::unique_ptr<platform::MidiOut> port(const QString&) override { return nullptr; }

private:
    std::shared_ptr<platform::MidiRecording> recording_;
};

constexpr std::uint32_t packed(int status, int data1, int data2)
{
    return std::uint32_t(status) | std::uint32_t(data1) << 8 | std::uint32_t(data2) << 16;
}

// Sixteenths at tempo 240 with an accompaniment hit on each, a kick on every beat and a crash on
// every bar. Notes, velocities and pans vary so that nearly every message is told apart by its bytes.
notation::Performance generatedPerformance(double seconds)
{
    constexpr double sixteenth = 60.0 / 240 / 4;
    notation::PerformanceData data;
    const int notes = int(seconds / sixteenth);
    data.PlayEvents.clear();
    data.AccompPlayEvents.clear();
    for (int k = 0; k < notes; ++k) {
        notation::PlayEvent e;
        e.EventTime = notation::RoundSeconds((k + 1) * sixteenth);
        e.Note = 48 + k % 40;
        e.Velocity = 40 + k / 40 % 80;
        e.NoteOnMsg = packed(0x90, e.Note, e.Velocity);
        data.PlayEvents.push_back(e);
        data.AccompPlayEvents.push_back(
            { e.EventTime, 0, packed(0xB9, 10, k % 128), packed(0x99, 35 + k % 20, 20 + k / 20 % 100) });
    }
    const std::array<double, 2> spans = { 0.25, 1.0 };
    for (int t = 0; t < 2; ++t) {
        auto& track = data.Drums.DrumPlayEvents[size_t(t)];
        track.push_back({}); // the silent lead-in
        const int hits = int(seconds / spans[size_t(t)]);
        for (int j = 1; j <= hits; ++j)
            track.push_back({ notation::RoundSeconds(j * spans[size_t(t)]), 0, packed(0xB9, 10, 64),
                packed(0x99, t == 0 ? 36 : 49, 1 + (j + 63 * t) % 127) });
        data.Drums.DrumEventCounts[size_t(t)] = hits;
    }
    data.TotalPlayTime = seconds;
    data.PlayMode = kBenchMode;
    return notation::Performance(std::move(data));
}

std::optional<notation::Performance> compiledPerformance(const QString& file)
{
    platform::RichTextBox box;
    notation::ScoreHeader header;
    notation::DrumStores stores;
    QString error;
    if (!scoretool::LoadScore(file, box, header, stores.XjDrums, error)) {
        scoretool::err(error);
        return std::nullopt;
    }
    const platform::RichTextSnapshot snapshot = box.snapshot();
    notation::CompileInput input(snapshot);
    input.Volume = header.Volume;
    input.Speed = header.Speed;
    input.PZType = header.PZType;
    input.BaseKey = header.BaseKey;
    input.PlayMode = kBenchMode;
    input.playOrder = notation::LoadedPlayOrder(header.CurrentFile);
    input.RapDrum = header.RapDrum;
    input.SameSpeed = header.SameSpeed;
    input.drums = &stores;
    input.seed = 1;
    notation::PerformanceCompiler compiler;
    compiler.Get_CodeEvents(input);
    return compiler.performance();
}

// A record the sender delivers: when it is due and the message that tells it apart.
struct DueRecord {
    double due = 0;
    std::uint32_t message = 0;
};

std::vector<DueRecord> dueRecords(const notation::Performance& p)
{
    std::vector<DueRecord> records;
    auto add = [&](double due, std::uint32_t message) {
        if (platform::ShortMessage::unpack(message).isValid())
            records.push_back({ due, message });
    };
    for (int k = 0; k <= p.PlayEventCount(); ++k)
        add(k == 0 ? 0 : p.PlayEvents()[size_t(k - 1)].EventTime, p.PlayEvents()[size_t(k)].NoteOnMsg);
    for (int k = 0; k <= p.AccompEventCount(); ++k)
        add(k == 0 ? 0 : p.AccompPlayEvents()[size_t(k - 1)].EventTime,
            p.AccompPlayEvents()[size_t(k)].HitMsg);
    for (int t = 0; t < notation::DrumTrackCount; ++t)
        for (int k = 0; k <= p.DrumEventCount(t); ++k)
            add(k == 0 ? 0 : p.DrumPlayEvents(t)[size_t(k - 1)].EventTime,
                p.DrumPlayEvents(t)[size_t(k)].HitMsg);
    std::stable_sort(
        records.begin(), records.end(), [](const auto& a, const auto& b) { return a.due < b.due; });
    return records;
}

double processCpuSeconds()
{
    timespec t {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

struct Errors {
    std::vector<std::pair<double, double>> byDue; // (due, error ms)
    double cpuSeconds = 0;
};

// Each recorded message is matched to the earliest record with the same bytes not matched yet.
Errors senderErrors(const notation::Performance& performance, const std::vector<DueRecord>& records)
{
    auto recording = std::make_shared<platform::MidiRecording>();
    playback::PlayNote output(std::make_unique<RecordingDevices>(recording));
    playback::PlayClock clock;
    playback::ThreadControl sender;
    const playback::PlaySession session { std::make_shared<const notation::Performance>(performance),
        kBenchMode, 1 };

    const double cpuBefore = processCpuSeconds();
    clock.ResetClock();
    const Clock::time_point start = Clock::now();
    clock.StartClock();
    sender.CreateThread(kBenchMode,
        [&](int, playback::ThreadPass& pass) { playback::RunSender(session, clock, output, pass); });
    while (sender.running())
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    sender.StopThread();
    clock.StopClock();
    Errors errors;
    errors.cpuSeconds = processCpuSeconds() - cpuBefore;

    std::map<std::uint32_t, std::vector<double>> pending;
    for (auto it = records.rbegin(); it != records.rend(); ++it)
        pending[it->message].push_back(it->due);
    for (const platform::RecordedMessage& m : recording->messages()) {
        auto found = pending.find(m.message.packed());
        if (found == pending.end() || found->second.empty())
            continue;
        const double due = found->second.back();
        found->second.pop_back();
        const double arrived = std::chrono::duration<double>(m.time - start).count();
        errors.byDue.emplace_back(due, (arrived - due) * 1000);
    }
    return errors;
}

Errors baselineErrors(const std::vector<DueRecord>& records)
{
    Errors errors;
    const double cpuBefore = processCpuSeconds();
    const Clock::time_point start = Clock::now();
    for (const DueRecord& r : records) {
        const auto target
            = start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(r.due));
        std::this_thread::sleep_until(target);
        errors.byDue.emplace_back(
            r.due, std::chrono::duration<double, std::milli>(Clock::now() - target).count());
    }
    errors.cpuSeconds = processCpuSeconds() - cpuBefore;
    return errors;
}

double quantile(std::vector<double> values, double q)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(q * double(values.size())))];
}

QString row(const QString& name, const Errors& e, double total)
{
    std::vector<double> all;
    std::vector<double> first;
    std::vector<double> last;
    for (const auto& [due, error] : e.byDue) {
        all.push_back(error);
        if (due < 1)
            first.push_back(error);
        if (due >= total - 1)
            last.push_back(error);
    }
    return QStringLiteral("%1 %2 %3 %4 %5 %6")
        .arg(name, -14)
        .arg(quantile(all, 0.5), 8, 'f', 3)
        .arg(quantile(all, 0.99), 8, 'f', 3)
        .arg(all.empty() ? 0 : *std::max_element(all.begin(), all.end()), 8, 'f', 3)
        .arg(quantile(last, 0.5) - quantile(first, 0.5), 8, 'f', 3)
        .arg(e.cpuSeconds, 8, 'f', 3);
}

int playBench(const QStringList& args)
{
    std::optional<int> seconds = 60;
    QString file;
    for (int i = 0; i < args.size() && seconds; ++i) {
        if (args[i] == QStringLiteral("--seconds") && i + 1 < args.size())
            seconds = scoretool::intArgument(args[++i], 1, scoretool::kLongestRunSeconds);
        else if (!args[i].startsWith(QStringLiteral("--")) && file.isEmpty())
            file = args[i];
        else
            seconds.reset();
    }
    if (!seconds) {
        scoretool::err(QStringLiteral("usage: scoretool play-bench [--seconds N] [score]  (N: 1 to %1)")
                           .arg(scoretool::kLongestRunSeconds));
        return 2;
    }
    std::optional<notation::Performance> performance
        = file.isEmpty() ? generatedPerformance(*seconds) : compiledPerformance(file);
    if (!performance) {
        scoretool::err(QStringLiteral("cannot read %1").arg(file));
        return 1;
    }
    const std::vector<DueRecord> records = dueRecords(*performance);
    const double total = performance->TotalPlayTime();
    scoretool::out(QStringLiteral("%1 records over %2 s (%3, mode %4)")
                       .arg(records.size())
                       .arg(total, 0, 'f', 1)
                       .arg(file.isEmpty() ? QStringLiteral("generated") : file)
                       .arg(kBenchMode));
    const Errors sender = senderErrors(*performance, records);
    const Errors baseline = baselineErrors(records);
    scoretool::out(QStringLiteral("send-time error, ms  median      p99      max    drift  cpu s"));
    scoretool::out(row(QStringLiteral("sender thread"), sender, total));
    scoretool::out(row(QStringLiteral("sleep_until"), baseline, total));
    scoretool::out(QStringLiteral("matched %1 of %2 records").arg(sender.byDue.size()).arg(records.size()));
    return 0;
}

} // namespace

SCORETOOL_COMMAND("play-bench", "[--seconds 60] [score]  (send-time error of the sending thread)", playBench);
