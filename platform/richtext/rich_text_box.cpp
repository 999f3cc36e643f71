#include "platform/richtext/rich_text_box.h"

#include "platform/richtext/font_tally.h"
#include "platform/richtext/rtf_reader.h"
#include "platform/richtext/rtf_writer.h"
#include "platform/richtext/text_height.h"
#include "platform/richtext/unbreakable_run.h"

#include <QAbstractTextDocumentLayout>
#include <QClipboard>
#include <QGuiApplication>
#include <QHash>
#include <QMimeData>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <limits>

namespace tunvale::platform {

namespace {

const QString kRtfMime = QStringLiteral("text/rtf");
const QString kRtfMimeAlias = QStringLiteral("application/rtf");

struct Piece {
    int position;
    int length;
    QTextCharFormat format;
};

// The formatted pieces of Qt positions [from, to): fragments, and the separators of the blocks
// whose break lies inside (the last block's separator is never selectable).
std::vector<Piece> piecesOf(const QTextDocument& document, int from, int to)
{
    std::vector<Piece> pieces;
    for (QTextBlock block = document.findBlock(from); block.isValid() && block.position() < to;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int a = std::max(fragment.position(), from);
            const int b = std::min(fragment.position() + fragment.length(), to);
            if (a < b)
                pieces.push_back({ a, b - a, fragment.charFormat() });
        }
        const int separator = block.position() + block.length() - 1;
        if (separator >= from && separator < to && block.next().isValid())
            pieces.push_back({ separator, 1, MarkFormat(block) });
    }
    return pieces;
}

// The paragraphs of a plain text as it goes in: objects and NUL left out, every kind of break a
// paragraph break.
QStringList paragraphTexts(const QString& text)
{
    QString t = text;
    t.remove(QChar::ObjectReplacementCharacter);
    t.remove(QChar(0));
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(u'\r', u'\n');
    t.replace(QChar::LineSeparator, u'\n');
    t.replace(QChar::ParagraphSeparator, u'\n');
    return t.split(u'\n');
}

// Objects, NUL and Qt's own line and paragraph separators never enter the text: breaks are CR LF.
bool canHold(QChar c)
{
    return c != QChar::ObjectReplacementCharacter && c != QChar(0) && c != QChar::LineSeparator
        && c != QChar::ParagraphSeparator;
}

// The format of the separator at a Qt position, that is the mark of the block it ends.
void setSeparatorFormat(QTextDocument& document, int position, const QTextCharFormat& format)
{
    QTextCursor c(&document);
    c.setPosition(position);
    c.setPosition(position + 1, QTextCursor::KeepAnchor);
    c.setCharFormat(format);
}

// While the box replaces text its caret stays where it is rather than moving behind the new text, and
// a view's caret carried along is not taken for a move of the user's.
class ReplacingText
{
public:
    ReplacingText(QTextCursor& cursor, bool& replacing)
        : cursor_(cursor)
        , replacing_(replacing)
    {
        cursor_.setKeepPositionOnInsert(true);
        replacing_ = true;
    }
    ~ReplacingText()
    {
        replacing_ = false;
        cursor_.setKeepPositionOnInsert(false);
    }
    ReplacingText(const ReplacingText&) = delete;
    ReplacingText& operator=(const ReplacingText&) = delete;

private:
    QTextCursor& cursor_;
    bool& replacing_;
};

// Hands a text on with every paragraph's left and right indents set.
class IndentingSink final : public RichTextSink
{
public:
    IndentingSink(RichTextSink& sink, int left, int right)
        : sink_(sink)
        , left_(left)
        , right_(right)
    {
    }
    void text(const RunFormat& format, QStringView text) override { sink_.text(format, text); }
    void paragraphEnd(const ParagraphFormat& format, const RunFormat& mark) override
    {
        sink_.paragraphEnd(indented(format), mark);
    }
    void finish(const ParagraphFormat& format, const RunFormat& mark) override
    {
        sink_.finish(indented(format), mark);
    }

private:
    ParagraphFormat indented(ParagraphFormat format) const
    {
        format.leftIndent = left_;
        format.rightIndent = right_;
        return Clamped(format);
    }

    RichTextSink& sink_;
    int left_;
    int right_;
};

} // namespace

RichTextBox::RichTextBox(QObject* parent)
    : QObject(parent)
    , ownDocument_(std::make_unique<QTextDocument>())
    , document_(ownDocument_.get())
{
    init();
}

RichTextBox::RichTextBox(QTextDocument* document, QObject* parent)
    : QObject(parent)
    , document_(document)
{
    init();
}

RichTextBox::~RichTextBox() = default;

void RichTextBox::init()
{
    // The program's undo engine is the only one.
    document_->setUndoRedoEnabled(false);
    document_->setDefaultFont(DefaultTextFont());
    cursor_ = QTextCursor(document_);
    // A hidden copy gets a layout only when its lines are wanted at a text width: laying out on
    // every change would cost more than reading a whole score. Only a document with a layout says
    // where it changed; the caches of one without are built anew after a change.
    hasLayout_ = document_->findChild<QAbstractTextDocumentLayout*>(QString(), Qt::FindDirectChildrenOnly);
    wrapMode_ = document_->defaultTextOption().wrapMode();
    connect(document_, &QTextDocument::documentLayoutChanged, this, [this] {
        hasLayout_ = true;
        FitWrapMode(*document_);
        noticeWrapMode();
        forgetCaches();
    });
    connect(document_, &QTextDocument::contentsChange, this, [this](int from, int removed, int added) {
        if (hasLayout_) {
            blocksChanged_.add(from, removed, added);
            linesChanged_.add(from, removed, added);
            // Told before the layout hears of the change: a new wrap mode lays every line out anew.
            FitWrapMode(*document_, from, added);
            noticeWrapMode();
        }
    });
    connect(document_, &QTextDocument::contentsChanged, this, [this] {
        if (!hasLayout_)
            forgetCaches();
        emit Change();
        selectionChanged();
    });
}

