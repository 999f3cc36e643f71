#include "app/frame/old_score_converter.h"

#include "app/frame/grace_codes.h"
#include "app/frame/old_score_codes.h"
#include "app/notation/notation_chars.h"

#include <algorithm>
#include <array>

namespace tunvale::frame {

namespace {

// The line whose signs are converted whatever its kind: old scores kept their key marker there.
constexpr int kKeyLine = 4;

constexpr char16_t kFirstSign = 0x606C;
constexpr char16_t kLastSign = 0x61F4;

using SignTable = std::array<char16_t, kLastSign - kFirstSign + 1>;

SignTable signTable()
{
    SignTable table {};
    for (const OldCodePair& pair : OldSignCodes())
        table[pair.from - kFirstSign] = pair.to;
    return table;
}

bool within(char16_t c, char16_t first, char16_t last) { return c >= first && c <= last; }

} // namespace

QChar OldScoreConverter::TurnZF(QChar code)
{
    static const SignTable table = signTable();
    const char16_t c = code.unicode();
    if (!within(c, kFirstSign, kLastSign) || table[c - kFirstSign] == 0)
        return code;
    return { table[c - kFirstSign] };
}

QChar OldScoreConverter::TurnYY(QChar code, const QString& font)
{
    const auto& grace = notation::GraceFontFamilies;
    if (font == grace[0])
        return { char16_t(ConvertYyCode(code.unicode())) };
    if (std::find(grace.begin() + 1, grace.end(), font) != grace.end())
        return { char16_t(ConvertYyNCode(code.unicode())) };
    return code;
}

QChar OldScoreConverter::convert(QChar code, const QString& font, const OldScoreLine& line)
{
    if (font != notation::NoteFontFamily)
        return line.notation ? TurnYY(code, font) : code;
    char16_t c = code.unicode();
    if (line.notation) {
        if (within(c, kFirstOldNote, kLastOldNote))
            c += char16_t(OldNoteRowOffsets()[std::size_t((c - kFirstOldNote) / 28)]);
        if (within(c, 0x612C, 0x6130))
            c += 2;
        // Once only: run again it would fold four old codes onto two.
        if (within(c, 0x60E8, 0x60EB))
            c -= 4;
        else if (within(c, 0x60EC, 0x60EF))
            c -= 2;
    }
    if (line.notation || line.number == kKeyLine)
        return TurnZF(QChar(c));
    return { c };
}

std::vector<CodeReplacement> OldScoreConverter::convertLine(const OldScoreLine& line)
{
    std::vector<CodeReplacement> replacements;
    for (qsizetype i = 0; i < line.text.size(); ++i) {
        const QChar old = line.text[i];
        const QChar now = convert(old, line.fonts.value(i), line);
        if (now != old)
            replacements.push_back({ line.start + int(i), now });
    }
    return replacements;
}

std::vector<OldScoreLine> OldScoreLines(
    const platform::RichTextSnapshot& score, const std::vector<bool>& notation)
{
    std::vector<OldScoreLine> lines;
    lines.reserve(score.lines.size());
    for (std::size_t i = 0; i < score.lines.size(); ++i) {
        const platform::RichTextSnapshot::Line& shown = score.lines[i];
        OldScoreLine line { int(i) + 1, i < notation.size() && notation[i], shown.start, shown.text, {} };
        line.fonts.reserve(shown.text.size());
        for (qsizetype c = 0; c < shown.text.size(); ++c)
            line.fonts.append(score.fontAt(shown.start + int(c)));
        lines.push_back(std::move(line));
    }
    return lines;
}

std::vector<CodeReplacement> ConvertOldScore(const std::vector<OldScoreLine>& lines)
{
    std::vector<CodeReplacement> all;
    for (const OldScoreLine& line : lines) {
        const std::vector<CodeReplacement> some = OldScoreConverter::convertLine(line);
        all.insert(all.end(), some.begin(), some.end());
    }
    return all;
}

} // namespace tunvale::frame
