#include "app/frame/write_vls.h"

#include "app/frame/vls_body.h"
#include "app/frame/vls_header.h"
#include "app/frame/vls_markers.h"
#include "app/notation/drum_data.h"
#include "app/notation/play_order.h"
#include "app/notation/save_messages.h"
#include "platform/settings/whole_file.h"
#include "platform/desktop/prompts.h"

namespace tunvale::frame {

QByteArray EncodeVls(
    const notation::ScoreHeader& header, const notation::ColorScheme& colors, const QByteArray& rtf)
{
    QByteArray file = VlsHeader::encode(header, colors);
    file.reserve(file.size() + VlsMarkers::kText.size() + rtf.size());
    file += VlsMarkers::kText;
    const qsizetype bodyStart = file.size();
    file += rtf;
    VlsBody().scramble(file.data() + bodyStart, rtf.size());
    return file;
}

std::optional<QByteArray> BuildVlsFile(const notation::ScoreHeader& header,
    const notation::ColorScheme& colors, const QByteArray& rtf, const notation::DrumStore& drums,
    const notation::PlayOrder2021& playOrder)
{
    QByteArray file = EncodeVls(header, colors, rtf);
    if (!notation::WriteDrumData(drums, file) || !playOrder.SavePlayOrderKey(file)
        || !playOrder.SavePlayOrder(file))
        return std::nullopt;
    return file;
}

bool WriteVls(const notation::ScoreHeader& header, const notation::ColorScheme& colors, const QByteArray& rtf,
    const notation::DrumStore& drums, const notation::PlayOrder2021& playOrder)
{
    const auto file = BuildVlsFile(header, colors, rtf, drums, playOrder);
    const bool written = file && platform::CommitWholeFile(header.CurrentFile, *file);
    if (!written)
        platform::Prompts::current().information(notation::kWriteFailedMessage);
    return written;
}

} // namespace tunvale::frame
