#include "tests/tools/score_loading.h"

#include "app/frame/read_vls.h"
#include "platform/richtext/rtf_reader.h"

#include <QFile>
#include <QFileInfo>

namespace tunvale::scoretool {

std::optional<QByteArray> ReadInputFile(
    const QString& file, qint64 limit, const QString& tooLarge, QString& error)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read %1").arg(file);
        return std::nullopt;
    }
    if (in.size() > limit) {
        error = QStringLiteral("%1: %2").arg(file, tooLarge);
        return std::nullopt;
    }
    return in.readAll();
}

std::optional<platform::RichContent> ReadRtfFile(const QString& file, QString& error)
{
    const auto rtf = ReadInputFile(file, platform::kMaxRtfBytes, platform::kRtfTooLargeMessage, error);
    if (!rtf)
        return std::nullopt;
    std::optional<platform::RichContent> content = platform::ReadRtf(*rtf, platform::DefaultTextFont());
    if (!content)
        error = QStringLiteral("%1 is not RTF").arg(file);
    return content;
}

bool LoadScore(const QString& file, platform::RichTextBox& box, notation::ScoreHeader& header,
    notation::DrumStore& drums, QString& error)
{
    error = QStringLiteral("cannot read %1").arg(file);
    if (QFileInfo(file).suffix().compare(QStringLiteral("vls"), Qt::CaseInsensitive) == 0) {
        const frame::VlsDocument document = frame::ReadVls(file, header, notation::ColorScheme {});
        if (document.status == frame::VlsReadStatus::TooLarge)
            error = QStringLiteral("%1: %2").arg(file, frame::kTooLargeMessage);
        if (document.status != frame::VlsReadStatus::Ok)
            return false;
        header = document.header;
        header.CurrentFile = file;
        if (document.sections.drums && !document.sections.drums->empty())
            drums = *document.sections.drums;
        return box.setTextRTF(QString::fromLatin1(document.body));
    }
    const auto rtf = ReadInputFile(file, platform::kMaxRtfBytes, platform::kRtfTooLargeMessage, error);
    return rtf && box.setTextRTF(QString::fromLatin1(*rtf));
}

} // namespace tunvale::scoretool
