#include "app/frame/vls_markers.h"

#include "app/notation/score_sections.h"

namespace tunvale::frame {

VlsMarkers::BodyStart VlsMarkers::findBodyStart(const QByteArray& file)
{
    return bodyStartOf(notation::ScoreFileLayout::of(file));
}

VlsMarkers::BodyStart VlsMarkers::bodyStartOf(const notation::ScoreFileLayout& layout)
{
    using notation::ScoreFileLayout;
    switch (layout.rule) {
    case ScoreFileLayout::BodyRule::Signature:
        return { layout.bodyStart, Rule::Signature };
    case ScoreFileLayout::BodyRule::LastMarker:
        return { layout.bodyStart, Rule::LastMarker };
    case ScoreFileLayout::BodyRule::Byte10:
        break;
    }
    return {};
}

} // namespace tunvale::frame