void RichTextBox::noticeWrapMode()
{
    // Of the boxes over one document, only the first told of an edit sets the new mode: each compares
    // with the mode it last saw.
    const QTextOption::WrapMode mode = document_->defaultTextOption().wrapMode();
    if (mode == wrapMode_)
        return;
    wrapMode_ = mode;
    emit wrapModeChanged();
}

void RichTextBox::forgetCaches()
{
    blocksDirty_ = true;
    linesDirty_ = true;
    blocksChanged_.clear();
    linesChanged_.clear();
}

QString RichTextBox::Text() const
{
    QString text;
    text.reserve(document_->characterCount() + document_->blockCount());
    for (QTextBlock block = document_->begin(); block.isValid(); block = block.next()) {
        if (block != document_->begin())
            text += QLatin1String("\r\n");
        text += block.text();
    }
    return text;
}

void RichTextBox::setText(const QString& text)
{
    select(0, TextLength());
    setSelText(text);
}

int RichTextBox::TextLength() const { return document_->characterCount() - 1 + document_->blockCount() - 1; }

namespace {

// The blocks a change touched: first the one the span starts in, through the one its end lies in
// (or that starts there), old and new; the blocks behind are the same, moved.
struct TouchedBlocks {
    int first = 0;
    int oldEnd = 0; // one past the last old block touched
    int newEnd = 0; // one past the last new block touched
};

TouchedBlocks touchedBlocks(
    const std::vector<int>& oldStarts, const QTextDocument& document, const ChangedSpan& span)
{
    TouchedBlocks touched;
    auto blockOf = [&](int position) {
        return std::max(
            int(std::upper_bound(oldStarts.begin(), oldStarts.end(), position) - oldStarts.begin()) - 1, 0);
    };
    touched.first = blockOf(span.from);
    touched.oldEnd = blockOf(span.oldEnd) + 1;
    QTextBlock block = document.findBlock(span.from);
    touched.newEnd = touched.first;
    for (; block.isValid() && (block.blockNumber() == touched.first || block.position() <= span.newEnd);
         block = block.next())
        ++touched.newEnd;
    return touched;
}

} // namespace

const RichTextBox::BlockMap& RichTextBox::blockMap() const
{
    if (!blocksDirty_ && !blocksChanged_.empty() && !blockMap_.documentStarts.empty()) {
        const TouchedBlocks t = touchedBlocks(blockMap_.documentStarts, *document_, blocksChanged_);
        const int shift = blocksChanged_.newEnd - blocksChanged_.oldEnd;
        const int blockShift = (t.newEnd - t.oldEnd);
        std::vector<int> documentStarts;
        std::vector<int> starts;
        int number = t.first;
        for (QTextBlock block = document_->findBlockByNumber(t.first); number < t.newEnd;
             block = block.next(), ++number) {
            documentStarts.push_back(block.position());
            starts.push_back(block.position() + number);
        }
        auto splice = [&](std::vector<int>& target, std::vector<int>& fresh, int by) {
            for (size_t i = size_t(t.oldEnd); i < target.size(); ++i)
                target[i] += by;
            target.erase(target.begin() + t.first, target.begin() + t.oldEnd);
            target.insert(target.begin() + t.first, fresh.begin(), fresh.end());
        };
        splice(blockMap_.documentStarts, documentStarts, shift);
        splice(blockMap_.starts, starts, shift + blockShift);
        blockMap_.documentEnd = document_->characterCount() - 1;
        blocksChanged_.clear();
    }
    if (blocksDirty_ || !blocksChanged_.empty()) {
        blockMap_.documentStarts.clear();
        blockMap_.starts.clear();
        int number = 0;
        for (QTextBlock block = document_->begin(); block.isValid(); block = block.next(), ++number) {
            blockMap_.documentStarts.push_back(block.position());
            // Every earlier break counts one more for us than for Qt.
            blockMap_.starts.push_back(block.position() + number);
        }
        blockMap_.documentEnd = document_->characterCount() - 1;
        blocksDirty_ = false;
        blocksChanged_.clear();
    }
    return blockMap_;
}

int RichTextBox::toDocumentPosition(int position, Snap snap) const
{
    const BlockMap& map = blockMap();
    const int blocks = int(map.starts.size());
    position = std::clamp(position, 0, map.documentEnd + blocks - 1);
    const int b
        = int(std::upper_bound(map.starts.begin(), map.starts.end(), position) - map.starts.begin()) - 1;
    const int offset = position - map.starts[size_t(b)];
    const int blockEnd = b + 1 < blocks ? map.documentStarts[size_t(b) + 1] - 1 : map.documentEnd;
    if (offset <= blockEnd - map.documentStarts[size_t(b)])
        return map.documentStarts[size_t(b)] + offset;
    return snap == Snap::Before ? blockEnd : blockEnd + 1;
}

