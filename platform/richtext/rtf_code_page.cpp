#include "platform/richtext/rtf_code_page.h"

#include "platform/text/gbk.h"

#include <unicode/ucnv.h>

#include <unordered_map>

namespace tunvale::platform {

QByteArray Cp936Bytes(QChar c)
{
    if (c.unicode() < 0x80)
        return QByteArray(1, char(c.unicode()));
    thread_local std::unordered_map<char16_t, QByteArray> memo;
    const auto it = memo.find(c.unicode());
    if (it != memo.end())
        return it->second;
    QByteArray bytes;
    if (GbkCanEncode(c)) {
        bytes = GbkEncode(QString(c));
        if (GbkDecode(bytes) != QString(c))
            bytes.clear();
    }
    memo.emplace(c.unicode(), bytes);
    return bytes;
}

namespace {

QString decode936(const QByteArray& bytes)
{
    thread_local std::unordered_map<quint16, QString> memo;
    QString out;
    out.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = quint8(bytes[i]);
        if (b < 0x80) {
            out += QChar(b);
            continue;
        }
        const bool pair = b >= 0x81 && b <= 0xFE && i + 1 < bytes.size();
        const quint16 key = pair ? quint16(b << 8 | quint8(bytes[i + 1])) : b;
        auto it = memo.find(key);
        if (it == memo.end())
            it = memo.emplace(key, GbkDecode(bytes.mid(i, pair ? 2 : 1))).first;
        out += it->second;
        if (pair)
            ++i;
    }
    return out;
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

QString DecodeCodePage(const QByteArray& bytes, int codePage)
{
    if (codePage == 936)
        return decode936(bytes);
    return decodeWithIcu(bytes, codePage);
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
