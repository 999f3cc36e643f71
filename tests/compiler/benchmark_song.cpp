#include "tests/compiler/benchmark_song.h"

#include "tests/compiler/notation_text.h"

#include <QStringList>

namespace tunvale::testing {

platform::RichTextSnapshot BenchmarkSong(int characters)
{
    const QStringList bars = { QStringLiteral("@4 1 2e 3e 4 5 |"), QStringLiteral("@BF 6 5 - |"),
        QStringLiteral("g10:4 3 . 2e 1 |"), QStringLiteral("U+6226 4 4 3 2 |"),
        QStringLiteral("@IFFFFF 5 - 5~ |"), QStringLiteral("@- 1' 7 6 5 |"),
        QStringLiteral("U+5F91 1 g12:2 3 0 |"), QStringLiteral("@JFF 2 1 - U+5F9B |") };
    NotationScore score;
    score.text(QStringLiteral("Generated song"));
    int size = 0;
    for (int paragraph = 0; size < characters; ++paragraph) {
        QString line;
        for (int bar = 0; bar < 4; ++bar)
            line += bars[(paragraph * 4 + bar) % bars.size()] + QChar(' ');
        if (paragraph % 4 == 3)
            line += QStringLiteral("^");
        score.notation(line).text(QStringLiteral("la la la la la la la la la la la la"));
        size = score.build().size();
    }
    return score.build();
}

platform::RichContent SnapshotContent(const platform::RichTextSnapshot& song)
{
    platform::RichContent content(1);
    for (int pos = 0; pos < song.size(); ++pos) {
        if (song.text.at(pos) == QChar('\r')) {
            content.emplace_back();
            ++pos;
            continue;
        }
        auto& runs = content.back().runs;
        if (runs.empty() || runs.back().format.font != song.fontAt(pos)
            || runs.back().format.color != song.colorAt(pos)) {
            platform::TextRun run;
            run.format.font = song.fontAt(pos);
            run.format.color = song.colorAt(pos);
            runs.push_back(run);
        }
        runs.back().text += song.text.at(pos);
    }
    return content;
}

} // namespace tunvale::testing