int RichTextBox::fromDocumentPosition(int documentPosition) const
{
    const BlockMap& map = blockMap();
    documentPosition = std::clamp(documentPosition, 0, map.documentEnd);
    const auto b = std::upper_bound(map.documentStarts.begin(), map.documentStarts.end(), documentPosition)
        - map.documentStarts.begin() - 1;
    return documentPosition + int(b);
}

int RichTextBox::SelStart() const { return fromDocumentPosition(cursor_.selectionStart()); }

int RichTextBox::SelLength() const { return fromDocumentPosition(cursor_.selectionEnd()) - SelStart(); }

void RichTextBox::setSelStart(int start)
{
    const int position = toDocumentPosition(start, Snap::Before);
    setCursor(position, position);
}

void RichTextBox::setSelLength(int length)
{
    const int start = SelStart();
    const int end = start + std::clamp(length, 0, TextLength() - start);
    setCursor(toDocumentPosition(start, Snap::Before), toDocumentPosition(end, Snap::After));
}

void RichTextBox::select(int start, int length)
{
    setSelStart(start);
    setSelLength(length);
}

void RichTextBox::setCursor(int anchor, int position)
{
    if (cursor_.anchor() != anchor || cursor_.position() != position)
        pending_.reset();
    cursor_.setPosition(anchor);
    cursor_.setPosition(position, QTextCursor::KeepAnchor);
    emit cursorMoved();
    selectionChanged();
}

void RichTextBox::adoptCursor(const QTextCursor& cursor)
{
    // While the box replaces text, a view's caret carried along by it is no move of the user's.
    if (replacing_ || (cursor.anchor() == cursor_.anchor() && cursor.position() == cursor_.position()))
        return;
    pending_.reset();
    cursor_.setPosition(cursor.anchor());
    cursor_.setPosition(cursor.position(), QTextCursor::KeepAnchor);
    selectionChanged();
}

void RichTextBox::selectionChanged()
{
    const int start = SelStart();
    const int length = SelLength();
    if (start == reportedStart_ && length == reportedLength_)
        return;
    reportedStart_ = start;
    reportedLength_ = length;
    emit SelChange();
}

QString RichTextBox::SelText() const
{
    return cursor_.selectedText().replace(QChar::ParagraphSeparator, QLatin1String("\r\n"));
}

void RichTextBox::insertParagraphs(QTextCursor& cursor, const QString& text, const RunFormat& format)
{
    const QTextCharFormat charFormat = ToCharFormat(format);
    const QStringList parts = paragraphTexts(text);
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0)
            cursor.insertBlock(cursor.blockFormat(), charFormat);
        if (!parts[i].isEmpty())
            cursor.insertText(parts[i], charFormat);
    }
}

void RichTextBox::setSelText(const QString& text)
{
    const RunFormat format = insertionFormat();
    QTextCursor c = cursor_;
    c.beginEditBlock();
    c.removeSelectedText();
    insertParagraphs(c, text, format);
    c.endEditBlock();
    pending_.reset();
    cursor_.setPosition(c.position());
    emit cursorMoved();
    selectionChanged();
}

RichContent RichTextBox::selectedContent() const
{
    return ExtractContent(*document_, cursor_.selectionStart(), cursor_.selectionEnd());
}

RunFormat RichTextBox::formatBeforeOrAfter(int documentPosition) const
{
    const QTextBlock block = document_->findBlock(documentPosition);
    if (block.length() <= 1)
        return ToRunFormat(MarkFormat(block), document_->defaultFont());
    QTextCursor c(document_);
    c.setPosition(documentPosition > block.position() ? documentPosition : documentPosition + 1);
    return ToRunFormat(c.charFormat(), document_->defaultFont());
}

RunFormat RichTextBox::insertionFormat() const
{
    if (cursor_.hasSelection()) {
        const RichContent content = selectedContent();
        const RichParagraph& first = content.front();
        return first.runs.empty() ? first.mark : first.runs.front().format;
    }
    if (pending_)
        return *pending_;
    return formatBeforeOrAfter(cursor_.position());
}

template <typename T> T RichTextBox::selectionValue(T RunFormat::*member, T mixed) const
{
    if (!cursor_.hasSelection())
        return insertionFormat().*member;
    const RichContent content = selectedContent();
    std::optional<T> value;
    auto take = [&](const RunFormat& f) {
        if (!value)
            value = f.*member;
        else if (*value != f.*member)
            return false;
        return true;
    };
    bool anyText = false;
    for (const RichParagraph& paragraph : content) {
        for (const TextRun& run : paragraph.runs) {
            anyText = true;
            if (!take(run.format))
                return mixed;
        }
    }
    // A selection of paragraph breaks alone reads the marks.
    if (!anyText) {
        for (size_t i = 0; i + 1 < content.size(); ++i)
            if (!take(content[i].mark))
                return mixed;
    }
    return value ? *value : insertionFormat().*member;
}

QString RichTextBox::SelFontName() const { return selectionValue(&RunFormat::font, QString()); }

double RichTextBox::SelFontSize() const { return selectionValue(&RunFormat::halfPoints, 0) / 2.0; }

bool RichTextBox::SelBold() const { return selectionValue(&RunFormat::bold, false); }

bool RichTextBox::SelUnderline() const { return selectionValue(&RunFormat::underline, false); }

QColor RichTextBox::SelColor() const
{
    const std::optional<QRgb> color = selectionValue(&RunFormat::color, std::optional<QRgb>());
    return color ? QColor::fromRgb(*color) : QColor(Qt::black);
}

