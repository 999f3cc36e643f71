#include "app/drums/drum_sound_names.h"

#include "platform/settings/program_folder.h"
#include "platform/settings/whole_file.h"
#include "platform/text/gbk.h"

namespace tunvale::drums {

DrumSoundNames DrumSoundNamesFromText(const QString& text)
{
    QStringList lines = text.split(u'\n');
    // The line break after the last line opens no line of its own.
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    DrumSoundNames names;
    names.complete = lines.size() >= kDrumSoundCount;
    for (int i = 0; i < kDrumSoundCount; ++i) {
        QString line = i < lines.size() ? lines[i] : QString();
        if (line.endsWith(u'\r'))
            line.chop(1);
        names.items << (i < lines.size() ? line : QString::number(kFirstDrumNote + i));
    }
    return names;
}

DrumSoundNames LoadDrumSoundNames()
{
    const QString path = platform::ProgramFolder::find(kDrumSoundFileName);
    const auto bytes = path.isEmpty() ? std::nullopt : platform::ReadWholeFile(path);
    return DrumSoundNamesFromText(bytes ? platform::DecodeTextFileBytes(*bytes) : QString());
}

} // namespace tunvale::drums
