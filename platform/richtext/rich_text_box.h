#pragma once

#include "platform/richtext/changed_span.h"
#include "platform/richtext/rich_text_content.h"
#include "platform/richtext/rich_text_snapshot.h"
#include "platform/richtext/text_height.h"

#include <QColor>
#include <QObject>
#include <QTextCursor>
#include <QTextOption>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QMimeData;
class QTextBlock;
class QTextDocument;

// The score's rich text as every part of the program sees it, with the semantics of a classic
// rich-text box on top of a QTextDocument:
// - positions are 0-based UTF-16 units in which every paragraph break counts two, "\r\n";
// - lines are display lines at the document's text width (one per paragraph without a width);
// - the format of an empty selection is the pending typing format, else that of the character
//   before the caret, else (at a paragraph start) the one after, else the paragraph mark's;
// - every paragraph break carries the format of the paragraph it ends.
// Without a view it is the hidden copy that core code reads; RichTextEdit shows one.
namespace tunvale::platform {

enum class FormatResult { Applied, SizeOutOfRange };

class RichTextBox : public QObject
{
    Q_OBJECT

public:
    static constexpr double kMinFontSize = 1;
    static constexpr double kMaxFontSize = 1638;

    // A box with a document of its own.
    explicit RichTextBox(QObject* parent = nullptr);
    // A box over a document owned elsewhere (a view's).
    explicit RichTextBox(QTextDocument* document, QObject* parent = nullptr);
    ~RichTextBox() override;

    QTextDocument* document() const { return document_; }

    // Text and positions.
    QString Text() const;
    void setText(const QString& text);
    int TextLength() const;
    enum class Snap { Before, After };
    int toDocumentPosition(int position, Snap snap = Snap::Before) const;
    int fromDocumentPosition(int documentPosition) const;

    // Selection. Setting SelStart collapses the selection; values are clamped and never split a
    // paragraph break.
    int SelStart() const;
    void setSelStart(int start);
    int SelLength() const;
    void setSelLength(int length);
    void select(int start, int length);
    QString SelText() const;
    // Replaces the selection: the new text takes the format of the first selected character (the
    // insertion format when nothing is selected); "\r\n", "\r" and "\n" become paragraph breaks.
    void setSelText(const QString& text);

    // Character format of the selection; "" / 0 where the characters differ.
    QString SelFontName() const;
    double SelFontSize() const;
    bool SelBold() const;
    bool SelUnderline() const;
    QColor SelColor() const;
    int SelCharOffset() const; // twips, raised positive
    void setSelFontName(const QString& name);
    FormatResult setSelFontSize(double points);
    void setSelBold(bool bold);
    void setSelUnderline(bool underline);
    void setSelColor(const QColor& color);
    void setSelCharOffset(int twips);
    // Background of a range; nothing else of its format changes.
    void setBackground(int start, int length, const QColor& color);

    // Paragraph format of the paragraphs the selection touches (of the first one when read).
    int SelIndent() const;
    int SelRightIndent() const;
    int SelLineSpacing() const; // exact, twips; 0 for single spacing
    void setSelIndent(int twips);
    void setSelRightIndent(int twips);
    void setSelLineSpacing(int twips);

    // The format that typed text gets.
    RunFormat insertionFormat() const;

    // Rewrites equal-length text in place, each character keeping its whole format. False (and no
    // change) when the length differs, the paragraph breaks would move or the new text holds a
    // character the text never does (an object, NUL, a line or paragraph separator).
    bool RewriteRange(int start, const QString& newText);

    // RTF through our codec. Setting TextRTF replaces the document, clears the pending format and
    // puts the caret at 0; text that is not RTF changes nothing and gives false. With `indents`, every
    // paragraph goes in with those left and right indents in twips, so that a view lays the text out
    // once with the margins it is to have.
    QString TextRTF() const;
    QByteArray TextRTFBytes() const; // TextRTF as the bytes a file stores (it is pure ASCII)
    bool setTextRTF(const QString& rtf, std::optional<std::pair<int, int>> indents = std::nullopt);
    QString SelRTF() const;
    bool setSelRTF(const QString& rtf);

    // Display lines.
    int LineCount() const;
    int LineFromChar(int position) const; // 0-based line of a position
    int LineIndex(int line) const; // position of a line's first character; -1 if none
    QString LineText(int line) const; // "" for a line that does not exist
    int FirstVisibleLine() const;
    // Where the view's visible part starts, in document coordinates; set by the view.
    void setViewportTop(qreal y);

    // Clipboard: RTF and plain text, never HTML. An insertion that would leave a text a view cannot show
    // (whyUnshowable) changes nothing and raises insertionRefused().
    QMimeData* mimeDataForSelection() const;
    static bool canInsertMimeData(const QMimeData* data);
    void insertMimeData(const QMimeData* data);
    // Whether `text` may be typed over the selection: false, and typingRefused() raised, when a view could
    // not show the text it would leave.
    bool acceptsTyping(const QString& text);
    void Copy() const;
    void Cut();
    void Paste();

    // Whole paragraphs by number, for an undo engine that keeps only what changed: `count` paragraphs
    // from `first` as plain values; replacing paragraphs `first` to `first + count - 1` with others
    // (formats and marks included) in one edit; one paragraph's format.
    RichContent paragraphs(int first, int count) const;
    void replaceParagraphs(int first, int count, const RichContent& paragraphs);
    void setParagraphFormat(int paragraph, const ParagraphFormat& format);
    // The caret at 0 and no pending typing format, as after replacing the whole text.
    void resetCursor();