int RichTextBox::SelCharOffset() const { return selectionValue(&RunFormat::offset, 0) * 10; }

void RichTextBox::applyCharChange(const std::function<void(RunFormat&)>& change)
{
    if (cursor_.hasSelection()) {
        reformat(cursor_.selectionStart(), cursor_.selectionEnd(), change);
        return;
    }
    RunFormat f = insertionFormat();
    change(f);
    f = Clamped(f);
    pending_ = f;
    // An empty paragraph shows its mark's format, so the mark takes the typing format too.
    const QTextBlock block = cursor_.block();
    if (block.length() <= 1) {
        if (block.next().isValid()) {
            setSeparatorFormat(*document_, block.position(), ToCharFormat(f));
        } else {
            SetLastMarkFormat(*document_, ToCharFormat(f));
            emit Change();
            selectionChanged();
        }
    }
}

void RichTextBox::setSelFontName(const QString& name)
{
    applyCharChange([&](RunFormat& f) { f.font = name; });
}

FormatResult RichTextBox::setSelFontSize(double points)
{
    if (!(points >= kMinFontSize && points <= kMaxFontSize))
        return FormatResult::SizeOutOfRange;
    const int halfPoints = int(std::lround(points * 2));
    applyCharChange([&](RunFormat& f) { f.halfPoints = halfPoints; });
    return FormatResult::Applied;
}

void RichTextBox::setSelBold(bool bold)
{
    applyCharChange([&](RunFormat& f) { f.bold = bold; });
}

void RichTextBox::setSelUnderline(bool underline)
{
    applyCharChange([&](RunFormat& f) { f.underline = underline; });
}

void RichTextBox::setSelColor(const QColor& color)
{
    applyCharChange([&](RunFormat& f) { f.color = color.rgb(); });
}

void RichTextBox::setSelCharOffset(int twips)
{
    const int halfPoints = int(std::lround(twips / 10.0));
    applyCharChange([&](RunFormat& f) { f.offset = halfPoints; });
}

void RichTextBox::setBackground(int start, int length, const QColor& color)
{
    const int from = toDocumentPosition(start, Snap::Before);
    const int to = toDocumentPosition(start + std::max(length, 0), Snap::After);
    reformat(from, to, [&](RunFormat& f) { f.highlight = color.rgb(); });
}

void RichTextBox::reformat(int from, int to, const std::function<void(RunFormat&)>& change)
{
    const QFont defaultFont = document_->defaultFont();
    // One edit block: one Change however many runs the range crosses.
    QTextCursor c(document_);
    c.beginEditBlock();
    for (const Piece& piece : piecesOf(*document_, from, to)) {
        RunFormat f = ToRunFormat(piece.format, defaultFont);
        change(f);
        c.setPosition(piece.position);
        c.setPosition(piece.position + piece.length, QTextCursor::KeepAnchor);
        c.setCharFormat(ToCharFormat(Clamped(f)));
    }
    c.endEditBlock();
}

void RichTextBox::applyParagraphChange(const std::function<void(ParagraphFormat&)>& change)
{
    const int from = cursor_.selectionStart();
    const int to = cursor_.selectionEnd();
    QTextCursor c(document_);
    c.beginEditBlock();
    for (QTextBlock block = document_->findBlock(from); block.isValid(); block = block.next()) {
        if (block.position() > to || (block.position() == to && to > from))
            break;
        ParagraphFormat p = ToParagraphFormat(block.blockFormat());
        change(p);
        c.setPosition(block.position());
        c.setBlockFormat(ToBlockFormat(Clamped(p)));
    }
    c.endEditBlock();
}

int RichTextBox::SelIndent() const
{
    return ToParagraphFormat(document_->findBlock(cursor_.selectionStart()).blockFormat()).leftIndent;
}

int RichTextBox::SelRightIndent() const
{
    return ToParagraphFormat(document_->findBlock(cursor_.selectionStart()).blockFormat()).rightIndent;
}

int RichTextBox::SelLineSpacing() const
{
    return ToParagraphFormat(document_->findBlock(cursor_.selectionStart()).blockFormat()).lineSpacing;
}

void RichTextBox::setSelIndent(int twips)
{
    applyParagraphChange([&](ParagraphFormat& p) { p.leftIndent = twips; });
}

void RichTextBox::setSelRightIndent(int twips)
{
    applyParagraphChange([&](ParagraphFormat& p) { p.rightIndent = twips; });
}

void RichTextBox::setSelLineSpacing(int twips)
{
    applyParagraphChange([&](ParagraphFormat& p) { p.lineSpacing = twips; });
}

