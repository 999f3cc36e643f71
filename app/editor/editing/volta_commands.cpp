#include "app/editor/editing/volta_commands.h"

#include "app/notation/notation_chars.h"
#include "platform/desktop/prompts.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>

namespace tunvale::editor {

namespace {

constexpr std::array<char16_t, 3> kSecondEndingStarts { 0x6370, 0x636D, 0x6358 };
// The repeat starts above and the bracket starts that items 5, 8 and 11 write.
constexpr std::array<char16_t, 6> kLaterEndingStarts { 0x6369, 0x6368, 0x6367, 0x636D, 0x6370, 0x6358 };
constexpr std::array<char16_t, 1> kDalSegnoStart { 0x6359 };
constexpr std::array<char16_t, 5> kRepeatEnds { 0x6370, 0x6358, 0x6361, 0x6360, 0x635F };

const QString kRepeatFirst = QStringLiteral("第一字符选择反复记号，再进行转换。");

// An item that opens a bracket on the bar line starting the stretch.
struct Opening {
    int index;
    char16_t afterPlainBarLine; // written over "$" or "%"
    char16_t afterBarLine; // written over U+6352 or U+6355
};
constexpr std::array<Opening, 4> kOpenings { {
    { 0, u'^', 0x6363 },
    { 4, u'_', 0x6364 },
    { 7, u'`', 0x6365 },
    { 10, u'a', 0x6366 },
} };

// An item that turns the repeat or bracket sign starting the stretch into a new bracket start; the
// closing ones also rewrite the last character.
struct Continuing {
    int index;
    char16_t first;
    char16_t last; // 0: the last character gets its arc form like the others
    std::span<const char16_t> accepted; // empty: any stretch
    bool testsLast;
    const QString* message;
};

const QString kDalSegnoMessage = QStringLiteral("第一字符选择D.S.反复记号后，再按此键转换。");
const QString kRepeatEndMessage = QStringLiteral("最后一字符要选择反复记号!");

const std::array<Continuing, 8>& continuingItems()
{
    static const std::array<Continuing, 8> table { {
        { 1, 0x636D, 0, kSecondEndingStarts, false, &kRepeatFirst },
        { 2, 0x636E, 0, kDalSegnoStart, false, &kDalSegnoMessage },
        { 5, 0x6367, 0, kLaterEndingStarts, false, &kRepeatFirst },
        { 8, 0x6368, 0, kLaterEndingStarts, false, &kRepeatFirst },
        { 11, 0x6369, 0, kLaterEndingStarts, false, &kRepeatFirst },
        { 13, 0x636A, 0, {}, false, nullptr },
        { 14, 0x636B, 0x635F, kRepeatEnds, true, &kRepeatEndMessage },
        { 15, 0x636C, 0x6360, kRepeatEnds, true, &kRepeatEndMessage },
    } };
    return table;
}

constexpr int kAddLine = 17;
constexpr int kRemoveLine = 18;

// Sets the flag for its lifetime and clears it at the end, whichever way the item goes.
class BusyScope
{
public:
    explicit BusyScope(bool& busy)
        : busy_(busy)
    {
        busy_ = true;
    }
    ~BusyScope() { busy_ = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool& busy_;
};

} // namespace

VoltaCommands::VoltaCommands(platform::RichTextBox& editor, NoteCommands& notes, bool& busy)
    : editor_(editor)
    , notes_(notes)
    , busy_(busy)
{
}

const std::vector<int>& VoltaCommands::itemIndices()
{
    static const std::vector<int> indices { 0, 1, 2, 4, 5, 7, 8, 10, 11, 13, 14, 15, 17, 18 };
    return indices;
}

void VoltaCommands::applyItem(int index)
{
    if (editor_.SelLength() == 0)
        return;
    const auto opening = std::find_if(
        kOpenings.begin(), kOpenings.end(), [index](const Opening& o) { return o.index == index; });
    if (opening != kOpenings.end()) {
        // "第1段" leaves the flag alone; the others hold it over their test too.
        std::optional<BusyScope> busy;
        if (index != 0)
            busy.emplace(busy_);
        const QChar first = editor_.SelText().front();
        if (first == u'$' || first == u'%')
            notes_.ConvertRepeatSign(QChar(opening->afterPlainBarLine));
        else if (notation::PlainBarLine::contains(first.unicode()))
            notes_.ConvertRepeatSign(QChar(opening->afterBarLine));
        else if (index == 0)
            platform::Prompts::current().information(QStringLiteral("请选择以小节线开头的一段简谱。"));
        return;
    }
    const auto& items = continuingItems();
    const auto continuing
        = std::find_if(items.begin(), items.end(), [index](const Continuing& c) { return c.index == index; });
    if (continuing != items.end()) {
        const QString text = editor_.SelText();
        // A closing item rewrites a first and a last character, so it needs two.
        if (continuing->last != 0 && text.size() < 2)
            return;
        const char16_t tested = (continuing->testsLast ? text.back() : text.front()).unicode();
        const auto& accepted = continuing->accepted;
        if (!accepted.empty() && std::find(accepted.begin(), accepted.end(), tested) == accepted.end()) {
            platform::Prompts::current().information(*continuing->message);
            return;
        }
        const BusyScope busy(busy_);
        notes_.ConvertBracket(QChar(continuing->first),
            continuing->last ? std::optional<QChar>(QChar(continuing->last)) : std::nullopt);
        return;
    }
    if (index == kAddLine || index == kRemoveLine) {
        const BusyScope busy(busy_);
        if (index == kAddLine)
            notes_.ResetNoteFont();
        else
            notes_.ConvertSelChars();
    }
}

} // namespace tunvale::editor
