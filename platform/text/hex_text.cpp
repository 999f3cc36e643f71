#include "platform/text/hex_text.h"

namespace tunvale::platform {

QString BytesToHex(const QByteArray& bytes) { return QString::fromLatin1(bytes.toHex().toUpper()); }

std::optional<QString> BinToHex(const QString& bits)
{
    const qsizetype width = 4 * ((bits.size() + 3) / 4);
    const QString padded = QString(qMax<qsizetype>(width, 4) - bits.size(), u'0') + bits;
    QString out;
    for (qsizetype i = 0; i < padded.size(); i += 4) {
        int value = 0;
        for (qsizetype j = i; j < i + 4; ++j) {
            const QChar c = padded[j];
            if (c != u'0' && c != u'1')
                return std::nullopt;
            value = value * 2 + (c == u'1');
        }
        out += QChar(u"0123456789ABCDEF"[value]);
    }
    return out;
}

} // namespace tunvale::platform