bool RichTextBox::RewriteRange(int start, const QString& newText)
{
    const int length = int(newText.size());
    if (start < 0 || start + length > TextLength())
        return false;
    const QString old = Text().mid(start, length);
    for (int i = 0; i < length; ++i) {
        const bool oldBreak = old[i] == u'\r' || old[i] == u'\n';
        const bool newBreak = newText[i] == u'\r' || newText[i] == u'\n';
        if ((oldBreak || newBreak) && old[i] != newText[i])
            return false;
        if (!canHold(newText[i]))
            return false;
    }
    if (old == newText)
        return true;
    const int selectionStart = SelStart();
    const int selectionLength = SelLength();
    const std::optional<RunFormat> pending = pending_;
    const int from = toDocumentPosition(start, Snap::After);
    const int to = toDocumentPosition(start + length, Snap::Before);
    QTextCursor c(document_);
    c.beginEditBlock();
    for (const Piece& piece : piecesOf(*document_, from, to)) {
        if (document_->characterAt(piece.position) == QChar::ParagraphSeparator)
            continue;
        const QString replacement = newText.mid(fromDocumentPosition(piece.position) - start, piece.length);
        c.setPosition(piece.position);
        c.setPosition(piece.position + piece.length, QTextCursor::KeepAnchor);
        if (c.selectedText() != replacement)
            c.insertText(replacement, piece.format);
    }
    c.endEditBlock();
    cursor_.setPosition(toDocumentPosition(selectionStart, Snap::Before));
    cursor_.setPosition(
        toDocumentPosition(selectionStart + selectionLength, Snap::After), QTextCursor::KeepAnchor);
    pending_ = pending;
    emit cursorMoved();
    selectionChanged();
    return true;
}

QString RichTextBox::TextRTF() const { return WriteRtf(*document_); }

QByteArray RichTextBox::TextRTFBytes() const { return WriteRtfBytes(*document_); }

bool RichTextBox::setTextRTF(const QString& rtf, std::optional<std::pair<int, int>> indents)
{
    // One pass from the text into the document; a text that is no RTF leaves the document alone. The
    // caret stays at the start while the text goes in behind it: no one reads a line at the end of a text
    // that is not laid out yet.
    bool read = false;
    {
        const ReplacingText replacing(cursor_, replacing_);
        DocumentBuilder builder(*document_);
        if (indents) {
            IndentingSink indented(builder, indents->first, indents->second);
            read = ReadRtf(QStringView(rtf), document_->defaultFont(), indented);
        } else {
            read = ReadRtf(QStringView(rtf), document_->defaultFont(), builder);
        }
    }
    if (!read)
        return false;
    resetCursor();
    return true;
}

RichContent RichTextBox::paragraphs(int first, int count) const
{
    if (count <= 0)
        return {};
    const QTextBlock from = document_->findBlockByNumber(first);
    const QTextBlock to = document_->findBlockByNumber(first + count - 1);
    return ExtractContent(*document_, from.position(), to.position() + to.length() - 1);
}

void RichTextBox::replaceParagraphs(int first, int count, const RichContent& paragraphs)
{
    // The caller puts the caret where it belongs.
    const ReplacingText replacing(cursor_, replacing_);
    replaceParagraphsAt(first, count, paragraphs);
}

void RichTextBox::replaceParagraphsAt(int first, int count, const RichContent& paragraphs)
{
    const int blocks = document_->blockCount();
    const bool throughLast = first + count >= blocks;
    CharFormatCache formats;
    QTextCursor c(document_);
    c.beginEditBlock();
    if (first >= blocks) {
        // Behind the last paragraph: its mark goes onto the break that now ends it.
        c.movePosition(QTextCursor::End);
        QTextCharFormat mark = MarkFormat(document_->lastBlock());
        for (const RichParagraph& paragraph : paragraphs) {
            c.insertBlock(ToBlockFormat(paragraph.format), mark);
            for (const TextRun& run : paragraph.runs)
                c.insertText(run.text, formats(run.format));
            mark = formats(paragraph.mark);
        }
        SetLastMarkFormat(*document_, mark);
        c.endEditBlock();
        return;
    }
    if (throughLast && paragraphs.empty() && first > 0) {
        // The paragraph before becomes the last: its break goes and its mark moves to the end.
        const QTextBlock before = document_->findBlockByNumber(first - 1);
        const QTextCharFormat mark = MarkFormat(before);
        c.setPosition(before.position() + before.length() - 1);
        c.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        c.removeSelectedText();
        SetLastMarkFormat(*document_, mark);
        c.endEditBlock();
        return;
    }
    const QTextBlock start = document_->findBlockByNumber(first);
    // The paragraph that follows keeps its format; Qt would give it the first removed one's.
    QTextBlockFormat following;
    c.setPosition(start.position());
    if (throughLast) {
        c.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    } else {
        const QTextBlock next = document_->findBlockByNumber(first + count);
        following = next.blockFormat();
        c.setPosition(next.position(), QTextCursor::KeepAnchor);
    }
    c.removeSelectedText();
    if (paragraphs.empty())
        c.setBlockFormat(following);
    for (size_t i = 0; i < paragraphs.size(); ++i) {
        const RichParagraph& paragraph = paragraphs[i];
        c.setBlockFormat(ToBlockFormat(paragraph.format));
        for (const TextRun& run : paragraph.runs)
            c.insertText(run.text, formats(run.format));
        if (i + 1 < paragraphs.size() || !throughLast)
            c.insertBlock(following, formats(paragraph.mark));
        else
            SetLastMarkFormat(*document_, formats(paragraph.mark));
    }
    c.endEditBlock();
}

void RichTextBox::setParagraphFormat(int paragraph, const ParagraphFormat& format)
{
    QTextCursor c(document_);
    c.setPosition(document_->findBlockByNumber(paragraph).position());
    c.setBlockFormat(ToBlockFormat(format));
}

void RichTextBox::resetCursor()
{
    pending_.reset();
    cursor_ = QTextCursor(document_);
    emit cursorMoved();
    selectionChanged();
}

QString RichTextBox::SelRTF() const { return WriteRtf(selectedContent()); }

bool RichTextBox::setSelRTF(const QString& rtf)
{
    const std::optional<RichContent> content = ReadRtf(rtf, document_->defaultFont());
    if (!content)
        return false;
    insertContent(*content);
    return true;
}

