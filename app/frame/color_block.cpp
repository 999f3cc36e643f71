#include "app/frame/color_block.h"

#include "app/frame/header_fields.h"
#include "app/notation/score_template.h"
#include "platform/settings/program_folder.h"
#include "platform/settings/whole_file.h"

#include <QFileInfo>

namespace tunvale::frame {

using notation::ColorScheme;

namespace {

constexpr qsizetype kVersionByte = 14;
constexpr qsizetype kBlockEnd = 34;
constexpr std::uint8_t kBlockVersion = 2;

} // namespace

ColorScheme ColorsAt(const QByteArray& bytes)
{
    ColorScheme colors;
    colors.EditBackColor = std::int32_t(FieldValue(bytes, 15, 4));
    colors.PlayNoteColor = std::int32_t(FieldValue(bytes, 19, 4));
    colors.PlayNoteBackColor = std::int32_t(FieldValue(bytes, 23, 4));
    colors.JpLineColor = std::int32_t(FieldValue(bytes, 27, 4));
    colors.LyricLineColor = std::int32_t(FieldValue(bytes, 31, 4));
    return colors;
}

void PutColors(QByteArray& bytes, const ColorScheme& colors)
{
    PutField(bytes, 15, 4, std::uint32_t(colors.EditBackColor));
    PutField(bytes, 19, 4, std::uint32_t(colors.PlayNoteColor));
    PutField(bytes, 23, 4, std::uint32_t(colors.PlayNoteBackColor));
    PutField(bytes, 27, 4, std::uint32_t(colors.JpLineColor));
    PutField(bytes, 31, 4, std::uint32_t(colors.LyricLineColor));
}

ColorScheme ColorBlockOf(const QByteArray& bytes)
{
    return FieldValue(bytes, kVersionByte, 1) > 1 ? ColorsAt(bytes) : ColorScheme {};
}

void ReadColor0(const QString& fileName, ColorScheme& colors)
{
    if (const auto bytes = platform::ReadWholeFile(fileName))
        colors = ColorBlockOf(*bytes);
}

bool WriteColor0(const QString& fileName, const ColorScheme& colors)
{
    QString source = fileName;
    QString target = fileName;
    if (notation::IsTemplatePath(fileName)) {
        source = notation::TemplatePath();
        target = platform::ProgramFolder::userPath(notation::kTemplateFileName);
    }
    const auto existing = platform::ReadWholeFile(source);
    if (!existing && QFileInfo::exists(source))
        return false;
    QByteArray bytes = existing.value_or(QByteArray());
    if (bytes.size() < kBlockEnd)
        bytes.append(kBlockEnd - bytes.size(), '\0');
    bytes[kVersionByte - 1] = char(kBlockVersion);
    PutColors(bytes, colors);
    return platform::CommitWholeFile(target, bytes);
}

} // namespace tunvale::frame
