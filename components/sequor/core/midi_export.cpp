#include "components/sequor/core/midi_export.h"

#include "app/notation/play_order_key.h"
#include "components/sequor/core/jianpu_parser.h"
#include "components/sequor/core/play_order_expansion.h"
#include "platform/settings/whole_file.h"
#include "platform/settings/write_failure.h"

namespace tunvale::sequor {

std::optional<ConvertedScore> ConvertScore(const ExportInput& input, QString* refusal)
{
    ConvertedScore converted;
    converted.key = MakeOrderKey(input.text);
    const int pieceCount = PieceCount(input.text);
    if (input.loadedOrder && input.loadedOrder->key == converted.key) {
        for (const int segment : input.loadedOrder->segments) {
            if (segment >= 0 && segment < pieceCount)
                converted.order.push_back(segment);
        }
    } else {
        converted.order = OrderPieces(ReadOrderString(converted.key, input.folders), pieceCount);
    }
    if (converted.order.empty())
        return std::nullopt;
    if (const qsizetype length = PlayTextLength(input.text, converted.order);
        length > notation::MaxPlayedEvents) {
        if (refusal)
            *refusal = QStringLiteral("the play order plays %1 characters, more than the %2 a score may play")
                           .arg(length)
                           .arg(notation::MaxPlayedEvents);
        return std::nullopt;
    }
    converted.BarPlayList = BuildBarPlayList(input.text, converted.order);
    converted.parsed = ParseJianpu(AssemblePlayText(input.text, converted.order));
    return converted;
}

ExportResult ExportMidi(const ExportInput& input, const QString& path)
{
    ExportResult result;
    QString refusal;
    result.converted = ConvertScore(input, &refusal);
    if (!result.converted) {
        result.status = refusal.isEmpty() ? ExportResult::NoOrder : ExportResult::Failed;
        result.message = refusal.isEmpty() ? NoOrderMessage : refusal;
        return result;
    }
    const MidFile file = BuildMidFile(input, *result.converted);
    if (!file.error.isEmpty()) {
        result.message = file.error;
        return result;
    }
    // Written whole or not at all: a failure leaves an existing file as it was.
    if (const platform::WriteResult written = platform::CommitWholeFile(path, file.bytes); !written) {
        result.error = written.error;
        result.message
            = QStringLiteral("cannot write %1: %2").arg(path, platform::WriteErrorText(written.error));
        return result;
    }
    result.status = ExportResult::Written;
    result.TrackCount = file.TrackCount;
    return result;
}

} // namespace tunvale::sequor
