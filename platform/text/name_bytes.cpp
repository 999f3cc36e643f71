#include "platform/text/name_bytes.h"

#include "platform/text/gbk.h"

namespace tunvale::platform {

QString GbkBytesToText(const QByteArray& bytes)
{
    // Pairs are decoded one by one so that a byte after a lead byte always belongs to it, even when the
    // pair is no GBK character (that pair becomes U+FFFD).
    QString text;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            text += QChar(b);
        } else if (i + 1 < bytes.size()) {
            const QString pair = GbkDecode(bytes.mid(i, 2));
            text += pair.size() == 1 ? pair : QString(QChar::ReplacementCharacter);
            ++i;
        }
    }
    return text;
}

void TextToNameBytes(const QString& text, NameField& field)
{
    field.fill(0);
    size_t used = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        // Encode one character (a surrogate pair stays together) and stop before it would not fit.
        const qsizetype len = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QByteArray bytes = GbkEncode(text.mid(i, len));
        if (used + size_t(bytes.size()) > field.size())
            break;
        for (char b : bytes)
            field[used++] = static_cast<std::uint8_t>(b);
        i += len - 1;
    }
}

} // namespace tunvale::platform
