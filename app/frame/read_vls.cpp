#include "app/frame/read_vls.h"

#include "app/frame/color_block.h"
#include "app/frame/vls_body.h"
#include "app/frame/vls_header.h"
#include "app/notation/score_template.h"

#include <QFileInfo>

namespace tunvale::frame {

using notation::ColorScheme;
using notation::ScoreHeader;

VlsDocument DecodeVls(const QByteArray& file, const QString& fileName, const ScoreHeader& current,
    const ColorScheme& currentColors, const ColorScheme& templateColors)
{
    VlsDocument document { VlsReadStatus::Ok, current, currentColors, {}, {}, {} };
    notation::ScoreFileLayout layout = notation::ScoreFileLayout::of(file);
    // Without any "/Vls" the header is 9 characters of text and byte 14 already lies in the body: the
    // layout says version 0.
    const int version = layout.version;
    if (version > VlsHeader::kVersion) {
        document.status = VlsReadStatus::TooNew;
        return document;
    }
    VlsHeader::decode(file, version, document.header, document.colors, templateColors);
    document.header.CurrentFile = fileName;
    const VlsMarkers::BodyStart bodyStart = VlsMarkers::bodyStartOf(layout);
    if (layout.scoreFile)
        document.sections = std::move(layout.sections);
    document.bodyStart = bodyStart;
    document.body = file.mid(bodyStart.offset);
    VlsBody().scramble(document.body);
    return document;
}

VlsDocument ReadVls(const QString& fileName, const ScoreHeader& current, const ColorScheme& currentColors)
{
    const QFileInfo info(fileName);
    if (info.isFile() && info.size() > notation::kMaxScoreFileBytes)
        return { VlsReadStatus::TooLarge, current, currentColors, {}, {}, {} };
    const auto file = notation::ReadScoreFileBytes(fileName);
    if (!file) {
        const auto status = info.exists() ? VlsReadStatus::Unreadable : VlsReadStatus::Missing;
        return { status, current, currentColors, {}, {}, {} };
    }
    // The template's colours; only files of versions 0 and 1 take them.
    ColorScheme templateColors = currentColors;
    ReadColor0(notation::TemplatePath(), templateColors);
    return DecodeVls(*file, fileName, current, currentColors, templateColors);
}

void ApplyVlsSettings(const VlsDocument& document, VlsSettingsTarget& target)
{
    if (document.status != VlsReadStatus::Ok)
        return;
    const ScoreHeader& header = document.header;
    const int version = header.FileVer;
    // Files before version 4 carry no switches; the decoder has set theirs off and the old
    // accompaniment type.
    const auto applySwitches = [&] {
        target.setDrumPZChecked(header.DrumPZ);
        target.setAccompanimentType(header.PZType);
        target.setSameSpeedChecked(header.SameSpeed);
        target.setHeYingChecked(header.HeYing);
    };
    if (version >= 4)
        applySwitches();
    if (version >= 2) {
        target.setRulerLeftSpace(header.LeftSpace);
        target.setRulerRightSpace(header.RightSpace);
    }
    if (version <= 3)
        applySwitches();
}

} // namespace tunvale::frame
