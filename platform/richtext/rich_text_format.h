#pragma once

#include <QFont>
#include <QRgb>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>

#include <optional>
#include <unordered_map>
#include <vector>

class QTextBlock;
class QTextDocument;

// The formats a score's rich text carries, as plain values. Everything the editor, the RTF codec and
// the snapshot compare or store goes through these, never through the rest of QTextCharFormat.
namespace tunvale::platform {

struct RunFormat {
    QString font; // family exactly as stored ("KORVA_Note", "宋体")
    int halfPoints = 24; // size in half points
    bool bold = false;
    bool underline = false;
    std::optional<QRgb> color; // none: the automatic text colour
    std::optional<QRgb> highlight; // none: no background
    int offset = 0; // raised (+) or lowered (-) in half points

    bool operator==(const RunFormat&) const = default;
};
size_t qHash(const RunFormat& format, size_t seed = 0);

struct ParagraphFormat {
    int leftIndent = 0; // twips
    int rightIndent = 0; // twips
    int lineSpacing = 0; // exact line spacing in twips; 0 for single spacing

    bool operator==(const ParagraphFormat&) const = default;
};

// What a score holds: sizes of 1 to 1638 points, offsets up to the largest size, indents and line
// spacing up to 22 inches. Whatever reads, sets or writes a format keeps to these, so a stored value
// always reads back as it was written.
constexpr int kMinHalfPoints = 2;
constexpr int kMaxHalfPoints = 3276;
constexpr int kMaxTwips = 31680;
RunFormat Clamped(RunFormat format);
ParagraphFormat Clamped(ParagraphFormat format);

// Whether a font name may hold the character: control characters (NUL among them) never reach a
// stored name, so a name reads as it was written.
inline bool IsFontNameCharacter(QChar c) { return c.category() != QChar::Other_Control; }

// Our own properties beside Qt's display ones: twips and half points are kept exactly, whatever the
// screen's resolution.
enum RichTextProperty {
    CharOffsetProperty = QTextFormat::UserProperty + 1,
    LeftIndentProperty,
    RightIndentProperty,
    LineSpacingProperty,
    // The font's name once more, as a string: Qt finds a format among a document's formats by a hash
    // that takes every list of font names for the same, so that a text in many fonts would build in
    // time that grows with the square of their number.
    FontNameProperty,
};

// The font of text that has no font of its own: lyrics and titles are set in "宋体".
QFont DefaultTextFont();

// Reads a character format; attributes the format lacks come from the document's default font.
RunFormat ToRunFormat(const QTextCharFormat& format, const QFont& defaultFont);
QTextCharFormat ToCharFormat(const RunFormat& format);
ParagraphFormat ToParagraphFormat(const QTextBlockFormat& format);

// ToCharFormat, made once per distinct run format: a document built run by run reuses them.
class CharFormatCache
{
public:
    const QTextCharFormat& operator()(const RunFormat& format);

private:
    struct Hash {
        size_t operator()(const RunFormat& format) const { return qHash(format); }
    };
    std::unordered_map<RunFormat, QTextCharFormat, Hash> formats_;
    const RunFormat* lastFormat_ = nullptr;
    const QTextCharFormat* last_ = nullptr;
};

QTextBlockFormat ToBlockFormat(const ParagraphFormat& format);

// Screen pixels of a length in twips, for display only.
qreal TwipsToPixels(int twips);

// The paragraph mark: every paragraph break carries the format of the paragraph it ends. In the
// document this is the format of the block's separator; the last block's separator cannot be
// formatted in Qt, so its mark is a property of the document object. Setting it is no change of the
// text: whoever sets it tells the document's users.
QTextCharFormat MarkFormat(const QTextBlock& block);
void SetLastMarkFormat(QTextDocument& document, const QTextCharFormat& format);

} // namespace tunvale::platform
