#include "app/notation/drum_record.h"

#include "app/notation/notation_chars.h"

namespace tunvale::notation {

int TimeSigSteps(int code, QString& text)
{
    static constexpr std::array<int, 8> BaseSteps = { 4, 8, 12, 16, 6, 12, 18, 24 };
    if (code >= 0 && code <= 7) {
        text = QString::fromLatin1(TimeSignatureTexts[code]);
        return BaseSteps[code];
    }
    if (code == 8)
        return 0;
    if (code >= 9 && code <= 40) {
        const int base = (code - 9) / 4;
        const int extra = (code - 9) % 4 + 1;
        text = QString::fromLatin1(TimeSignatureTexts[base]) + QStringLiteral(" +") + QString::number(extra);
        return BaseSteps[base] + extra;
    }
    text = QStringLiteral("2/4");
    return 8;
}

DrumStores& ProcessDrumStores()
{
    static DrumStores stores;
    return stores;
}

} // namespace tunvale::notation
