#pragma once

#include <QStringList>

namespace tunvale::playback {

// "genmidi.txt": 128 instrument lines "name/text to show", then 75 drum sound names, then the 12
// sound names of the percussion sound dialog.
class GenMidiFile
{
public:
    static constexpr int kInstruments = 128;
    static constexpr int kDrumSounds = 75;
    static constexpr int kCommonSounds = 12;

    // From the program folder; a missing file reads as empty.
    static GenMidiFile load();
    static GenMidiFile fromText(const QString& text);

    // Every line is there and every instrument line has its "/".
    bool isComplete() const;
    // The parts of instrument line `program` before and after its first "/"; empty where missing.
    QString instrumentName(int program) const;
    QString instrumentText(int program) const;
    // What an instrument list shows for line `program`: the text after its first "/", the whole line
    // when it has none; empty when the line is missing.
    QString instrumentListText(int program) const;
    // kind -1: the 12 common sounds, any other kind: the 75 drum sounds; as far as the file goes.
    QStringList drumSounds(int kind) const;

private:
    QString instrumentPart(int program, bool beforeSlash) const;

    QStringList lines_;
};

} // namespace tunvale::playback
