#include "app/notation/drum_data.h"

#include "platform/settings/whole_file.h"

#include <algorithm>
#include <cstring>

namespace tunvale::notation {

namespace {

const QByteArray SectionMarker = QByteArrayLiteral("/Drum");
const QByteArray EndMarker = QByteArrayLiteral("/EDrum");
const QByteArray ChordMarker = QByteArrayLiteral("/Chord");
constexpr char RecordFlag = char(0xFF);

} // namespace

bool ReadDrumData(DrumStore& records, const QByteArray& fileBytes)
{
    const qsizetype marker = fileBytes.indexOf(SectionMarker);
    if (marker < 0)
        return false;
    // Two fixed bytes follow the marker; their value does not matter to the reader.
    qsizetype pos = marker + SectionMarker.size() + 2;
    DrumStore read;
    while (pos < fileBytes.size() && fileBytes[pos] == RecordFlag) {
        ++pos;
        DrumRecord& r = read.emplace_back();
        const qsizetype available = std::min<qsizetype>(DrumRecord::Size, fileBytes.size() - pos);
        std::memcpy(r.bytes(), fileBytes.constData() + pos, size_t(available));
        pos += available;
    }
    if (!read.empty())
        records = std::move(read);
    return true;
}

bool ReadDrumData(DrumStore& records, const QString& fileName)
{
    const std::optional<QByteArray> bytes = platform::ReadWholeFile(fileName);
    return bytes && ReadDrumData(records, *bytes);
}

bool WriteDrumData(const DrumStore& records, QByteArray& fileBytes)
{
    const qsizetype marker = fileBytes.indexOf(SectionMarker);
    if (marker < 0)
        return false;
    const qsizetype headEnd = marker + SectionMarker.size();
    // The old records may hold the bytes of a marker (a pattern named "/EDrum"), so the end marker is
    // looked for after them.
    qsizetype searchFrom = headEnd;
    for (qsizetype pos = headEnd + 2; pos < fileBytes.size() && fileBytes[pos] == RecordFlag;
         pos += 1 + DrumRecord::Size)
        searchFrom = std::min<qsizetype>(pos + 1 + DrumRecord::Size, fileBytes.size());
    qsizetype tail = fileBytes.indexOf(EndMarker, searchFrom);
    if (tail < 0)
        tail = fileBytes.indexOf(ChordMarker, searchFrom);
    if (tail < 0)
        return false;

    QByteArray result;
    result.reserve(
        headEnd + 2 + qsizetype(records.size()) * (DrumRecord::Size + 1) + fileBytes.size() - tail);
    result.append(fileBytes.constData(), headEnd);
    result.append('\x01');
    result.append('\x00');
    for (const DrumRecord& r : records) {
        result.append(RecordFlag);
        result.append(reinterpret_cast<const char*>(r.bytes()), DrumRecord::Size);
    }
    result.append(fileBytes.constData() + tail, fileBytes.size() - tail);
    fileBytes = std::move(result);
    return true;
}

bool WriteDrumData(const DrumStore& records, const QString& fileName)
{
    std::optional<QByteArray> bytes = platform::ReadWholeFile(fileName);
    return bytes && WriteDrumData(records, *bytes) && platform::CommitWholeFile(fileName, *bytes);
}

} // namespace tunvale::notation
