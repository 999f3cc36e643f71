#include "platform/richtext/unbreakable_run.h"

#include <QTextBoundaryFinder>

#include <algorithm>

namespace tunvale::platform {

void UnbreakableRunMeter::measure()
{
    longest_ = std::max(longest_, LongestUnbreakableRun(paragraph_));
    paragraph_.clear();
}

qsizetype LongestUnbreakableRun(QStringView paragraph)
{
    QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, paragraph);
    qsizetype next = breaks.toNextBoundary();
    qsizetype longest = 0;
    qsizetype run = 0;
    for (qsizetype i = 0; i < paragraph.size(); ++i) {
        if (i == next) {
            run = 0;
            next = breaks.toNextBoundary();
        }
        // The layout wraps at any white space but a no-break one, whatever the rules say of the
        // characters around it ("12 345" is one number to them).
        const QChar c = paragraph[i];
        if (c.isSpace() && c.decompositionTag() != QChar::NoBreak) {
            run = 0;
            continue;
        }
        longest = std::max(longest, ++run);
    }
    return longest;
}

} // namespace tunvale::platform
