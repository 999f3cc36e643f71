#include "app/notation/play_records.h"

#include "platform/settings/ini_file.h"
#include "platform/settings/program_folder.h"

namespace tunvale::notation {

CMingNames Readm_YM()
{
    CMingNames names;
    const QString file = platform::ProgramFolder::find(QStringLiteral("banzhou.ini"));
    if (file.isEmpty())
        return names;
    for (int k = 0; k < int(names.size()); ++k)
        names[size_t(k)]
            = platform::ReadIniValue(QStringLiteral("唱名"), QString::number(k) + QStringLiteral("cm"), file);
    return names;
}

PlayRecords BuildPlayRecords(const std::vector<CodeEvent>& CodeEvents, const CMingNames& names)
{
    PlayRecords records;
    records.PlayEvents.reserve(CodeEvents.size());
    for (const CodeEvent& e : CodeEvents) {
        const auto message = std::uint32_t(e.MidiMessage);
        records.PlayEvents.push_back({ e.EventTime, e.EventCode, e.Velocity, e.BarNo, e.CharColor, e.CharPos,
            e.LineEnd, message, message + 0x400, message + 0x700 });
        if (e.Velocity >= 10 && e.EventCode >= 0 && e.EventCode <= 127) {
            records.CMingText += names[size_t((e.EventCode + 7) % 12)];
            records.CMingText += u' ';
        }
    }
    qsizetype first = 0;
    qsizetype last = records.CMingText.size();
    while (first < last && records.CMingText[first] == u' ')
        ++first;
    while (last > first && records.CMingText[last - 1] == u' ')
        --last;
    records.CMingText = records.CMingText.mid(first, last - first);
    return records;
}

} // namespace tunvale::notation