    // Why a view of this box could not show `text` (WhyUnshowable), if it could not: wrapped at the
    // document's width less each paragraph's indents, or less those of the selection's paragraph where
    // they leave less room, as a window lays the same margins on every paragraph.
    std::optional<Unshowable> whyUnshowable(const RichContent& text) const;
    // The whole text with the selection's format changed as `change` says.
    RichContent reformattedText(const std::function<void(RunFormat&)>& change) const;
    // Whether the text would use more than kMostFonts fonts once [start, start + length), snapped as a
    // selection is, gave way to text in `formats` (kept to what the box stores), or once it took the
    // format `change` makes of each of its own; with nothing in it, once typing took the typing format
    // so changed. The typing format counts as a font of the text, for the next key puts it there.
    bool tooManyFontsWith(int start, int length, const std::vector<RunFormat>& formats) const;
    bool tooManyFontsAfter(int start, int length, const std::function<void(RunFormat&)>& change) const;

    // A plain copy of text, fonts, colours and lines, taken in one walk.
    RichTextSnapshot snapshot() const;
    // Its lines alone, without a copy of every character's font and colour: all of them, or those of
    // `count` paragraphs from `first`.
    std::vector<RichTextSnapshot::Line> snapshotLines(int first = 0, int count = -1) const;

    // The view's cursor after the user moved it, and the cursor the view should show.
    void adoptCursor(const QTextCursor& cursor);
    const QTextCursor& cursor() const { return cursor_; }

signals:
    void Change();
    void SelChange();
    // A handler sets KeyCode (or KeyAscii) to 0 to swallow the key, so connect them directly.
    void KeyDown(int& KeyCode, int Shift);
    void KeyPress(int& KeyAscii);
    void KeyUp(int& KeyCode, int Shift);
    // Button 1 left, 2 right, 4 middle; Shift 1 Shift, 2 Ctrl, 4 Alt; X and Y in twips.
    void MouseDown(int Button, int Shift, double X, double Y);
    void MouseUp(int Button, int Shift, double X, double Y);
    // The model moved the selection; a view shows cursor().
    void cursorMoved();
    // An insertion was refused: a view could not have shown the text.
    void insertionRefused(tunvale::platform::Unshowable why);
    // Typed text was refused: a view could not have shown the text.
    void typingRefused(tunvale::platform::Unshowable why);
    // The document's wrap mode changed with the stretches its text holds (FitWrapMode).
    void wrapModeChanged();

private:
    struct Line {
        int documentStart; // Qt position of the first character
        int start; // our position
        int textLength; // without the break
        int block;
        bool hasBreak; // ends a paragraph that is not the last
        bool paragraphStart;
    };

    void init();
    void setCursor(int anchor, int position);
    void selectionChanged();
    void applyCharChange(const std::function<void(RunFormat&)>& change);
    void reformat(int from, int to, const std::function<void(RunFormat&)>& change);
    void applyParagraphChange(const std::function<void(ParagraphFormat&)>& change);
    RunFormat formatBeforeOrAfter(int documentPosition) const;
    RichContent selectedContent() const;
    template <typename T> T selectionValue(T RunFormat::*member, T mixed) const;
    void insertParagraphs(QTextCursor& cursor, const QString& text, const RunFormat& format);
    void insertContent(const RichContent& content);
    RichContent plainContent(const QString& text) const;
    bool acceptsInsertion(const RichContent& content);
    std::optional<Unshowable> whyUnshowableInsertion(const RichContent& content) const;
    void replaceParagraphsAt(int first, int count, const RichContent& paragraphs);
    struct BlockMap {
        std::vector<int> documentStarts; // Qt position of each block
        std::vector<int> starts; // our position of each block
        int documentEnd = 0;
    };
    const BlockMap& blockMap() const;
    const std::vector<Line>& lines() const;
    // The lines of paragraphs 0 to `last` at least.
    const std::vector<Line>& linesThrough(int last) const;
    void updateLines(bool wrapped) const;
    void appendLines(const QTextBlock& block, int blockNumber, bool wrapped, std::vector<Line>& out) const;
    void noticeWrapMode();
    void forgetCaches();
    QString lineText(const Line& line) const;

    std::unique_ptr<QTextDocument> ownDocument_;
    QTextDocument* document_ = nullptr;
    QTextCursor cursor_;
    std::optional<RunFormat> pending_;
    bool replacing_ = false; // the box replaces text: a view's caret carried along is not adopted
    int reportedStart_ = 0;
    int reportedLength_ = 0;
    qreal viewportTop_ = 0;
    bool hasLayout_ = false;
    mutable BlockMap blockMap_;
    mutable bool blocksDirty_ = true;
    mutable ChangedSpan blocksChanged_;
    mutable std::vector<Line> lines_; // of the first linesBlocks_ paragraphs
    mutable int linesBlocks_ = 0;
    mutable bool linesDirty_ = true;
    mutable ChangedSpan linesChanged_;
    mutable qreal linesWidth_ = -1;
    mutable QTextOption::WrapMode linesMode_ = QTextOption::WrapAtWordBoundaryOrAnywhere;
    QTextOption::WrapMode wrapMode_ = QTextOption::WrapAtWordBoundaryOrAnywhere; // as last seen
};

} // namespace tunvale::platform