void RichTextBox::insertContent(const RichContent& content)
{
    QTextCursor c = cursor_;
    InsertContent(c, content);
    pending_.reset();
    cursor_.setPosition(c.position());
    emit cursorMoved();
    selectionChanged();
}

std::optional<Unshowable> RichTextBox::whyUnshowable(const RichContent& text) const
{
    const ParagraphFormat selected
        = ToParagraphFormat(document_->findBlock(cursor_.selectionStart()).blockFormat());
    return WhyUnshowable(text, { document_->textWidth(), selected.leftIndent, selected.rightIndent });
}

RichContent RichTextBox::reformattedText(const std::function<void(RunFormat&)>& change) const
{
    return ReformattedContent(*document_, cursor_.selectionStart(), cursor_.selectionEnd(), change);
}

bool RichTextBox::tooManyFontsWith(int start, int length, const std::vector<RunFormat>& formats) const
{
    std::vector<RunFormat> stored;
    stored.reserve(formats.size());
    for (const RunFormat& format : formats)
        stored.push_back(Clamped(format));
    return TooManyFontsWith(*document_, toDocumentPosition(start, Snap::Before),
        toDocumentPosition(start + std::max(length, 0), Snap::After), stored);
}

bool RichTextBox::tooManyFontsAfter(
    int start, int length, const std::function<void(RunFormat&)>& change) const
{
    const int from = toDocumentPosition(start, Snap::Before);
    const int to = toDocumentPosition(start + std::max(length, 0), Snap::After);
    std::vector<RunFormat> changed;
    if (from == to) {
        changed.push_back(insertionFormat());
        change(changed.back());
    } else {
        RichContent range = ExtractContent(*document_, from, to);
        VisitRangeFormats(range, [&](RunFormat& format) {
            change(format);
            changed.push_back(format);
        });
    }
    return tooManyFontsWith(start, length, changed);
}

void RichTextBox::appendLines(
    const QTextBlock& block, int blockNumber, bool wrapped, std::vector<Line>& out) const
{
    const int start = block.position() + blockNumber;
    const int textLength = block.length() - 1;
    const bool hasBreak = block.next().isValid();
    const QTextLayout* layout = block.layout();
    const int count = wrapped && layout ? layout->lineCount() : 0;
    if (count <= 1) {
        out.push_back({ block.position(), start, textLength, blockNumber, hasBreak, true });
        return;
    }
    for (int i = 0; i < count; ++i) {
        const int textStart = layout->lineAt(i).textStart();
        const int end = i + 1 < count ? layout->lineAt(i + 1).textStart() : textLength;
        out.push_back({ block.position() + textStart, start + textStart, end - textStart, blockNumber,
            hasBreak && i + 1 == count, i == 0 });
    }
}

const std::vector<RichTextBox::Line>& RichTextBox::lines() const
{
    return linesThrough(std::numeric_limits<int>::max());
}

const std::vector<RichTextBox::Line>& RichTextBox::linesThrough(int last) const
{
    const qreal width = document_->textWidth();
    const bool wrapped = width >= 0;
    // A new wrap mode, whichever box set it, moves lines in every paragraph as a new width does.
    const QTextOption::WrapMode mode = document_->defaultTextOption().wrapMode();
    if (width != linesWidth_ || mode != linesMode_ || linesDirty_) {
        lines_.clear();
        linesBlocks_ = 0;
        linesDirty_ = false;
        linesChanged_.clear();
        linesWidth_ = width;
        linesMode_ = mode;
    }
    if (!linesChanged_.empty()) {
        if (linesBlocks_ > 0)
            updateLines(wrapped);
        linesChanged_.clear();
    }
    const int blocks = document_->blockCount();
    last = std::min(last, blocks - 1);
    if (linesBlocks_ > last)
        return lines_;
    // Qt lays a document out lazily from its start; a line is read once its paragraph is laid out.
    if (wrapped) {
        QAbstractTextDocumentLayout* layout = document_->documentLayout();
        if (last == blocks - 1)
            layout->documentSize();
        else
            layout->blockBoundingRect(document_->findBlockByNumber(last));
    }
    for (QTextBlock block = document_->findBlockByNumber(linesBlocks_); linesBlocks_ <= last;
         block = block.next(), ++linesBlocks_)
        appendLines(block, linesBlocks_, wrapped, lines_);
    return lines_;
}

