#include "tests/editor/old_score.h"

#include "tests/editing/score_builder.h"

#include "app/frame/old_score_codes.h"

#include <algorithm>

namespace tunvale::testing {

namespace {

// An old sign and what it becomes, found by its current code.
struct Sign {
    QChar old;
    QChar now;
};

Sign sign(char16_t now)
{
    const std::vector<frame::OldCodePair>& pairs = frame::OldSignCodes();
    const auto found = std::find_if(
        pairs.begin(), pairs.end(), [now](const frame::OldCodePair& p) { return p.to == now; });
    return { QChar(found->from), QChar(found->to) };
}

} // namespace

OldScore MakeOldScore(int systems)
{
    const Sign bar = sign(0x6352);
    const Sign dash = sign(0x6353);
    const Sign dot = sign(0x62C2);
    const Sign keyMarker = sign(0x634F);
    const Sign keyName = sign(0x633A);
    platform::RichTextBox box;
    QString converted;
    const auto line = [&](const QString& font, const QString& old, const QString& now) {
        Append(box, font, old + QStringLiteral("\r\n"));
        converted += now + QStringLiteral("\r\n");
    };
    const auto text = [&](const QString& words) { line(kSong, words, words); };
    text(QStringLiteral("小星星"));
    text(QStringLiteral("词曲：佚名"));
    text(QStringLiteral("中速"));
    line(kNote, QString(keyMarker.old) + keyName.old, QString(keyMarker.now) + keyName.now);
    OldScore score;
    for (int s = 0; s < systems; ++s) {
        QString old(bar.old);
        QString now(bar.now);
        ++score.bars;
        for (int b = 0; b < 4; ++b) {
            for (int n = 0; n < 6; ++n) {
                const int row = (s * 24 + b * 6 + n) % frame::kOldNoteRowCount;
                const int code = frame::kFirstOldNote + 28 * row + (s + n) % 28;
                old += QChar(char16_t(code));
                now += QChar(char16_t(code + frame::OldNoteRowOffsets()[std::size_t(row)]));
            }
            const Sign& extra = b % 2 == 0 ? dash : dot;
            old += QString(extra.old) + bar.old;
            now += QString(extra.now) + bar.now;
            ++score.bars;
        }
        line(kNote, old, now);
        text(QString(20, QChar(char16_t(0x4E00 + 300 + s % 200))));
    }
    converted.chop(2);
    box.select(box.TextLength() - 2, 2);
    box.setSelText(QString());
    score.rtf = box.TextRTF();
    score.converted = converted;
    return score;
}

} // namespace tunvale::testing
