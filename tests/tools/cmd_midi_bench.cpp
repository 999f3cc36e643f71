#include "tests/tools/command_registry.h"

#include "components/sequor/core/midi_export.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <random>

using namespace tunvale;

namespace {

// A melody of `notes` notes and rests in 4/4 bars, five octaves of C major, sixteenths to halves with
// dots and dashes, written twice: as export text and as ABC (L:1/16).
struct Melody {
    QString text;
    QString abc;
};

Melody MakeMelody(int notes)
{
    static const char Letters[] = "CDEFGAB";
    static constexpr int Rows[] = { 3, 2, 1, 0, 4 }; // three octaves down .. one up
    static const char* const Octaves[] = { ",,,", ",,", ",", "", "'" };
    std::mt19937 random(1);
    Melody m;
    m.abc = QStringLiteral("X:1\nT:bench\nM:4/4\nL:1/16\nQ:1/4=120\nK:C\n");
    int left = 16;
    for (int i = 0; i < notes; ++i) {
        // Sixteenth, eighth, dotted eighth, quarter, dotted quarter, half: as far as the bar allows.
        static constexpr int Lengths[] = { 1, 2, 3, 4, 6, 8 };
        int length = 0;
        do
            length = Lengths[random() % 6];
        while (length > left);
        const bool rest = random() % 8 == 0;
        const int octave = int(random() % 5), degree = int(random() % 7);
        const int dur = length == 1 ? 2 : length <= 3 ? 1 : 0;
        const char16_t base
            = rest ? char16_t(0x62CE + dur) : char16_t(0x4E00 + Rows[octave] * 42 + dur * 7 + degree);
        m.text += QChar(base);
        if (length == 3 || length == 6)
            m.text += QChar(char16_t(0x62C2));
        if (length == 8)
            m.text += QChar(char16_t(0x6353));
        m.abc += rest
            ? QStringLiteral("z")
            : (octave == 4 ? QString(QChar(Letters[degree]).toLower()) : QString(QChar(Letters[degree])))
                + QString::fromLatin1(octave == 4 ? "" : Octaves[octave]);
        m.abc += QString::number(length) + QChar(' ');
        left -= length;
        if (left == 0) {
            m.text += QChar(char16_t(0x6352));
            m.abc += QStringLiteral("|\n");
            left = 16;
        }
    }
    m.abc += QChar('\n');
    return m;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool WriteText(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Times our export against abc2midi on the same melody; --keep DIR leaves the inputs and both files there.
int midiBench(const QStringList& args)
{
    int notes = 10000;
    QString keep;
    for (int i = 0; i + 1 < args.size(); i += 2) {
        if (args[i] == QStringLiteral("--notes"))
            notes = args[i + 1].toInt();
        else if (args[i] == QStringLiteral("--keep"))
            keep = args[i + 1];
    }
    if (notes <= 0 || args.size() % 2 != 0) {
        scoretool::err(QStringLiteral("usage: scoretool midi-bench [--notes N] [--keep DIR]"));
        return 2;
    }
    QTemporaryDir temporary;
    const QDir dir(keep.isEmpty() ? temporary.path() : keep);
    const Melody melody = MakeMelody(notes);
    if (!WriteText(dir.filePath(QStringLiteral("bench.txt")), melody.text.toUtf8())
        || !WriteText(dir.filePath(QStringLiteral("bench.abc")), melody.abc.toUtf8())) {
        scoretool::err(QStringLiteral("cannot write into %1").arg(dir.path()));
        return 1;
    }
    sequor::ExportInput input;
    input.text = melody.text;
    input.loadedOrder = sequor::LoadedOrder { QStringLiteral("00"), { 0 } };
    std::vector<double> ours, theirs;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        const sequor::ExportResult result
            = sequor::ExportMidi(input, dir.filePath(QStringLiteral("ours.mid")));
        ours.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (result.status != sequor::ExportResult::Written) {
            scoretool::err(result.message);
            return 1;
        }
        timer.restart();
        QProcess abc2midi;
        abc2midi.start(QStringLiteral("abc2midi"),
            { dir.filePath(QStringLiteral("bench.abc")), QStringLiteral("-silent"), QStringLiteral("-o"),
                dir.filePath(QStringLiteral("abc2midi.mid")) });
        if (!abc2midi.waitForFinished(60000) || abc2midi.exitCode() != 0) {
            scoretool::err(QStringLiteral("abc2midi failed: %1").arg(abc2midi.errorString()));
            return 1;
        }
        theirs.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    scoretool::out(QStringLiteral("notes %1").arg(notes));
    scoretool::out(QStringLiteral("export ms %1").arg(Median(ours), 0, 'f', 3));
    scoretool::out(QStringLiteral("abc2midi ms %1").arg(Median(theirs), 0, 'f', 3));
    scoretool::out(QStringLiteral("ratio %1").arg(Median(ours) / Median(theirs), 0, 'f', 3));
    return 0;
}

} // namespace

SCORETOOL_COMMAND("midi-bench", "[--notes N] [--keep DIR]  time the MIDI export against abc2midi", midiBench);
