#include "platform/text/gbk.h"

#include <unicode/ucnv.h>

#include <memory>
#include <mutex>

namespace tunvale::platform {

namespace {

struct ConverterCloser {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

// ICU converters are not thread-safe; each call gets its own cheap clone of one opened master.
Converter openGbk()
{
    static std::once_flag once;
    static UConverter* master = nullptr;
    std::call_once(once, [] {
        UErrorCode status = U_ZERO_ERROR;
        master = ucnv_open("windows-936-2000", &status);
        if (U_FAILURE(status)) {
            status = U_ZERO_ERROR;
            master = ucnv_open("GBK", &status);
        }
    });
    if (!master)
        return nullptr;
    UErrorCode status = U_ZERO_ERROR;
    Converter c(ucnv_clone(master, &status));
    if (U_FAILURE(status))
        return nullptr;
    return c;
}

} // namespace

QString GbkDecode(const QByteArray& bytes)
{
    QByteArray input = bytes;
    // Drop a trailing lone lead byte: the pair it starts was cut off.
    int i = 0;
    while (i < input.size()) {
        const auto b = static_cast<unsigned char>(input[i]);
        if (b >= 0x81 && b <= 0xFE) {
            if (i + 1 >= input.size()) {
                input.chop(1);
                break;
            }
            i += 2;
        } else {
            ++i;
        }
    }
    Converter c = openGbk();
    if (!c)
        return QString::fromLatin1(input);
    QString out(input.size() + 1, Qt::Uninitialized);
    UErrorCode status = U_ZERO_ERROR;
    const int32_t n = ucnv_toUChars(c.get(), reinterpret_cast<UChar*>(out.data()), int32_t(out.size()),
        input.constData(), int32_t(input.size()), &status);
    if (U_FAILURE(status))
        return {};
    out.truncate(n);
    return out;
}

QByteArray GbkEncode(const QString& text)
{
    Converter c = openGbk();
    if (!c)
        return text.toLatin1();
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setSubstChars(c.get(), "?", 1, &status);
    status = U_ZERO_ERROR;
    QByteArray out(text.size() * 2 + 2, Qt::Uninitialized);
    const int32_t n = ucnv_fromUChars(c.get(), out.data(), int32_t(out.size()),
        reinterpret_cast<const UChar*>(text.constData()), int32_t(text.size()), &status);
    if (U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING)
        return {};
    out.truncate(n);
    return out;
}

bool GbkCanEncode(QChar c)
{
    if (c.unicode() < 0x80)
        return true;
    if (c.isSurrogate())
        return false;
    Converter conv = openGbk();
    if (!conv)
        return false;
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setFromUCallBack(conv.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    status = U_ZERO_ERROR;
    char buf[8];
    const UChar u = c.unicode();
    ucnv_fromUChars(conv.get(), buf, sizeof buf, &u, 1, &status);
    return U_SUCCESS(status);
}

bool IsValidUtf8(const QByteArray& bytes)
{
    int i = 0;
    const int n = int(bytes.size());
    while (i < n) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        int extra;
        char32_t cp;
        if (b < 0x80) {
            ++i;
            continue;
        } else if (b >= 0xC2 && b <= 0xDF) {
            extra = 1;
            cp = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            extra = 2;
            cp = b & 0x0F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            extra = 3;
            cp = b & 0x07;
        } else {
            return false;
        }
        if (i + extra >= n)
            return false;
        for (int k = 1; k <= extra; ++k) {
            const auto cb = static_cast<unsigned char>(bytes[i + k]);
            if ((cb & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (cb & 0x3F);
        }
        if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF))
            || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

QString DecodeTextFileBytes(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    if (IsValidUtf8(bytes))
        return QString::fromUtf8(bytes);
    return GbkDecode(bytes);
}

} // namespace tunvale::platform
