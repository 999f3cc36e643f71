#include "app/frame/write_vls.h"

#include "app/frame/vls_body.h"
#include "app/frame/vls_header.h"
#include "app/frame/vls_markers.h"

namespace tunvale::frame {

QByteArray EncodeVls(const notation::ScoreHeader& header, const notation::ColorScheme& colors, const QByteArray& rtf)
{
    QByteArray file = VlsHeader::encode(header, colors);
    file.reserve(file.size() + VlsMarkers::kText.size() + rtf.size());
    file += VlsMarkers::kText;
    const qsizetype bodyStart = file.size();
    file += rtf;
    VlsBody().scramble(file.data() + bodyStart, rtf.size());
    return file;
}

} // namespace tunvale::frame
