#pragma once

#include "platform/richtext/rich_text_snapshot.h"

#include <QString>
#include <QStringList>

#include <vector>

// Rewrites a score written before version 5.2 into the current codes, character by character. Only
// notation lines are converted, and of them only characters in the notation fonts; the one exception
// is the score's fourth line, whose signs (the key marker of old scores) are converted whatever its
// kind. It cannot tell an old score from a new one: a converted score converted again changes.
namespace tunvale::frame {

// One display line of the score.
struct OldScoreLine {
    int number = 0; // counted from 1
    bool notation = false;
    int start = 0; // position of the first character in the score
    QString text;
    QStringList fonts; // the font of each character of `text`
};

// A character to rewrite in place; its length and font stay.
struct CodeReplacement {
    int position = 0;
    QChar code;

    friend bool operator==(const CodeReplacement&, const CodeReplacement&) = default;
};

class OldScoreConverter
{
public:
    // The replacements of one line, in text order.
    static std::vector<CodeReplacement> convertLine(const OldScoreLine& line);

    // The current code of an old sign in KORVA_Note; any other code comes back unchanged.
    static QChar TurnZF(QChar code);
    // The current code of an old grace note in its font (KORVA_Note_yy .. KORVA_Note_yy3); any other
    // code or font comes back unchanged.
    static QChar TurnYY(QChar code, const QString& font);

private:
    // What one character of a line becomes.
    static QChar convert(QChar code, const QString& font, const OldScoreLine& line);
};

// The lines of a score, `notation[i]` saying whether display line i is a notation line.
std::vector<OldScoreLine> OldScoreLines(
    const platform::RichTextSnapshot& score, const std::vector<bool>& notation);

// The replacements of the whole score, in text order.
std::vector<CodeReplacement> ConvertOldScore(const std::vector<OldScoreLine>& lines);

} // namespace tunvale::frame
