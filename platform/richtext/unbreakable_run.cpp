#include "platform/richtext/unbreakable_run.h"

#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextDocument>

#include <algorithm>

namespace tunvale::platform {

namespace {

// The layout wraps at any white space but a no-break one, whatever the rules say of the characters
// around it ("12 345" is one number to them).
bool breaksAnyway(QChar c) { return c.isSpace() && c.decompositionTag() != QChar::NoBreak; }

// Qt's layout tailors the line-breaking rules to Korean, which wraps at spaces: it breaks Hangul
// syllables and jamo as it breaks letters, where QTextBoundaryFinder's rules allow a break between any
// two of them. No public API gives the layout's places to wrap, so the finder reads a copy in which a
// letter stands for each of these characters.
bool breaksAsALetter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x1100 && u <= 0x11ff) // conjoining jamo
        || (u >= 0x3131 && u <= 0x318e) // compatibility jamo
        || (u >= 0xa960 && u <= 0xa97c) // jamo extended-A
        || (u >= 0xac00 && u <= 0xd7a3) // syllables
        || (u >= 0xd7b0 && u <= 0xd7c6) || (u >= 0xd7cb && u <= 0xd7fb); // jamo extended-B
}

QString asTheLayoutBreaksIt(QStringView paragraph)
{
    QString text = paragraph.toString();
    std::replace_if(text.begin(), text.end(), breaksAsALetter, u'a');
    return text;
}

bool setWrapMode(QTextDocument& document, bool longRun)
{
    QTextOption option = document.defaultTextOption();
    const QTextOption::WrapMode mode = WrapModeFor(longRun);
    if (option.wrapMode() == mode)
        return false;
    option.setWrapMode(mode);
    document.setDefaultTextOption(option);
    return true;
}

bool anyLongRun(QTextBlock block, const QTextBlock& end)
{
    for (; block.isValid() && block != end; block = block.next()) {
        if (block.length() > kLongestWordWrapRun && HoldsLongRun(block.text()))
            return true;
    }
    return false;
}

} // namespace

qsizetype LongestUnbreakableRun(QStringView paragraph, qsizetype enough)
{
    const QString tailored = asTheLayoutBreaksIt(paragraph);
    QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, tailored);
    qsizetype next = breaks.toNextBoundary();
    qsizetype longest = 0;
    qsizetype run = 0;
    for (qsizetype i = 0; i < paragraph.size(); ++i) {
        if (i == next) {
            run = 0;
            next = breaks.toNextBoundary();
        }
        if (breaksAnyway(paragraph[i])) {
            run = 0;
            continue;
        }
        longest = std::max(longest, ++run);
        if (longest > enough)
            break;
    }
    return longest;
}

bool HoldsLongRun(QStringView paragraph)
{
    // Most paragraphs are short, or broken by spaces often enough: only a long stretch without white
    // space is read by the line-breaking rules.
    qsizetype run = 0;
    for (const QChar c : paragraph) {
        run = breaksAnyway(c) ? 0 : run + 1;
        if (run > kLongestWordWrapRun)
            return LongestUnbreakableRun(paragraph, kLongestWordWrapRun) > kLongestWordWrapRun;
    }
    return false;
}

QTextOption::WrapMode WrapModeFor(bool longRun)
{
    return longRun ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere;
}

bool FitWrapMode(QTextDocument& document) { return setWrapMode(document, anyLongRun(document.begin(), {})); }

bool FitWrapMode(QTextDocument& document, int from, int length)
{
    const QTextBlock last = document.findBlock(std::max(from, from + length - 1));
    if (anyLongRun(document.findBlock(from), last.isValid() ? last.next() : QTextBlock()))
        return setWrapMode(document, true);
    // Elsewhere a long stretch may remain.
    if (document.defaultTextOption().wrapMode() == WrapModeFor(true))
        return FitWrapMode(document);
    return false;
}

void LongRunMeter::measure()
{
    found_ = found_ || HoldsLongRun(paragraph_);
    paragraph_.clear();
}

} // namespace tunvale::platform
