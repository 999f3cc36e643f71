#include "components/keyshift/transposer.h"

#include "app/notation/code_event.h"
#include "app/notation/notation_chars.h"
#include "components/keyshift/font_runs.h"
#include "components/keyshift/note_mapping.h"
#include "components/keyshift/rtf_tokens.h"
#include "components/keyshift/sign_reach.h"
#include "platform/desktop/prompts.h"

#include <vector>

namespace tunvale::keyshift {

namespace {

using notation::AccidentalGlyph;
using notation::KeyMarker;
using notation::NoteGlyph;

// The alteration of an accidental sign: sharp, flat, double sharp, double flat, natural.
int accidentalValue(int code)
{
    constexpr int values[] = { 1, -1, 2, -2, 0 };
    return values[(code - AccidentalGlyph::First) % 5];
}

// The pitch the player compares notes by: octave and degree, whatever the duration or arc.
int writtenPitch(int note)
{
    const NoteGlyph glyph = *NoteGlyph::decode(note);
    return notation::PitchOf(glyph.OctaveRow, glyph.Degree);
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

// A character of a notation run as the player reads it for the signs.
struct ReadCharacter {
    enum class Kind {
        Note, // a note the transposer shifts
        KeptNote, // a note it leaves as it is: a grace note, or a note of another font
        Sign,
        BarLine,
        Letter, // an ornament letter
        Extender, // the filler after an ornament letter
        Other,
    };
    Kind kind = Kind::Other;
    int value = 0; // notes: the written pitch; Sign: the alteration; Letter: the letter
};
using Kind = ReadCharacter::Kind;

ReadCharacter classify(const RtfToken& token, FontKind run)
{
    const int code = token.code;
    if (NoteGlyph::contains(code)) {
        const bool shifted = run == FontKind::Note && token.type == TokenType::CharEscape;
        return { shifted ? Kind::Note : Kind::KeptNote, writtenPitch(code) };
    }
    if (AccidentalGlyph::contains(code))
        return { Kind::Sign, accidentalValue(code) };
    if (notation::IsBarLine(code))
        return { Kind::BarLine, 0 };
    if (notation::OrnamentLetter::contains(code))
        return { Kind::Letter, code };
    if (notation::OrnamentExtender::contains(code))
        return { Kind::Extender, 0 };
    return {};
}

// An ornament letter and the fillers after it, written into the new text; a note's sign goes in
// front of it when the player spells the ornament from that note, so that the ornament still finds
// its note.
struct OrnamentChain {
    int letter = 0;
    int extenders = 0;
    qsizetype place = 0; // where in the new text the sign goes
    QString restore; // the tag that selects the ornament's font again after the sign; "" in the note font
    bool inNoteFont = false;

    bool startsWithItsNote() const
    {
        const std::optional<notation::OrnamentReach> reach = notation::ReachOfOrnament(letter, extenders);
        return reach && reach->offset == 0 && reach->distance == extenders + 1;
    }
};

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
        ReadSourceSigns();
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
    // Collects the characters of the notation runs as the player reads them, without the key line,
    // which is not played.
    void ScanNoteRun(const FontRun& run)
    {
        if (!keyLine && run.Kind == FontKind::Other)
            return;
        for (qsizetype pos = run.Start; pos < run.End;) {
            const RtfToken token = ReadToken(tRtf, pos, run.End);
            pos += token.length;
            if (keyLine) {
                keyLine = token.type != TokenType::Par;
                continue;
            }
            if (run.Kind == FontKind::Other || !WritesText(token.type))
                continue;
            if (run.Kind == FontKind::Note && token.type == TokenType::CharEscape
                && KeyMarker::contains(token.code)) {
                keyLine = true;
                continue;
            }
            const ReadCharacter read = classify(token, run.Kind);
            if (read.kind == Kind::Sign && run.Kind == FontKind::Note && token.type == TokenType::CharEscape)
                noteFontSigns.push_back(sourceCharacters.size());
            sourceCharacters.push_back(read);
        }
    }

    // Records the alteration the player gives every note of the source. The signs of the note font
    // that stand before a shifted note, or before an ornament spelled from one, give way to the signs
    // the new text needs; any other sign (a grace note's, or one that alters no note) stays as it is.
    void ReadSourceSigns()
    {
        SignReach reach;
        for (size_t i = 0; i < sourceCharacters.size(); ++i) {
            const ReadCharacter& c = sourceCharacters[i];
            if (c.kind == Kind::BarLine)
                reach.barLine();
            else if (c.kind == Kind::Sign)
                reach.sign(c.value);
            else if (c.kind == Kind::Note)
                NoteAccStates.push_back(reach.character(c.value));
            else if (c.kind == Kind::KeptNote)
                reach.character(c.value);
            else if (const std::optional<OrnamentNote> note = ornamentNote(i))
                reach.character(sourceCharacters[note->index].value + note->offset);
            else
                reach.character(std::nullopt);
        }
        for (size_t i : noteFontSigns) {
            size_t next = i + 1;
            while (next < sourceCharacters.size() && sourceCharacters[next].kind == Kind::Sign)
                ++next;
            const std::optional<OrnamentNote> note = ornamentNote(next);
            const bool ofShiftedNote = next < sourceCharacters.size()
                && (sourceCharacters[next].kind == Kind::Note
                    || (note && sourceCharacters[note->index].kind == Kind::Note));
            SignKept.push_back(!ofShiftedNote);
        }
    }

    struct OrnamentNote {
        size_t index = 0; // the note in `sourceCharacters`
        int offset = 0; // from it to the ornament's first note, in semitones
    };

    // The note the ornament letter at `i` decorates, as the player finds it; nothing for any other
    // character.
    std::optional<OrnamentNote> ornamentNote(size_t i) const
    {
        if (i >= sourceCharacters.size() || sourceCharacters[i].kind != Kind::Letter)
            return std::nullopt;
        size_t extenders = 0;
        while (i + 1 + extenders < sourceCharacters.size()
            && sourceCharacters[i + 1 + extenders].kind == Kind::Extender)
            ++extenders;
        const std::optional<notation::OrnamentReach> reach
            = notation::ReachOfOrnament(sourceCharacters[i].value, int(extenders));
        if (!reach || i + size_t(reach->distance) >= sourceCharacters.size())
            return std::nullopt;
        const size_t note = i + size_t(reach->distance);
        if (sourceCharacters[note].kind != Kind::Note && sourceCharacters[note].kind != Kind::KeptNote)
            return std::nullopt;
        return OrnamentNote { note, reach->offset };
    }

    // Writes the run's new text; false when a note is out of range.
    bool ConvertNoteRun(const FontRun& run)
    {
        RunTag = run.Tag;
        if (!keyLine && run.Kind == FontKind::Other) {
            out.append(QStringView(tRtf).sliced(run.Start, run.End - run.Start));
            return true;
        }
        const qsizetype runStart = out.size();
        bool atRunStart = true; // nothing but the run's control words written yet
        for (qsizetype pos = run.Start; pos < run.End;) {
            const RtfToken token = ReadToken(tRtf, pos, run.End);
            const QStringView text = QStringView(tRtf).sliced(pos, token.length);
            pos += token.length;
            if (keyLine) {
                // The key line is copied as it is, up to the end of its paragraph.
                out.append(text);
                keyLine = token.type != TokenType::Par;
                continue;
            }
            if (run.Kind == FontKind::Other || !WritesText(token.type)) {
                out.append(text);
                atRunStart = atRunStart && token.type != TokenType::Par;
                continue;
            }
            if (run.Kind == FontKind::Note && token.type == TokenType::CharEscape) {
                if (NoteGlyph::contains(token.code)) {
                    if (!convertNote(token.code))
                        return false;
                    atRunStart = false;
                    continue;
                }
                if (AccidentalGlyph::contains(token.code) && !signKept())
                    continue; // the new text gets the signs its notes need
                if (KeyMarker::contains(token.code)) {
                    keyLine = true;
                    out.append(text);
                    continue;
                }
            }
            readCharacter(classify(token, run.Kind), run.Kind, atRunStart ? runStart : -1);
            out.append(text);
            atRunStart = false;
        }
        return true;
    }

    // Follows a character about to be copied into the new text; `runStart` is where its run starts in
    // the new text when nothing but the run's control words comes before it, else -1.
    void readCharacter(const ReadCharacter& c, FontKind run, qsizetype runStart)
    {
        if (c.kind == Kind::BarLine)
            reach.barLine();
        else if (c.kind == Kind::Sign)
            reach.sign(c.value);
        else
            reach.character(c.kind == Kind::KeptNote ? std::optional<int>(c.value) : std::nullopt);

        if (c.kind == Kind::Extender && chain) {
            ++chain->extenders;
        } else if (c.kind != Kind::Letter) {
            chain.reset();
        } else if (run == FontKind::Note) {
            chain = OrnamentChain { c.value, 0, out.size(), QString(), true };
        } else if (runStart >= 0) {
            chain = OrnamentChain { c.value, 0, runStart, QString(), false }; // the run's own tag follows
        } else {
            chain = OrnamentChain { c.value, 0, out.size(), RunTag.toString() + u' ', false };
        }
    }

    // Whether the next sign of the note font stays.
    bool signKept()
    {
        const size_t n = signCount++;
        return n < SignKept.size() && SignKept[n];
    }

    bool convertNote(int code)
    {
        const int recorded
            = NoteCount < qsizetype(NoteAccStates.size()) ? NoteAccStates[size_t(NoteCount)] : 0;
        ++NoteCount;
        const std::optional<Spelling> spelling = spell(code, recorded);
        if (!spelling)
            return false;
        MakeAccidentalGlyph(code, *spelling);
        return true;
    }

    // A new note and the alteration the player must give it: 1 sharp, 0 none.
    struct Spelling {
        int code = 0;
        int alteration = 0;
    };

    // The mapping's spelling that counts on a sharp in effect, where the new text has a sharp that
    // reaches that very note; otherwise the spelling for no sign in effect.
    std::optional<Spelling> spell(int code, int recorded) const
    {
        if (const std::optional<ShiftedNote> relying = MapShiftedNote(code, nUporDown, recorded, 1);
            relying && reach.alterationOf(writtenPitch(relying->code)) == 1)
            return Spelling { relying->code, relying->sign == Sign::Natural ? 0 : 1 };
        const std::optional<ShiftedNote> plain = MapShiftedNote(code, nUporDown, recorded, 0);
        if (!plain)
            return std::nullopt;
        return Spelling { plain->code, plain->sign == Sign::Sharp ? 1 : 0 };
    }

    // Writes the new note for source note `source`, with a sharp or natural where the player would
    // otherwise give it another alteration: in front of an ornament spelled from the note, else right
    // in front of the note.
    void MakeAccidentalGlyph(int source, const Spelling& note)
    {
        const int pitch = writtenPitch(note.code);
        if (reach.alterationOf(pitch) != note.alteration) {
            const QString glyph = CodeToEscape(sharpGlyph(source) + (note.alteration == 0 ? 4 : 0));
            if (chain && chain->startsWithItsNote())
                InsertText(out, chain->place,
                    chain->inNoteFont ? glyph : table.NoteFontTag + glyph + chain->restore);
            else
                out += glyph;
            reach.sign(note.alteration);
        }
        reach.character(pitch);
        out += CodeToEscape(note.code);
        chain.reset();
    }

    const QString& tRtf;
    const int nUporDown;
    const FontTable table;
    const std::vector<FontRun> runs;

    std::vector<ReadCharacter> sourceCharacters; // the played characters of the source, in text order
    std::vector<size_t> noteFontSigns; // indexes in `sourceCharacters` of the signs of the note font
    std::vector<bool> SignKept; // for each sign of the note font: it stays as it is
    size_t signCount = 0;
    qsizetype NoteCount = 0;
    std::vector<int> NoteAccStates; // the alteration the player gives each note, in text order
    bool keyLine = false; // inside the key line, which keeps its characters
    QStringView RunTag; // the tag of the run being converted
    QString out;
    SignReach reach; // the player's reading of the new text so far
    std::optional<OrnamentChain> chain; // the ornament right before the next character
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
