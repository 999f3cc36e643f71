#include "platform/richtext/rtf_code_page.h"

#include "platform/text/gbk.h"

#include <unicode/ucnv.h>

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace tunvale::platform {

namespace {

// Per character: 0 not looked up yet, 1 not in code page 936, else its bytes + 2 (one byte as 0x00XX,
// two as lead << 8 | trail).
std::vector<std::uint32_t>& encodeMemo()
{
    thread_local std::vector<std::uint32_t> memo(0x10000, 0);
    return memo;
}

} // namespace

int Cp936Bytes(char16_t c, char bytes[2])
{
    if (c < 0x80) {
        bytes[0] = char(c);
        return 1;
    }
    std::uint32_t& entry = encodeMemo()[c];
    if (entry == 0) {
        entry = 1;
        const QString text(QChar { c });
        if (GbkCanEncode(QChar(c))) {
            const QByteArray encoded = GbkEncode(text);
            if (GbkDecode(encoded) == text && (encoded.size() == 1 || encoded.size() == 2)) {
                const std::uint32_t value = encoded.size() == 1
                    ? quint8(encoded[0])
                    : std::uint32_t(quint8(encoded[0])) << 8 | quint8(encoded[1]);
                entry = value + 2;
            }
        }
    }
    if (entry == 1)
        return 0;
    const std::uint32_t value = entry - 2;
    if (value < 0x100) {
        bytes[0] = char(value);
        return 1;
    }
    bytes[0] = char(value >> 8);
    bytes[1] = char(value & 0xFF);
    return 2;
}

namespace {

// Per byte pair (or single byte): 0 not looked up yet, else the decoded unit + 1; a pair that decodes to
// more or less than one unit is 0x10001 and keeps its text in `longer`.
void decode936(QString& out, const QByteArray& bytes)
{
    thread_local std::vector<std::uint32_t> memo(0x10000, 0);
    thread_local std::unordered_map<quint16, QString> longer;
    out.reserve(out.size() + bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = quint8(bytes[i]);
        if (b < 0x80) {
            out += QChar(b);
            continue;
        }
        const bool pair = b >= 0x81 && b <= 0xFE && i + 1 < bytes.size();
        const quint16 key = pair ? quint16(b << 8 | quint8(bytes[i + 1])) : b;
        std::uint32_t& entry = memo[key];
        if (entry == 0) {
            const QString decoded = GbkDecode(bytes.mid(i, pair ? 2 : 1));
            if (decoded.size() == 1) {
                entry = std::uint32_t(decoded[0].unicode()) + 1;
            } else {
                entry = 0x10000 + 1;
                longer.emplace(key, decoded);
            }
        }
        if (entry <= 0x10000)
            out += QChar(char16_t(entry - 1));
        else
            out += longer[key];
        if (pair)
            ++i;
    }
}

QString decodeWithIcu(const QByteArray& bytes, int codePage)
{
    UErrorCode status = U_ZERO_ERROR;
    UConverter* converter
        = ucnv_open(QByteArray("windows-" + QByteArray::number(codePage)).constData(), &status);
    if (U_FAILURE(status) || !converter)
        return QString::fromLatin1(bytes);
    QString out(bytes.size() * 2 + 1, Qt::Uninitialized);
    status = U_ZERO_ERROR;
    const int32_t n = ucnv_toUChars(converter, reinterpret_cast<UChar*>(out.data()), int32_t(out.size()),
        bytes.constData(), int32_t(bytes.size()), &status);
    ucnv_close(converter);
    if (U_FAILURE(status))
        return QString::fromLatin1(bytes);
    out.truncate(n);
    return out;
}

} // namespace

void AppendDecoded(QString& out, const QByteArray& bytes, int codePage)
{
    if (codePage == 936)
        decode936(out, bytes);
    else
        out += decodeWithIcu(bytes, codePage);
}

int CodePageOfCharset(int charset, int ansiCodePage)
{
    switch (charset) {
    case 0:
        return 1252;
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    default:
        return ansiCodePage;
    }
}

} // namespace tunvale::platform
