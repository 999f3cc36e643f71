#include "app/drums/time_signature_rows.h"

#include "app/notation/notation_chars.h"

namespace tunvale::drums {

namespace {

// Where the bar of a plain signature ends: the label and the steps into it.
struct BarEnd {
    int label;
    int stepsInto;
};

// 4, 8, 12, 16 and 24 steps end with a whole label; 6 and 18 steps half-way through one.
constexpr std::array<BarEnd, 8> kPlainEnds
    = { { { 0, 4 }, { 1, 4 }, { 2, 4 }, { 3, 4 }, { 1, 2 }, { 2, 4 }, { 4, 2 }, { 5, 4 } } };

// The bar of a signature with n extra steps ends n steps into the label after the plain bar; the
// eighth signatures of 6 and 18 steps, whose plain bar ends within a label, count on from there.
BarEnd ProlongedEnd(int signature, int n)
{
    switch (signature) {
    case 4: // 3/8
        return n <= 2 ? BarEnd { 1, n + 2 } : BarEnd { 2, n - 2 };
    case 6: // 9/8
        return n <= 2 ? BarEnd { 4, n + 2 } : BarEnd { 5, n - 2 };
    case 5: // 6/8
        return { 3, n };
    case 7: // 12/8
        return { 6, n };
    default: // 1/4 .. 4/4
        return { signature + 1, n };
    }
}

QString Accents(int signature)
{
    static const std::array<const char*, 8> kAccents
        = { "强", "强,弱", "强,弱,弱", "强,弱,次强,弱", "强,弱,弱", "强,弱,弱,次强,弱,弱",
              "强,弱,弱,次强,弱,弱,次强,弱,弱", "强,弱,弱,次强,弱,弱,次强,弱,弱,次强,弱,弱" };
    return QStringLiteral("拍子：") + QString::fromUtf8(kAccents[std::size_t(signature)]);
}

std::array<TimeSignatureRow, kTimeSignatureRows> MakeRows()
{
    std::array<TimeSignatureRow, kTimeSignatureRows> rows;
    for (int s = 0; s < 8; ++s) {
        const BarEnd end = kPlainEnds[std::size_t(s)];
        rows[std::size_t(s)] = { QString::fromLatin1(notation::TimeSignatureTexts[std::size_t(s)]),
            Accents(s), end.label, end.stepsInto };
    }
    rows[kCustomHeadingRow] = { QStringLiteral("--自定义---"), QString(), -1, 0 };
    // The custom rows list 1/4 .. 4/4 first, then the eighth signatures, as TimeSigCode numbers them.
    for (int code = kCustomHeadingRow + 1; code < kTimeSignatureRows; ++code) {
        const int s = (code - 9) / 4;
        const int n = (code - 9) % 4 + 1;
        const BarEnd end = ProlongedEnd(s, n);
        rows[std::size_t(code)] = { rows[std::size_t(s)].item + QStringLiteral(" +") + QString::number(n),
            rows[std::size_t(s)].accents, end.label, end.stepsInto };
    }
    return rows;
}

} // namespace

const std::array<TimeSignatureRow, kTimeSignatureRows>& TimeSignatureRows()
{
    static const std::array<TimeSignatureRow, kTimeSignatureRows> rows = MakeRows();
    return rows;
}

} // namespace tunvale::drums
