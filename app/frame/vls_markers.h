#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace tunvale::notation {
struct ScoreFileLayout;
}

// The section marker string that follows the header, and where the body begins.
namespace tunvale::frame {

class VlsMarkers
{
public:
    // Written after the 38-byte header with every section empty; the body follows "/Vls" at once.
    static constexpr QByteArrayView kText
        = "/Drum/EDrum/POrderStr/EPOrderStr/PlayOrder/EPlayOrder/Chord/EChord/Vls";
    static constexpr QByteArrayView kBodyMarker = "/Vls";

    enum class Rule {
        Signature, // the first "/Vls" after the drum records followed by the scrambled start of an RTF text
        LastMarker, // no such marker: the last "/Vls" (the end of the file when it lies before the sections)
        Byte10, // no "/Vls" at all: after a 9-character text header
    };
    struct BodyStart {
        qsizetype offset = 9; // 0-based
        Rule rule = Rule::Byte10;
    };

    // The section contents and the scrambled body are binary and may hold "/Vls" themselves, so the
    // body is looked for after the header and the drum records and recognised by its own start (see
    // notation::ScoreFileLayout).
    static BodyStart findBodyStart(const QByteArray& file);
    static BodyStart bodyStartOf(const notation::ScoreFileLayout& layout);
};

static_assert(VlsMarkers::kText.size() == 70);

} // namespace tunvale::frame
