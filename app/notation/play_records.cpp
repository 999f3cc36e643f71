#include "app/notation/play_records.h"

#include "platform/settings/ini_file.h"
#include "platform/settings/program_folder.h"
#include "platform/settings/whole_file.h"

#include <QFileInfo>

namespace tunvale::notation {

namespace {

const QString kIniFile = QStringLiteral("banzhou.ini");
const QString kSection = QStringLiteral("唱名");

QString nameKey(int k) { return QString::number(k) + QStringLiteral("cm"); }

} // namespace

CMingNames Readm_YM()
{
    CMingNames names;
    const QString file = platform::ProgramFolder::find(kIniFile);
    if (file.isEmpty())
        return names;
    for (int k = 0; k < int(names.size()); ++k)
        names[size_t(k)] = platform::ReadIniValue(kSection, nameKey(k), file);
    return names;
}

bool SaveSolfegeNames(const CMingNames& names)
{
    const QString file = platform::ProgramFolder::userPath(kIniFile);
    if (!QFileInfo::exists(file)) {
        const std::optional<QByteArray> shipped
            = platform::ReadWholeFile(platform::ProgramFolder::dataPath(kIniFile));
        if (shipped && !platform::CommitWholeFile(file, *shipped))
            return false;
    }
    QList<std::pair<QString, std::optional<QString>>> values;
    for (int k = 0; k < int(names.size()); ++k)
        values.append({ nameKey(k), names[size_t(k)] });
    return platform::WriteIniValues(kSection, values, file);
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
