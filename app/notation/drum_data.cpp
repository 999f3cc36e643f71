#include "app/notation/drum_data.h"

#include "app/notation/score_sections.h"
#include "platform/settings/whole_file.h"

namespace tunvale::notation {

bool ReadDrumData(DrumStore& records, const QByteArray& fileBytes)
{
    ScoreSections sections = ScoreSections::read(fileBytes, 0, fileBytes.size());
    if (!sections.drums)
        return false;
    if (!sections.drums->empty())
        records = std::move(*sections.drums);
    return true;
}

bool ReadDrumData(DrumStore& records, const QString& fileName)
{
    const std::optional<QByteArray> bytes = platform::ReadWholeFile(fileName);
    return bytes && ReadDrumData(records, *bytes);
}

bool WriteDrumData(const DrumStore& records, QByteArray& fileBytes)
{
    const ScoreSections old = ScoreSections::read(fileBytes, 0, fileBytes.size());
    const SectionSpan& span = old.drumSpan;
    if (!span.found() || !span.closed())
        return false;
    // The encoded block between "/Drum" and "/EDrum": two bytes, then a flag and a record each.
    const QByteArray block = ScoreSections::encode(records, {}, {}, {})
                                 .sliced(ScoreSections::kDrumBegin.size(),
                                     2 + qsizetype(records.size()) * (1 + DrumRecord::Size));
    QByteArray result = fileBytes;
    result.replace(span.content, span.end - span.content, block);
    // Whatever the records hold, the file must read back with them and with its other sections.
    ScoreSections written = ScoreSections::read(result, 0, result.size());
    ScoreSections expected = old;
    expected.drums = records;
    if (!written.sameValues(expected))
        return false;
    fileBytes = std::move(result);
    return true;
}

bool WriteDrumData(const DrumStore& records, const QString& fileName)
{
    std::optional<QByteArray> bytes = platform::ReadWholeFile(fileName);
    return bytes && WriteDrumData(records, *bytes) && platform::CommitWholeFile(fileName, *bytes);
}

} // namespace tunvale::notation
