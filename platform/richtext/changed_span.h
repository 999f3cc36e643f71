#pragma once

#include <algorithm>

// Where a document changed since a cache of it was last brought up to date, in Qt positions: what
// was [from, oldEnd) before the first change is [from, newEnd) now. Changes add up, each one given
// as QTextDocument::contentsChange gives it.
namespace tunvale::platform {

struct ChangedSpan {
    int from = -1; // -1: nothing changed
    int oldEnd = 0;
    int newEnd = 0;

    bool empty() const { return from < 0; }
    void clear() { from = -1; }

    void add(int position, int removed, int added)
    {
        const int end = position + removed;
        if (empty()) {
            from = position;
            oldEnd = end;
            newEnd = position + added;
            return;
        }
        // Behind the span, positions are the old ones moved by what the span grew.
        const int shift = newEnd - oldEnd;
        const int oldEndOfChange = end <= from ? end : end >= newEnd ? end - shift : oldEnd;
        const int movedEnd = newEnd <= position ? newEnd
            : newEnd >= end                     ? newEnd + added - removed
                                                : position + added;
        from = std::min(from, position);
        oldEnd = std::max(oldEnd, oldEndOfChange);
        newEnd = std::max(movedEnd, position + added);
    }
};

} // namespace tunvale::platform
