#include "app/frame/read_vls.h"

#include "app/frame/color_block.h"
#include "app/frame/vls_body.h"
#include "app/frame/vls_header.h"
#include "app/notation/score_template.h"

#include <QFileInfo>

#include <algorithm>
#include <cctype>

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

namespace {

// Where the data of a \binN ends whose count starts at `at`: N bytes after the count and its blank.
qsizetype AfterBinaryData(QByteArrayView rtf, qsizetype at)
{
    qsizetype length = 0;
    // A count beyond the text's size runs the data to its end however it goes on.
    while (at < rtf.size() && length <= rtf.size() && std::isdigit(static_cast<unsigned char>(rtf[at])))
        length = length * 10 + (rtf[at++] - '0');
    if (at < rtf.size() && rtf[at] == ' ')
        ++at;
    return at + length;
}

// True when the rich text closes the group that it opens: braces are counted outside escapes and
// outside the data of \binN, as the reader takes them.
bool ClosesItsGroup(QByteArrayView rtf)
{
    constexpr QByteArrayView kBinary = "\\bin";
    int depth = 0;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        const char c = rtf[i];
        if (c == '\\' && rtf.sliced(i).startsWith(kBinary)) {
            i = AfterBinaryData(rtf, i + kBinary.size()) - 1;
        } else if (c == '\\') {
            ++i;
        } else if (c == '{') {
            ++depth;
        } else if (c == '}' && --depth == 0) {
            return true;
        }
    }
    return false;
}

// A file that was cut short: it starts as a score (a header of its version, then "/Drum" or as much
// of it as the file still holds) and has no body, or its body is the start of a rich text that never
// closes. What reads as neither is left to the caller to judge.
bool EndsEarly(const QByteArray& file, const VlsDocument& document)
{
    constexpr QByteArrayView kRtfStart = "{\\rtf";
    const QByteArrayView body = QByteArrayView(document.body).trimmed();
    if (document.bodyStart.rule != VlsMarkers::Rule::Byte10)
        return kRtfStart.startsWith(body) || (body.startsWith(kRtfStart) && !ClosesItsGroup(body));
    if (body.startsWith(kRtfStart))
        return !ClosesItsGroup(body);
    if (file.size() < 14 || !file.startsWith('/'))
        return false;
    const int version = std::uint8_t(file[13]);
    const qsizetype header = notation::ScoreFileLayout::headerSize(version);
    const QByteArrayView sections = QByteArrayView(file).sliced(std::min(header, file.size()));
    const QByteArrayView drum = notation::ScoreSections::kDrumBegin;
    return version <= VlsHeader::kVersion && file.size() >= header
        && (sections.startsWith(drum) || drum.startsWith(sections));
}

} // namespace

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
    VlsDocument document = DecodeVls(*file, fileName, current, currentColors, templateColors);
    if (document.status == VlsReadStatus::Ok && EndsEarly(*file, document))
        return { VlsReadStatus::Damaged, current, currentColors, {}, {}, {} };
    return document;
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
