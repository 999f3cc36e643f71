#include "components/keyshift/transposer.h"

#include "app/notation/notation_chars.h"
#include "components/keyshift/font_runs.h"
#include "components/keyshift/note_mapping.h"
#include "components/keyshift/rtf_tokens.h"
#include "platform/desktop/prompts.h"

#include <vector>

namespace tunvale::keyshift {

namespace {

using notation::AccidentalGlyph;
using notation::KeyMarker;
using notation::NoteGlyph;

// Characters of the note font that end the reach of an accidental.
bool isStateReset(int code)
{
    return code == 0x6352 || code == 0x6355 || (code >= 0x6357 && code <= 0x6371) || code == 0x6373
        || (code >= 0x637F && code <= 0x6387) || code == 0x638E || code == 0x638F;
}

// The bar lines of the grace-note fonts.
bool isGraceReset(int code)
{
    return code == u'$' || code == u'%' || code == u'^' || code == u'_' || code == u'`' || code == u'a';
}

// The notes a grace-note font draws.
bool isGraceNote(int code) { return code >= NoteGlyph::First && code <= 0x572F; }

// The accidental in effect after an accidental sign: 1 sharp, -1 flat, 2 double sharp, -2 double
// flat, 0 natural.
int accidentalValue(int code)
{
    constexpr int values[] = { 1, -1, 2, -2, 0 };
    return values[(code - AccidentalGlyph::First) % 5];
}

// The sharp drawn for a note: the accidental set goes with the note's block, the glyph with its
// duration. The natural is four codes further.
int sharpGlyph(int note)
{
    int set = 0x6226;
    if (note >= 0x504C && note <= 0x572F)
        set = 0x6244;
    else if (note >= 0x5856 && note <= 0x5AA1)
        set = 0x6262;
    else if (note >= 0x5AA2 && note <= 0x5BC7)
        set = 0x6244;
    else if (note >= 0x5BC8)
        set = 0x6280;
    return set + (note - NoteGlyph::First) % 42 / 7 * 5;
}

// One transposition of one text: the state lives as long as the call.
class Transposition
{
public:
    Transposition(const QString& rtf, int step)
        : tRtf(rtf)
        , nUporDown(step)
        , table(ReadFontTable(rtf))
        , runs(SplitFontRuns(rtf, table))
    {
    }

    // The new text; nothing when a note is out of range.
    std::optional<QString> run()
    {
        for (const FontRun& run : runs)
            ScanNoteRun(run);
        AccState = 0;
        NoteCount = 0;
        keyLine = false;
        out.reserve(tRtf.size() + tRtf.size() / 4 + 64);
        for (const FontRun& run : runs) {
            if (!ConvertNoteRun(run))
                return std::nullopt;
        }
        return out;
    }

private:
    // Records the accidental in effect for every note of the note font.
    void ScanNoteRun(const FontRun& run)
    {
        if (!keyLine && (run.Kind == FontKind::Other || run.Kind == FontKind::Symbol))
            return;
        for (qsizetype pos = run.Start; pos < run.End;) {
            const RtfToken token = ReadToken(tRtf, pos, run.End);
            pos += token.length;
            if (keyLine) {
                keyLine = token.type != TokenType::Par;
            } else if (run.Kind == FontKind::Note && token.type == TokenType::CharEscape) {
                if (NoteGlyph::contains(token.code)) {
                    NoteAccStates.push_back(AccState);
                    ++NoteCount;
                } else if (isStateReset(token.code)) {
                    AccState = 0;
                } else if (AccidentalGlyph::contains(token.code)) {
                    AccState = accidentalValue(token.code);
                } else if (KeyMarker::contains(token.code)) {
                    keyLine = true;
                }
            } else if (IsGraceKind(run.Kind) && token.type == TokenType::Char && isGraceReset(token.code)) {
                AccState = 0;
            }
        }
    }

