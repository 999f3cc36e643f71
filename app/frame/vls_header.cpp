#include "app/frame/vls_header.h"

#include "app/frame/color_block.h"
#include "app/frame/header_fields.h"
#include "platform/text/runtime_numbers.h"

#include <algorithm>
#include <limits>

namespace tunvale::frame {

using notation::ColorScheme;
using notation::ScoreHeader;

namespace {

constexpr std::int16_t kDefaultDpi = 96;
constexpr std::int16_t kDefaultRapDrum = 14;
constexpr std::int16_t kDefaultBaseKey = 31;
constexpr std::int16_t kOldPZType = 4;
constexpr std::int32_t kWhite = 0xFFFFFF;

// The number that characters first..last of the text header spell; 0 when they spell none.
std::int16_t digits(const QByteArray& file, qsizetype first, qsizetype last)
{
    const QString text = QString::fromLatin1(file.mid(first - 1, last - first + 1));
    const double value = platform::RoundHalfEven(platform::Val(text));
    const bool fits = value >= std::numeric_limits<std::int16_t>::min()
        && value <= std::numeric_limits<std::int16_t>::max();
    return fits ? std::int16_t(value) : std::int16_t(0);
}

std::int16_t int16At(const QByteArray& file, qsizetype firstByte)
{
    return std::int16_t(FieldValue(file, firstByte, 2));
}

std::int16_t byteAt(const QByteArray& file, qsizetype position)
{
    return std::int16_t(FieldValue(file, position, 1));
}

// A switch is stored as one byte, 1 for on.
bool switchAt(const QByteArray& file, qsizetype position) { return byteAt(file, position) == 1; }

std::int16_t marginOr820(std::int16_t margin)
{
    return margin == 0 ? std::int16_t(VlsHeader::kDefaultMargin) : margin;
}

std::int16_t byteRange(std::int16_t value) { return std::clamp<std::int16_t>(value, 0, 255); }

} // namespace

ScoreHeader VlsHeader::stored(const ScoreHeader& h)
{
    ScoreHeader s;
    s.ScreenDpi = byteRange(h.ScreenDpi);
    s.RapDrum = byteRange(h.RapDrum);
    s.Instrument = h.Instrument;
    s.Speed = h.Speed;
    s.Volume = h.Volume;
    s.LeftSpace = marginOr820(h.LeftSpace);
    s.RightSpace = marginOr820(h.RightSpace);
    s.FileVer = kVersion;
    s.BaseKey = kDefaultBaseKey;
    s.DrumPZ = h.DrumPZ;
    s.PZType = byteRange(h.PZType);
    s.SameSpeed = h.SameSpeed;
    s.HeYing = h.HeYing;
    return s;
}

QByteArray VlsHeader::encode(const ScoreHeader& unclamped, const ColorScheme& colors)
{
    const ScoreHeader header = stored(unclamped);
    QByteArray bytes(kSize, '\0');
    bytes[0] = '/';
    PutField(bytes, 2, 1, std::uint16_t(header.ScreenDpi));
    PutField(bytes, 3, 1, std::uint16_t(header.RapDrum));
    PutField(bytes, 4, 2, std::uint16_t(header.Instrument));
    PutField(bytes, 6, 2, std::uint16_t(header.Speed));
    PutField(bytes, 8, 2, std::uint16_t(header.Volume));
    PutField(bytes, 10, 2, std::uint16_t(header.LeftSpace));
    PutField(bytes, 12, 2, std::uint16_t(header.RightSpace));
    PutField(bytes, 14, 1, kVersion);
    PutColors(bytes, colors);
    PutField(bytes, 35, 1, header.DrumPZ ? 1 : 0);
    PutField(bytes, 36, 1, std::uint16_t(header.PZType));
    PutField(bytes, 37, 1, header.SameSpeed ? 1 : 0);
    PutField(bytes, 38, 1, header.HeYing ? 1 : 0);
    return bytes;
}

int VlsHeader::version(const QByteArray& file) { return int(FieldValue(file, 14, 1)); }

void VlsHeader::decode(const QByteArray& file, int v, ScoreHeader& header, ColorScheme& colors,
    const ColorScheme& templateColors)
{
    header.FileVer = std::int16_t(v);
    header.BaseKey = kDefaultBaseKey;
    if (v <= 1) {
        // A version-1 file always has the DPI; version 0 only when it starts with "/".
        const bool withDpi = v == 1 || file.startsWith('/');
        const int at = withDpi ? 5 : 1;
        header.ScreenDpi = withDpi ? digits(file, 2, 4) : kDefaultDpi;
        header.Instrument = digits(file, at, at + 2);
        header.Speed = digits(file, at + 3, at + 5);
        header.Volume = digits(file, at + 6, at + 8);
        header.LeftSpace = kDefaultMargin;
        header.RightSpace = kDefaultMargin;
        header.RapDrum = kDefaultRapDrum;
        colors = templateColors;
        colors.EditBackColor = kWhite;
    } else {
        header.ScreenDpi = v == 2 ? int16At(file, 2) : byteAt(file, 2);
        header.RapDrum = v == 2 ? kDefaultRapDrum : byteAt(file, 3);
        header.Instrument = int16At(file, 4);
        header.Speed = int16At(file, 6);
        header.Volume = int16At(file, 8);
        header.LeftSpace = marginOr820(int16At(file, 10));
        header.RightSpace = marginOr820(int16At(file, 12));
        colors = ColorsAt(file);
    }
    if (v >= 4) {
        header.DrumPZ = switchAt(file, 35);
        header.PZType = byteAt(file, 36);
        header.SameSpeed = switchAt(file, 37);
        header.HeYing = switchAt(file, 38);
    } else {
        header.DrumPZ = false;
        header.PZType = kOldPZType;
        header.SameSpeed = false;
        header.HeYing = false;
    }
}

} // namespace tunvale::frame
