#include "app/frame/vls_body.h"

#include "app/frame/vls_key.h"

namespace tunvale::frame {

VlsBody::VlsBody() { random_.Rnd(VlsKey::seedArgument()); }

QByteArray VlsBody::scrambled(QByteArray body)
{
    VlsBody().scramble(body);
    return body;
}

} // namespace tunvale::frame