void RichTextBox::updateLines(bool wrapped) const
{
    // After an edit only the lines of the paragraphs it touched are read again; those behind move.
    std::vector<int> paragraphStarts; // Qt position of each block, as the lines knew them
    std::vector<size_t> firstLine; // index of each block's first line
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].paragraphStart) {
            paragraphStarts.push_back(lines_[i].documentStart);
            firstLine.push_back(i);
        }
    }
    firstLine.push_back(lines_.size());
    // Where the paragraphs the lines know end, as the document was; a change behind them is none of
    // theirs.
    const Line& lastKnown = lines_.back();
    const int knownEnd = lastKnown.hasBreak ? lastKnown.documentStart + lastKnown.textLength + 1
                                            : std::numeric_limits<int>::max();
    if (linesChanged_.from >= knownEnd)
        return;
    // A change that reaches past them still ends the paragraphs known in a paragraph of the document.
    const TouchedBlocks t = touchedBlocks(paragraphStarts, *document_, linesChanged_);
    // With nothing behind it to keep, the touched paragraphs are read when they are asked for: a new
    // text is not laid out before it is shown.
    if (t.oldEnd == linesBlocks_ && t.newEnd == document_->blockCount()) {
        lines_.erase(lines_.begin() + std::ptrdiff_t(firstLine[size_t(t.first)]), lines_.end());
        linesBlocks_ = t.first;
        return;
    }
    if (wrapped)
        document_->documentLayout()->blockBoundingRect(document_->findBlockByNumber(t.newEnd - 1));
    std::vector<Line> fresh;
    int number = t.first;
    for (QTextBlock block = document_->findBlockByNumber(t.first); number < t.newEnd;
         block = block.next(), ++number)
        appendLines(block, number, wrapped, fresh);
    const int shift = linesChanged_.newEnd - linesChanged_.oldEnd;
    const int blockShift = t.newEnd - t.oldEnd;
    const size_t from = firstLine[size_t(t.first)];
    const size_t to = firstLine[size_t(t.oldEnd)];
    for (size_t i = to; i < lines_.size(); ++i) {
        lines_[i].documentStart += shift;
        lines_[i].start += shift + blockShift;
        lines_[i].block += blockShift;
    }
    lines_.erase(lines_.begin() + std::ptrdiff_t(from), lines_.begin() + std::ptrdiff_t(to));
    lines_.insert(lines_.begin() + std::ptrdiff_t(from), fresh.begin(), fresh.end());
    linesBlocks_ += blockShift;
}

int RichTextBox::LineCount() const { return int(lines().size()); }

int RichTextBox::LineFromChar(int position) const
{
    // The lines up to the position's paragraph are enough: a view shows the caret's line before the
    // rest of a new text is laid out.
    const BlockMap& map = blockMap();
    const int block = std::max(
        int(std::upper_bound(map.starts.begin(), map.starts.end(), position) - map.starts.begin()) - 1, 0);
    const std::vector<Line>& all = linesThrough(block);
    const auto it = std::upper_bound(
        all.begin(), all.end(), position, [](int p, const Line& line) { return p < line.start; });
    return std::max(int(it - all.begin()) - 1, 0);
}

int RichTextBox::LineIndex(int line) const
{
    // Every paragraph has a line: line n lies in the first n + 1 paragraphs.
    const std::vector<Line>& all = linesThrough(line);
    return line >= 0 && line < int(all.size()) ? all[size_t(line)].start : -1;
}

QString RichTextBox::lineText(const Line& line) const
{
    const QTextBlock block = document_->findBlockByNumber(line.block);
    QString text = block.text().mid(line.documentStart - block.position(), line.textLength);
    if (line.hasBreak)
        text += QLatin1String("\r\n");
    return text;
}

QString RichTextBox::LineText(int line) const
{
    const std::vector<Line>& all = linesThrough(line);
    return line >= 0 && line < int(all.size()) ? lineText(all[size_t(line)]) : QString();
}

void RichTextBox::setViewportTop(qreal y) { viewportTop_ = y; }

int RichTextBox::FirstVisibleLine() const
{
    if (viewportTop_ <= 0)
        return 0;
    const std::vector<Line>& all = lines();
    QAbstractTextDocumentLayout* layout = document_->documentLayout();
    layout->documentSize();
    for (size_t i = 0; i < all.size(); ++i) {
        const QTextBlock block = document_->findBlockByNumber(all[i].block);
        const QTextLayout* textLayout = block.layout();
        qreal bottom = layout->blockBoundingRect(block).bottom();
        if (textLayout && textLayout->lineCount() > 0) {
            const QTextLine line = textLayout->lineForTextPosition(all[i].documentStart - block.position());
            if (line.isValid())
                bottom = layout->blockBoundingRect(block).top() + line.rect().bottom();
        }
        if (bottom > viewportTop_)
            return int(i);
    }
    return int(all.size()) - 1;
}

QMimeData* RichTextBox::mimeDataForSelection() const
{
    auto* data = new QMimeData;
    const QByteArray rtf = SelRTF().toLatin1();
    data->setData(kRtfMime, rtf);
    data->setData(kRtfMimeAlias, rtf);
    data->setText(SelText());
    return data;
}

bool RichTextBox::canInsertMimeData(const QMimeData* data)
{
    return data && (data->hasFormat(kRtfMime) || data->hasFormat(kRtfMimeAlias) || data->hasText());
}

void RichTextBox::insertMimeData(const QMimeData* data)
{
    if (!data)
        return;
    for (const QString& type : { kRtfMime, kRtfMimeAlias }) {
        if (!data->hasFormat(type))
            continue;
        const std::optional<RichContent> content
            = ReadRtf(QString::fromLatin1(data->data(type)), document_->defaultFont());
        if (content) {
            if (acceptsInsertion(*content))
                insertContent(*content);
            return;
        }
    }
    if (data->hasText() && acceptsInsertion(plainContent(data->text())))
        setSelText(data->text());
}

// The paragraphs setSelText makes of `text`.
RichContent RichTextBox::plainContent(const QString& text) const
{
    const RunFormat format = insertionFormat();
    const ParagraphFormat paragraph
        = ToParagraphFormat(document_->findBlock(cursor_.selectionStart()).blockFormat());
    RichContent content;
    for (const QString& part : paragraphTexts(text)) {
        content.push_back({ paragraph, {}, format });
        if (!part.isEmpty())
            content.back().runs.push_back({ format, part });
    }
    return content;
}

