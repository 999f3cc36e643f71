#include "app/frame/color_block.h"

#include "app/frame/header_fields.h"
#include "app/notation/score_template.h"
#include "platform/settings/program_folder.h"
#include "platform/settings/whole_file.h"

#include <QFileInfo>

#include <optional>

namespace tunvale::frame {

using notation::ColorScheme;

namespace {

constexpr qsizetype kVersionByte = 14;
constexpr qsizetype kBlockEnd = 34;
constexpr std::uint8_t kBlockVersion = 2;

std::uint32_t versionOf(const QByteArray& bytes) { return FieldValue(bytes, kVersionByte, 1); }

bool sameOutsideBlock(const QByteArray& a, const QByteArray& b)
{
    return a.size() == b.size() && a.left(kVersionByte - 1) == b.left(kVersionByte - 1)
        && a.mid(kBlockEnd) == b.mid(kBlockEnd);
}

// What a colour save of the template starts from: the user's copy, or a copy of the shipped template
// when the user's holds no more than a colour block. A copy that an older save left with version 2 in
// place of the shipped template's own (its header then read in another version's layout) gets the
// shipped version back.
QByteArray templateBase(std::optional<QByteArray> own)
{
    const auto shipped
        = platform::ReadWholeFile(platform::ProgramFolder::dataPath(notation::kTemplateFileName));
    if (!own || own->size() <= kBlockEnd)
        return shipped.value_or(own.value_or(QByteArray()));
    if (shipped && versionOf(*own) == kBlockVersion && versionOf(*shipped) > kBlockVersion
        && sameOutsideBlock(*own, *shipped))
        (*own)[kVersionByte - 1] = char(versionOf(*shipped));
    return *own;
}

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
    return versionOf(bytes) > 1 ? ColorsAt(bytes) : ColorScheme {};
}

void ReadColor0(const QString& fileName, ColorScheme& colors)
{
    if (const auto bytes = platform::ReadWholeFile(fileName))
        colors = ColorBlockOf(*bytes);
}

bool WriteColor0(const QString& fileName, const ColorScheme& colors)
{
    const bool isTemplate = notation::IsTemplatePath(fileName);
    const QString target
        = isTemplate ? platform::ProgramFolder::userPath(notation::kTemplateFileName) : fileName;
    std::optional<QByteArray> existing = platform::ReadWholeFile(target);
    if (!existing && QFileInfo::exists(target))
        return false;
    QByteArray bytes = isTemplate ? templateBase(std::move(existing)) : existing.value_or(QByteArray());
    if (bytes.size() < kBlockEnd)
        bytes.append(kBlockEnd - bytes.size(), '\0');
    // Byte 14 is also the version of a whole score file's header: only a file without colours changes.
    if (versionOf(bytes) < kBlockVersion)
        bytes[kVersionByte - 1] = char(kBlockVersion);
    PutColors(bytes, colors);
    return platform::CommitWholeFile(target, bytes).written;
}

} // namespace tunvale::frame
