#include "app/frame/vls_body.h"

#include "app/notation/vls_key.h"

namespace tunvale::frame {

VlsBody::VlsBody() { random_.Rnd(notation::VlsKey::seedArgument()); }

QByteArray VlsBody::scrambled(QByteArray body)
{
    VlsBody().scramble(body);
    return body;
}

} // namespace tunvale::frame
