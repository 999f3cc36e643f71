#include "tests/performance/generated_song.h"

#include "app/notation/drum_accessor.h"
#include "tests/compiler/notation_text.h"

#include <QStringList>

namespace tunvale::testing {

platform::RichTextSnapshot GeneratedSong(int bars)
{
    const QStringList patterns = {
        QStringLiteral("1 2e 3e 4 5 |"),
        QStringLiteral("@BF 6 5 - |"),
        QStringLiteral("g10:4 3 . 2e 1 |"),
        QStringLiteral("U+6226 4 4 3 2 |"),
        QStringLiteral("5 - 5~ 0 |"),
        QStringLiteral("@- 1' 7 6 5 |"),
        QStringLiteral("U+629E 1 2 3 |"),
        QStringLiteral("@4 2 1 - |"),
    };
    NotationScore score;
    score.text(QStringLiteral("Generated song"));
    for (int bar = 0; bar < bars; bar += 4) {
        QString line;
        if (bar % 32 == 16)
            line += QStringLiteral("U+5F89 ");
        else if (bar % 32 == 0)
            line += QStringLiteral("U+5F8E ");
        for (int k = 0; k < 4 && bar + k < bars; ++k)
            line += patterns[(bar + k) % patterns.size()] + QChar(' ');
        if (bar % 16 == 12)
            line.replace(line.size() - 2, 1, QChar(u'^')); // the paragraph's last bar line closes a segment
        score.notation(line).text(
            QStringLiteral("la la la la la la la la la la la la la la la la la la la la la"));
    }
    return score.build();
}

void FillDrums(notation::DrumStores& stores, int bars)
{
    using notation::DrumAccessor;
    stores.XjDrums.assign(size_t(bars), notation::DrumRecord {});
    DrumAccessor drum(stores);
    drum.DrumType(DrumAccessor::XjDrums);
    for (int bar = 0; bar < bars; ++bar) {
        drum.setDrumTimeSignature(bar, 40);
        drum.setDrumSpeed(bar, 120);
        drum.setHaveDrum(bar, 1);
        for (int t = 0; t < 8; ++t) {
            drum.setDrumChannel(bar, t, true);
            drum.setDrumSounds(bar, t, std::uint8_t(20 + t));
            drum.setDrumVolume(bar, t, 100);
            drum.setDrumSoundImage(bar, t, 64);
            for (int s = 0; s < 32; ++s)
                drum.setDrumRhythms(bar, s, t, (s + t) % 2 == 0 || t == 0);
        }
    }
}

} // namespace tunvale::testing
