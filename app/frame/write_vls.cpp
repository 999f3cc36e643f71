#include "app/frame/write_vls.h"

#include "app/frame/read_vls.h"
#include "app/frame/vls_body.h"
#include "app/frame/vls_header.h"
#include "app/frame/vls_markers.h"
#include "app/notation/play_order.h"
#include "app/notation/save_messages.h"
#include "app/notation/score_sections.h"
#include "platform/desktop/prompts.h"
#include "platform/settings/whole_file.h"
#include "platform/settings/write_failure.h"

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

QByteArray EncodeVlsFile(const VlsContent& content)
{
    QByteArray file = VlsHeader::encode(content.header, content.colors);
    file += notation::ScoreSections::encode(
        content.drums, content.playOrderKey, content.playOrder, content.chord);
    const qsizetype bodyStart = file.size();
    file += content.rtf;
    VlsBody().scramble(file.data() + bodyStart, content.rtf.size());
    return file;
}

std::optional<QByteArray> BuildVlsFile(const VlsContent& content)
{
    QByteArray file = EncodeVlsFile(content);
    const VlsDocument back = DecodeVls(file, content.header.CurrentFile, {}, {}, {});
    // Every field of the header as the file should keep it, worked out apart from the encoder.
    notation::ScoreHeader header = VlsHeader::stored(content.header);
    header.CurrentFile = content.header.CurrentFile;
    const notation::ScoreSections& sections = back.sections;
    const bool same = back.status == VlsReadStatus::Ok && back.header == header
        && back.colors == content.colors && sections.drums == content.drums
        && sections.key == content.playOrderKey && sections.order == content.playOrder
        && sections.chord == content.chord && back.body == content.rtf;
    if (!same)
        return std::nullopt;
    return file;
}

namespace {

VlsContent contentOf(const notation::ScoreHeader& header, const notation::ColorScheme& colors,
    const QByteArray& rtf, const notation::DrumStore& drums, const notation::PlayOrder& playOrder)
{
    const QString key = playOrder.GetPlayOrderKey();
    return { header, colors, rtf, drums, key.toLatin1(),
        notation::PlayOrderBytes(playOrder.EntriesToSave(key)), {} };
}

} // namespace

std::optional<QByteArray> BuildVlsFile(const notation::ScoreHeader& header,
    const notation::ColorScheme& colors, const QByteArray& rtf, const notation::DrumStore& drums,
    const notation::PlayOrder& playOrder)
{
    return BuildVlsFile(contentOf(header, colors, rtf, drums, playOrder));
}

bool WriteVls(const VlsContent& content)
{
    const auto file = BuildVlsFile(content);
    if (!file) {
        platform::Prompts::current().information(notation::kWriteUnverifiedMessage);
        return false;
    }
    const QString& path = content.header.CurrentFile;
    // The reader refuses larger files: a save never writes a score that can't be opened again.
    if (file->size() > notation::kMaxScoreFileBytes) {
        platform::Prompts::current().information(notation::kWriteTooLargeMessage);
        return false;
    }
    if (const platform::WriteResult written = platform::CommitWholeFile(path, *file); !written) {
        platform::Prompts::current().information(
            platform::WriteFailureText(notation::kWriteFailedMessage, path, written.error));
        return false;
    }
    return true;
}

bool WriteVls(const notation::ScoreHeader& header, const notation::ColorScheme& colors, const QByteArray& rtf,
    const notation::DrumStore& drums, const notation::PlayOrder& playOrder)
{
    return WriteVls(contentOf(header, colors, rtf, drums, playOrder));
}

} // namespace tunvale::frame