std::optional<Unshowable> RichTextBox::whyUnshowableInsertion(const RichContent& content) const
{
    return whyUnshowable(
        ReplacedContent(*document_, cursor_.selectionStart(), cursor_.selectionEnd(), content));
}

bool RichTextBox::acceptsInsertion(const RichContent& content)
{
    const std::optional<Unshowable> why = whyUnshowableInsertion(content);
    if (!why)
        return true;
    emit insertionRefused(*why);
    return false;
}

bool RichTextBox::acceptsTyping(const QString& text)
{
    // A few typed characters add a few lines at the most: only a text that could then stand near the
    // tallest a view shows is measured whole, as a paste is.
    const ParagraphFormat paragraph
        = ToParagraphFormat(document_->findBlock(cursor_.selectionStart()).blockFormat());
    const double height = document_->documentLayout()->documentSize().height();
    if (height + TypedHeightBound(text.size(), insertionFormat(), paragraph) <= kTypingMeasuredFrom)
        return true;
    const std::optional<Unshowable> why = whyUnshowableInsertion(plainContent(text));
    if (!why)
        return true;
    emit typingRefused(*why);
    return false;
}

void RichTextBox::Copy() const
{
    if (cursor_.hasSelection())
        QGuiApplication::clipboard()->setMimeData(mimeDataForSelection());
}

void RichTextBox::Cut()
{
    if (!cursor_.hasSelection())
        return;
    Copy();
    setSelText(QString());
}

void RichTextBox::Paste() { insertMimeData(QGuiApplication::clipboard()->mimeData()); }

RichTextSnapshot RichTextBox::snapshot() const
{
    RichTextSnapshot snap;
    const int size = TextLength();
    snap.text.reserve(size);
    snap.fonts.reserve(size_t(size));
    snap.colors.reserve(size_t(size));
    QHash<QString, std::uint16_t> fontIndex;
    const QFont defaultFont = document_->defaultFont();
    auto add = [&](const RunFormat& f, int count) {
        auto it = fontIndex.find(f.font);
        if (it == fontIndex.end()) {
            it = fontIndex.insert(f.font, std::uint16_t(snap.fontNames.size()));
            snap.fontNames.push_back(f.font);
        }
        const SnapshotColor color = f.color.value_or(0); // 0: the automatic colour
        snap.fonts.insert(snap.fonts.end(), size_t(count), *it);
        snap.colors.insert(snap.colors.end(), size_t(count), color);
    };
    for (QTextBlock block = document_->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            snap.text += fragment.text();
            add(ToRunFormat(fragment.charFormat(), defaultFont), fragment.length());
        }
        if (block.next().isValid()) {
            snap.text += QLatin1String("\r\n");
            add(ToRunFormat(MarkFormat(block), defaultFont), 2);
        }
    }
    snap.lines = snapshotLines();
    return snap;
}

std::vector<RichTextSnapshot::Line> RichTextBox::snapshotLines(int first, int count) const
{
    const std::vector<Line>& all = count < 0 ? lines() : linesThrough(std::max(first + count - 1, 0));
    const int end = count < 0 ? std::numeric_limits<int>::max() : first + count;
    const auto from = std::lower_bound(
        all.begin(), all.end(), first, [](const Line& line, int block) { return line.block < block; });
    std::vector<RichTextSnapshot::Line> out;
    // The font of each format, read once.
    const QFont defaultFont = document_->defaultFont();
    std::vector<std::optional<QString>> fonts;
    auto fontOf = [&](int index) -> const QString& {
        if (size_t(index) >= fonts.size())
            fonts.resize(size_t(index) + 1);
        std::optional<QString>& font = fonts[size_t(index)];
        if (!font)
            font = ToRunFormat(document_->allFormats().value(index).toCharFormat(), defaultFont).font;
        return *font;
    };
    // The font of the character at a Qt position inside `block`, searched from `it` onwards (lines come
    // in text order).
    auto fontAt = [&](QTextBlock::iterator& it, int position) -> QString {
        for (; !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (position < fragment.position() + fragment.length())
                return fontOf(fragment.charFormatIndex());
        }
        return {};
    };
    QTextBlock block;
    int blockNumber = -1;
    QString blockText;
    QTextBlock::iterator fragments;
    for (auto it = from; it != all.end() && it->block < end; ++it) {
        const Line& line = *it;
        if (blockNumber != line.block) {
            block = blockNumber < 0 ? document_->findBlockByNumber(line.block) : block.next();
            blockNumber = line.block;
            blockText = block.text();
            fragments = block.begin();
        }
        QString text = blockText.mid(line.documentStart - block.position(), line.textLength);
        if (line.hasBreak)
            text += QLatin1String("\r\n");
        // What an empty selection at the line's start reports: the character before it inside a
        // paragraph, else the one after, else the mark of the paragraph break, else (an empty last
        // paragraph) the last mark.
        QString startFont;
        if (!line.paragraphStart)
            startFont = fontAt(fragments, line.documentStart - 1);
        else if (line.textLength > 0)
            startFont = fontAt(fragments, line.documentStart);
        else if (line.hasBreak)
            startFont = fontOf(block.next().charFormatIndex());
        else
            startFont = ToRunFormat(MarkFormat(document_->lastBlock()), defaultFont).font;
        out.push_back({ line.start, std::move(text), std::move(startFont) });
    }
    return out;
}

} // namespace tunvale::platform
