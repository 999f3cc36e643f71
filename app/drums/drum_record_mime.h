#pragma once

#include "app/notation/drum_record.h"

#include <QByteArray>
#include <QString>

#include <optional>

class QMimeData;

// A drum record dragged from one place to another (a template onto a bar, within one window or
// between two) travels as its 103 bytes under a type of its own.
namespace tunvale::drums {

inline const QString DrumRecordMimeType = QStringLiteral("application/x-tunvale-drum-record");

QByteArray DrumRecordBytes(const notation::DrumRecord& record);
// The record the data carries; nothing unless it carries exactly one record.
std::optional<notation::DrumRecord> DrumRecordFromMime(const QMimeData* data);

} // namespace tunvale::drums
