#include "app/drums/drum_record_mime.h"

#include <QMimeData>

#include <cstring>

namespace tunvale::drums {

QByteArray DrumRecordBytes(const notation::DrumRecord& record)
{
    return { reinterpret_cast<const char*>(record.bytes()), notation::DrumRecord::Size };
}

std::optional<notation::DrumRecord> DrumRecordFromMime(const QMimeData* data)
{
    if (!data || !data->hasFormat(DrumRecordMimeType))
        return std::nullopt;
    const QByteArray bytes = data->data(DrumRecordMimeType);
    if (bytes.size() != notation::DrumRecord::Size)
        return std::nullopt;
    notation::DrumRecord record;
    std::memcpy(record.bytes(), bytes.constData(), notation::DrumRecord::Size);
    return record;
}

} // namespace tunvale::drums