    // Writes the run's new text; false when a note is out of range.
    bool ConvertNoteRun(const FontRun& run)
    {
        RunTag = run.Tag;
        if (!keyLine && place < 0 && run.Kind == FontKind::Other) {
            out.append(QStringView(tRtf).sliced(run.Start, run.End - run.Start));
            return true;
        }
        // A symbol run, or a grace-note run with a grace note, is held: the sign of the next note
        // goes in front of it, and its own text leaves that place open.
        const bool symbol = run.Kind == FontKind::Symbol;
        const qsizetype lastGrace = IsGraceKind(run.Kind) ? lastGraceNote(run) : -1;
        const bool held = symbol || lastGrace >= 0;
        if (symbol && !keyLine)
            openPlace(QString());
        bool reopen = false;
        for (qsizetype pos = run.Start; pos < run.End;) {
            const RtfToken token = ReadToken(tRtf, pos, run.End);
            const QStringView text = QStringView(tRtf).sliced(pos, token.length);
            const qsizetype at = pos;
            pos += token.length;
            if (keyLine) {
                // The key line is copied as it is, up to the end of its paragraph.
                out.append(text);
                if (token.type == TokenType::Par) {
                    keyLine = false;
                    reopen = symbol;
                }
                continue;
            }
            if (token.type == TokenType::Par) {
                out.append(text);
                closePlaces();
                reopen = symbol;
                continue;
            }
            if (token.type == TokenType::Control) {
                out.append(text);
                continue;
            }
            if (run.Kind == FontKind::Note && token.type == TokenType::CharEscape) {
                if (NoteGlyph::contains(token.code)) {
                    if (!convertNote(token.code))
                        return false;
                    continue;
                }
                if (AccidentalGlyph::contains(token.code))
                    continue; // the new text gets the signs it needs
                if (isStateReset(token.code))
                    AccState = 0;
                else if (KeyMarker::contains(token.code))
                    keyLine = true;
            }
            const bool graceReset
                = IsGraceKind(run.Kind) && token.type == TokenType::Char && isGraceReset(token.code);
            if (graceReset)
                AccState = 0;
            if (reopen || at == lastGrace) {
                openPlace(RunTag.toString() + u' ');
                reopen = false;
            }
            out.append(text);
            if (!held || graceReset)
                closePlaces(); // no sign is carried over text or across a bar line
        }
        return true;
    }

    // The position of the run's last grace note, -1 when it has none.
    qsizetype lastGraceNote(const FontRun& run) const
    {
        qsizetype last = -1;
        for (qsizetype pos = run.Start; pos < run.End;) {
            const RtfToken token = ReadToken(tRtf, pos, run.End);
            if (token.type == TokenType::CharEscape && isGraceNote(token.code))
                last = pos;
            pos += token.length;
        }
        return last;
    }

    bool convertNote(int code)
    {
        const int recorded
            = NoteCount < qsizetype(NoteAccStates.size()) ? NoteAccStates[size_t(NoteCount)] : 0;
        ++NoteCount;
        const std::optional<ShiftedNote> shifted = MapShiftedNote(code, nUporDown, recorded, AccState);
        if (!shifted)
            return false;
        MakeAccidentalGlyph(code, shifted->code, shifted->sign);
        return true;
    }

    // Writes the new note for source note `source`, its sign in the first open place or in front
    // of it.
    void MakeAccidentalGlyph(int source, int target, Sign sign)
    {
        if (sign != Sign::None) {
            const QString glyph = CodeToEscape(sharpGlyph(source) + (sign == Sign::Natural ? 4 : 0));
            if (place >= 0)
                InsertText(out, place, table.NoteFontTag + glyph + placeRestore);
            else
                out += glyph;
            AccState = sign == Sign::Sharp ? 1 : 0;
        }
        out += CodeToEscape(target);
        closePlaces();
    }

    // A place for the next note's sign here; `restore` selects the held run's font again after it.
    void openPlace(const QString& restore)
    {
        if (place >= 0)
            return; // the sign takes the first place
        place = out.size();
        placeRestore = restore;
    }

    void closePlaces() { place = -1; }

    const QString& tRtf;
    const int nUporDown;
    const FontTable table;
    const std::vector<FontRun> runs;

    int AccState = 0; // scan: the accidental in effect; conversion: 1 while a sharp written is in effect
    qsizetype NoteCount = 0;
    std::vector<int> NoteAccStates; // the accidental in effect for each note, in text order
    bool keyLine = false; // inside the key line, which keeps its characters
    QStringView RunTag; // the tag of the run being converted
    QString out;
    qsizetype place = -1; // the first open place for a sign in `out`; -1 when none is open
    QString placeRestore;
};

} // namespace

TransposeResult TransposeRtf(const QString& rtf, int step, platform::Prompts& prompts)
{
    if (step != 2 && step != -2 && step != 1 && step != -1)
        return TransposeResult { rtf, false };
    std::optional<QString> transposed = Transposition(rtf, step).run();
    if (!transposed) {
        ShowRangeWarning(prompts);
        return TransposeResult { QString(), true };
    }
    return TransposeResult { *std::move(transposed), false };
}

void ShowRangeWarning(platform::Prompts& prompts)
{
    prompts.information(
        QStringLiteral("注意：有音符超出能表示的音域范围，本次转换被忽略。"), platform::kProgramTitle);
}

} // namespace tunvale::keyshift
