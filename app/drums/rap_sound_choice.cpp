#include "app/drums/rap_sound_choice.h"

#include "platform/text/runtime_numbers.h"

namespace tunvale::drums {

namespace {

const QString kShowCommonTip = QStringLiteral("显示常用...");
const QString kShowMoreTip = QStringLiteral("加载更多鼓...");
constexpr int kNote28InFullList = 15;

RapSoundList FullList(int index) { return { true, index, kShowCommonTip }; }
RapSoundList CommonList(int index) { return { false, index, kShowMoreTip }; }

} // namespace

RapSoundList RapSoundListFor(int rapDrum)
{
    if (rapDrum < 0 || rapDrum > 74)
        return FullList(-1);
    const qsizetype p = kCommonRapNotes.indexOf(QString::number(rapDrum + 13)) + 1;
    if (p < 1)
        return FullList(rapDrum);
    return CommonList(int(p / 3));
}

RapSoundList SwitchedRapSoundList(bool fullShown)
{
    return fullShown ? CommonList(0) : FullList(kNote28InFullList);
}

int RapItemNote(const QString& itemText)
{
    return int(platform::RoundHalfEven(platform::Val(itemText.left(2))));
}

} // namespace tunvale::drums
