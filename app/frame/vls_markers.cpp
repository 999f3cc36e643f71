#include "app/frame/vls_markers.h"

#include "app/frame/vls_body.h"

namespace tunvale::frame {

VlsMarkers::BodyStart VlsMarkers::findBodyStart(const QByteArray& file)
{
    static const QByteArray signature
        = kBodyMarker.toByteArray() + VlsBody::scrambled(QByteArrayLiteral("{\\rtf"));
    const qsizetype signed_ = file.indexOf(signature);
    if (signed_ >= 0)
        return { signed_ + kBodyMarker.size(), Rule::Signature };
    const qsizetype last = file.lastIndexOf(kBodyMarker);
    if (last >= 0)
        return { last + kBodyMarker.size(), Rule::LastMarker };
    return {};
}

} // namespace tunvale::frame
