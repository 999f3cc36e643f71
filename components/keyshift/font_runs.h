#pragma once

#include <QString>

#include <unordered_map>
#include <vector>

// The transposer reads the RTF as text: the font table tells what each font number is, and every
// "\fN" of the body starts a run of text in font N.
namespace tunvale::keyshift {

// What a font is to the transposer; the values are those the runs are printed with.
enum class FontKind {
    Note = 0, // KORVA_Note: notes and signs, transposed
    Grace = 1, // KORVA_Note_yy .. KORVA_Note_yy3: grace-note groups of one to four notes
    Grace1 = 2,
    Grace2 = 3,
    Grace3 = 4,
    Symbol = 5, // KORVA_Note_Symbol: ornament letters and symbols
    Other = 6, // titles, lyrics and any font the table does not list
};

// The kind of a font table entry from the family name inside it, compared without regard to case.
FontKind ClassifyFontEntry(QStringView entry);

struct FontTable {
    std::unordered_map<int, FontKind> kinds; // by font number; a number not listed is FontKind::Other
    QString NoteFontTag; // "\fN" of the last KORVA_Note entry; empty when there is none
    qsizetype end = -1; // index of the ";" of the last entry's ";}"; -1 when no entry was read

    FontKind kindOf(int font) const;
};

// Entries "{\f0" ... ";}", "{\f1" ... ";}" and so on in turn, up to the first number that is missing
// or an entry without ";}".
FontTable ReadFontTable(const QString& rtf);

struct FontRun {
    qsizetype Start = 0; // index of the "\f" that opens the run; 0 for the first run
    qsizetype End = 0; // one past the run's last character: where the next run starts
    FontKind Kind = FontKind::Other;
    QStringView Tag; // "\fN" in the RTF, the control word that selects the run's font
};

// The runs that partition the RTF without gap or overlap; their tags view `rtf`. The first one, of kind
// Other, holds the header and the font table. A run starts at every "\f" after the font table followed by a
// font number: ASCII digits that fit in 32 bits, ended by a space, a backslash or the end of the text.
std::vector<FontRun> SplitFontRuns(const QString& rtf, const FontTable& table);

} // namespace tunvale::keyshift
