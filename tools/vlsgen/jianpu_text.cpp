#include "tools/vlsgen/jianpu_text.h"

#include "app/notation/notation_chars.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace tunvale::vlsgen {

using namespace notation;

namespace {

constexpr int kBeginRepeat = 0x6357;
constexpr int kEndRepeat = 0x6358;
constexpr int kFinalBar = 0x635D;
constexpr int kMaxOctaves = 3;
constexpr int kMaxDurIndex = 5;

struct Slur {
    bool pendingStart = false; // "(" seen, no note yet
    bool open = false; // between the first and the last note
};

// Advances of the notation font at 32 pt in half-width blanks of the 12-pt text font (6 pt each).
constexpr double kNoteWidth = 18.0586 / 6; // notes, rests and dashes
constexpr double kBarWidth = 10.3125 / 6;
constexpr double kRepeatWidth = 13.5352 / 6; // repeat signs and the final bar line
constexpr double kDotWidth = 9.0234 / 6;

double glyphWidth(int code)
{
    if (PlainBarLine::contains(code))
        return kBarWidth;
    if (code == kBeginRepeat || code == kEndRepeat || code == kFinalBar)
        return kRepeatWidth;
    if (code >= DotGlyph::First && code <= DotGlyph::Last)
        return kDotWidth;
    return kNoteWidth;
}

// Chinese characters take two half-width blanks.
int textWidth(const QString& text)
{
    int width = 0;
    for (QChar c : text)
        width += c.unicode() >= 0x2E80 ? 2 : 1;
    return width;
}

} // namespace

JianpuResult LyricsUnderNotes(const QString& glyphs, const QString& syllables)
{
    JianpuResult result;
    const QStringList tokens = syllables.split(u' ', Qt::SkipEmptyParts);
    qsizetype next = 0;
    double x = 0;
    int cursor = 0;
    for (QChar glyph : glyphs) {
        if (NoteGlyph::contains(glyph.unicode()) && next < tokens.size()) {
            const QString& token = tokens[next++];
            if (token != u"-") {
                const int width = textWidth(token);
                const int wanted = int(std::lround(x + (kNoteWidth - width) / 2)) - cursor;
                const int blanks = std::max(wanted, result.text.isEmpty() ? 0 : 1);
                result.text += QString(blanks, u' ') + token;
                cursor += blanks + width;
            }
        }
        x += glyphWidth(glyph.unicode());
    }
    if (next < tokens.size())
        result.error = QStringLiteral("%1 syllables for %2 notes").arg(tokens.size()).arg(next);
    return result;
}

JianpuResult JianpuToGlyphs(const QString& line)
{
    JianpuResult result;
    Slur slur;
    const auto fail = [&](const QString& token, const QString& why) {
        result.error = QStringLiteral("\"%1\": %2").arg(token, why);
        return result;
    };
    for (QString token : line.split(u' ', Qt::SkipEmptyParts)) {
        const QString original = token;
        while (token.startsWith(u'(')) {
            slur.pendingStart = true;
            token.remove(0, 1);
        }
        bool closes = false;
        while (token.endsWith(u')')) {
            closes = true;
            token.chop(1);
        }
        if (closes && !slur.open && !slur.pendingStart)
            return fail(original, QStringLiteral("no slur to end"));
        const bool underArc = slur.open;
        if (token == u"|" || token == u"|:" || token == u":|" || token == u"||") {
            if (token == u"|")
                result.text += QChar(underArc ? PlainBarLine::UnderArc : PlainBarLine::Plain);
            else
                result.text += QChar(token == u"|:" ? kBeginRepeat : token == u":|" ? kEndRepeat : kFinalBar);
        } else if (token == u"-") {
            result.text += QChar(underArc ? DashGlyph::UnderArc : DashGlyph::Plain);
        } else if (!token.isEmpty() && token[0] >= u'0' && token[0] <= u'7') {
            const int degree = token[0].unicode() - u'0';
            qsizetype at = 1;
            int up = 0, down = 0, durIndex = 0;
            for (; at < token.size() && token[at] == u'\''; ++at)
                ++up;
            for (; at < token.size() && token[at] == u','; ++at)
                ++down;
            for (; at < token.size() && token[at] == u'_'; ++at)
                ++durIndex;
            const bool dotted = at < token.size() && token[at] == u'.';
            if (dotted)
                ++at;
            if (at != token.size())
                return fail(original, QStringLiteral("not a note"));
            if ((up && down) || up > kMaxOctaves || down > kMaxOctaves || durIndex > kMaxDurIndex)
                return fail(original, QStringLiteral("octave or duration out of range"));
            if (degree == 0) {
                result.text += QChar(RestGlyph::First + durIndex + (underArc ? 6 : 0));
            } else {
                // Arc forms: 1 the slur starts, 2 inside it, 3 it ends (and closes a tie).
                const int block = slur.pendingStart ? 1 : closes && slur.open ? 3 : slur.open ? 2 : 0;
                const int row = up ? kMaxOctaves + up : down;
                result.text += QChar(NoteGlyph { block, row, durIndex, degree }.code());
                if (slur.pendingStart) {
                    slur.pendingStart = false;
                    slur.open = true;
                } else if (closes) {
                    slur.open = false;
                }
            }
            if (dotted)
                result.text += QChar(DotGlyph::First + durIndex + (slur.open ? 6 : 0));
        } else {
            return fail(original, QStringLiteral("unknown token"));
        }
        if (closes && slur.open)
            return fail(original, QStringLiteral("a slur ends on a note"));
    }
    if (slur.open || slur.pendingStart)
        result.error = QStringLiteral("slur not closed");
    return result;
}

} // namespace tunvale::vlsgen
