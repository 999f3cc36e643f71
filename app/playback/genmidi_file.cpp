#include "app/playback/genmidi_file.h"

#include "platform/settings/program_folder.h"
#include "platform/text/gbk.h"

#include <QFile>

namespace tunvale::playback {

namespace {

constexpr int kLines = GenMidiFile::kInstruments + GenMidiFile::kDrumSounds + GenMidiFile::kCommonSounds;

} // namespace

GenMidiFile GenMidiFile::load()
{
    QFile file(platform::ProgramFolder::find(QStringLiteral("genmidi.txt")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return fromText(platform::DecodeTextFileBytes(file.readAll()));
}

GenMidiFile GenMidiFile::fromText(const QString& text)
{
    GenMidiFile file;
    file.lines_ = text.split(QLatin1Char('\n'));
    for (QString& line : file.lines_) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    // The line break after the last line opens no line of its own.
    if (!file.lines_.isEmpty() && file.lines_.constLast().isEmpty())
        file.lines_.removeLast();
    return file;
}

bool GenMidiFile::isComplete() const
{
    if (lines_.size() < kLines)
        return false;
    for (int k = 0; k < kInstruments; ++k) {
        if (!lines_.at(k).contains(QLatin1Char('/')))
            return false;
    }
    return true;
}

QString GenMidiFile::instrumentName(int program) const { return instrumentPart(program, true); }

QString GenMidiFile::instrumentText(int program) const { return instrumentPart(program, false); }

QString GenMidiFile::instrumentListText(int program) const
{
    if (program < 0 || program >= kInstruments || program >= lines_.size())
        return {};
    const QString& line = lines_.at(program);
    return line.mid(line.indexOf(QLatin1Char('/')) + 1);
}

QString GenMidiFile::instrumentPart(int program, bool beforeSlash) const
{
    if (program < 0 || program >= kInstruments || program >= lines_.size())
        return {};
    const QString& line = lines_.at(program);
    const qsizetype slash = line.indexOf(QLatin1Char('/'));
    if (slash < 0)
        return {};
    return beforeSlash ? line.left(slash) : line.mid(slash + 1);
}

QStringList GenMidiFile::drumSounds(int kind) const
{
    const int first = kind == -1 ? kInstruments + kDrumSounds : kInstruments;
    const int count = kind == -1 ? kCommonSounds : kDrumSounds;
    return lines_.mid(first, std::max<qsizetype>(0, std::min<qsizetype>(count, lines_.size() - first)));
}

} // namespace tunvale::playback
