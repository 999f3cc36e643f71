#include "tests/tools/command_registry.h"

#include "platform/midi/builtin_synth.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace {

using tunvale::platform::BuiltInSynth;
using tunvale::platform::ShortMessage;

constexpr int kRate = BuiltInSynth::kSampleRate;
constexpr int kBlock = BuiltInSynth::kBlockFrames;

// A scale on channel 0, then drum hits on channel 9; keyed by the block they fall in.
std::multimap<int, ShortMessage> score()
{
    std::multimap<int, ShortMessage> events;
    auto at = [&](double seconds, int status, int data1, int data2) {
        events.emplace(int(seconds * kRate / kBlock),
            ShortMessage { std::uint8_t(status), std::uint8_t(data1), std::uint8_t(data2) });
    };
    at(0, 0xC0, 0, 0);
    const int scale[] = { 60, 62, 64, 65, 67, 69, 71, 72 };
    for (int i = 0; i < 8; ++i) {
        at(0.4 * i, 0x90, scale[i], 100);
        at(0.4 * i + 0.35, 0x80, scale[i], 0);
    }
    const int drums[] = { 36, 38, 42, 46, 49 };
    for (int i = 0; i < 5; ++i)
        at(3.4 + 0.4 * i, 0x99, drums[i], 110);
    return events;
}

QByteArray wavHeader(qint64 frames)
{
    auto le = [](QByteArray& out, quint32 value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out.append(char((value >> (8 * i)) & 0xFF));
    };
    const quint32 dataBytes = quint32(frames * 4);
    QByteArray h("RIFF");
    le(h, 36 + dataBytes, 4);
    h.append("WAVEfmt ");
    le(h, 16, 4);
    le(h, 1, 2);
    le(h, 2, 2);
    le(h, kRate, 4);
    le(h, kRate * 4, 4);
    le(h, 4, 2);
    le(h, 16, 2);
    h.append("data");
    le(h, dataBytes, 4);
    return h;
}

int synthRender(const QStringList& args)
{
    using namespace tunvale::scoretool;
    if (args.size() != 1) {
        err(QStringLiteral("usage: scoretool synth-render out.wav"));
        return 2;
    }
    tunvale::platform::SynthOptions options;
    options.rendering = tunvale::platform::SynthOptions::Rendering::Offline;
    BuiltInSynth synth(options);
    if (!synth.open()) {
        err(synth.lastError());
        return 1;
    }
    const std::multimap<int, ShortMessage> events = score();
    const int blocks = int(5.6 * kRate / kBlock);
    QByteArray pcm;
    double sum = 0;
    float peak = 0;
    out(QStringLiteral("time     level      peak"));
    for (int b = 0; b < blocks; ++b) {
        const auto [first, last] = events.equal_range(b);
        for (auto it = first; it != last; ++it)
            synth.send(it->second);
        for (float s : synth.render(kBlock)) {
            const float clipped = std::clamp(s, -1.0f, 1.0f);
            const auto sample = qint16(std::lround(clipped * 32767));
            pcm.append(char(sample & 0xFF)).append(char((sample >> 8) & 0xFF));
            sum += double(s) * s;
            peak = std::max(peak, std::abs(s));
        }
        if ((b + 1) % 10 == 0) {
            const double db = 10 * std::log10(std::max(sum / (20.0 * kBlock), 1e-20));
            out(QStringLiteral("%1 s  %2 dB  %3")
                    .arg((b - 9) * double(kBlock) / kRate, 4, 'f', 1)
                    .arg(db, 6, 'f', 1)
                    .arg(double(peak), 5, 'f', 3));
            sum = 0;
            peak = 0;
        }
    }
    return WriteOutputFile(args.first(), wavHeader(pcm.size() / 4) + pcm) ? 0 : 1;
}

} // namespace

SCORETOOL_COMMAND(
    "synth-render", "out.wav  (a scale and drum hits through the built-in synthesizer)", synthRender);
