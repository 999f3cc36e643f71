#include "app/drums/bar_hint.h"

#include "app/drums/drum_editor_state.h"

namespace tunvale::drums {

using notation::DrumAccessor;
using notation::DrumStore;

namespace {

constexpr char16_t kIdeographicSpace = u'\u3000';

QString trimBlanks(const QString& text)
{
    qsizetype start = 0, end = text.size();
    while (start < end && text[start] == u' ')
        ++start;
    while (end > start && text[end - 1] == u' ')
        --end;
    return text.mid(start, end - start);
}

} // namespace

QString DrumPatternText(const notation::DrumRecord& record)
{
    const OneRecord one(record);
    const DrumAccessor& drum = one.drum;
    QString time;
    const int steps = drum.DrumTime(0, time);
    QString pattern;
    for (int track = 0; track < notation::DrumRecord::Tracks; ++track) {
        if (!drum.DrumChannel(0, track))
            continue;
        for (int step = 0; step < steps; ++step) {
            pattern += drum.DrumRhythms(0, step, track) ? u'*' : u'-';
            if (step % 4 == 3)
                pattern += u' ';
        }
        pattern += u'\n';
        pattern += QString(3, QChar(kIdeographicSpace));
    }
    return QStringLiteral("节拍：") + time + u'\n' + QStringLiteral("节奏：") + trimBlanks(pattern)
        + QStringLiteral("速度：") + QString::number(drum.DrumSpeed(0)) + QStringLiteral(" 拍/分");
}

BarHint BarHints::hintFor(DrumStore& records, int bar, bool shortHints)
{
    BarHint hint;
    if (records.empty()) {
        records.resize(1);
        return hint;
    }
    const bool exists = bar >= 0 && bar < int(records.size());
    if (shortHints) {
        if (exists) {
            const notation::DrumRecord& record = records[std::size_t(bar)];
            hint.toolTip = record.HaveDrum != 0 ? RecordName(record) : QStringLiteral("双击编辑鼓点...");
        }
        return hint;
    }
    hint.toolTip = QString();
    if (!exists) {
        hint.balloon = BarHint::Balloon::Default;
    } else if (bar != LastTipBar) {
        const notation::DrumRecord& record = records[std::size_t(bar)];
        const QString name = RecordName(record);
        if (name.isEmpty()) {
            hint.balloon = BarHint::Balloon::Default;
        } else {
            hint.balloon = BarHint::Balloon::Filled;
            hint.filled.text = DrumPatternText(record);
            hint.filled.title = name;
        }
    }
    LastTipBar = bar;
    return hint;
}

} // namespace tunvale::drums
