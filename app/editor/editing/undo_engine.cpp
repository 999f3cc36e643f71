#include "app/editor/editing/undo_engine.h"

#include "app/editor/editing/notation_keys.h"
#include "app/editor/editing/stored_color.h"
#include "app/notation/notation_chars.h"
#include "app/notation/play_order_key.h"
#include "platform/desktop/prompts.h"
#include "platform/richtext/rich_text_format.h"
#include "platform/richtext/rtf_writer.h"

#include <QAbstractTextDocumentLayout>
#include <QScopedValueRollback>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace tunvale::editor {

using notation::DecodeNoteGlyph;
using notation::GlyphDescriptor;

namespace {

constexpr int kDebounceMs = 125;

bool isFlushKey(int k) { return k == keys::Enter || (k >= 112 && k <= 123) || (k >= 33 && k <= 44); }

} // namespace

qsizetype MatchingChars(const QString& oldText, const QString& newText, bool fromRight)
{
    if (!fromRight)
        return std::mismatch(oldText.begin(), oldText.end(), newText.begin(), newText.end()).first
            - oldText.begin();
    return std::mismatch(oldText.rbegin(), oldText.rend(), newText.rbegin(), newText.rend()).first
        - oldText.rbegin();
}

UndoEngine::UndoEngine(platform::RichTextBox& editor, UndoHost host, QObject* parent)
    : QObject(parent)
    , editor_(editor)
    , mirror_(editor.document())
    , host_(std::move(host))
{
    timer_.setSingleShot(true);
    timer_.setInterval(kDebounceMs);
    connect(&timer_, &QTimer::timeout, this, &UndoEngine::onPause);
    connect(&editor_, &platform::RichTextBox::Change, this, &UndoEngine::onChange);
    connect(&editor_, &platform::RichTextBox::SelChange, this, &UndoEngine::onSelChange);
    connect(&editor_, &platform::RichTextBox::MouseDown, this, [this] { FlushSnapshot(); });
    // Only a document with a layout says where it changed; a view's has one, a hidden editor gets one.
    QTextDocument* document = editor_.document();
    document->documentLayout();
    // A relayout of the margins changes paragraph formats alone.
    connect(document, &QTextDocument::contentsChange, this, [this](int from, int removed, int added) {
        scanChanged_.add(from, removed, added);
        if (layoutBusy() && removed == added)
            relaid_ = true;
        else
            changed_.add(from, removed, added);
    });
    Reset();
}

bool UndoEngine::canUndo() const { return undo_.size() > 1 && tracking_; }

bool UndoEngine::canRedo() const { return !redo_.empty() && tracking_; }

void UndoEngine::setIgnoreChange(bool ignore)
{
    if (!ignore && !tracking_)
        TakeUndoSnapShot();
    tracking_ = !ignore;
    emit StateChanged();
}

UndoEngine::Selection UndoEngine::currentSelection() const
{
    return { editor_.SelStart(), editor_.SelLength(), scan_.info.XjxSelStart, scan_.info.XjxSelLength };
}

UndoEngine::Margins UndoEngine::headerMargins() const
{
    return host_.header ? Margins { host_.header->LeftSpace, host_.header->RightSpace } : Margins {};
}

void UndoEngine::applyMargins(int left, int right)
{
    if (host_.header) {
        host_.header->LeftSpace = std::int16_t(left);
        host_.header->RightSpace = std::int16_t(right);
    }
    if (host_.setRulerSpaces)
        host_.setRulerSpaces(left, right);
}

const XjxInfo& UndoEngine::GetXjxInfo()
{
    if (layoutBusy())
        return scan_.info;
    const int start = editor_.SelStart();
    const int length = editor_.SelLength();
    const qreal width = editor_.document()->textWidth();
    // An edit can change the wrap mode as well as the text: every paragraph then wraps anew.
    const QTextOption::WrapMode mode = editor_.document()->defaultTextOption().wrapMode();
    const bool laidOutAnew = width != scanWidth_ || mode != scanMode_;
    if (scanDirty_ || laidOutAnew) {
        std::vector<LineInfo> before;
        // After an edit only the lines of the paragraphs it touched are read again.
        if (laidOutAnew || scan_.LineTable.empty() || rescanAll_) {
            before = std::move(scan_.LineTable);
            scan_.LineTable = LineEntries(editor_.snapshotLines(), 0);
            markedLine_ = -1;
        } else {
            rescanLines();
        }
        markFirstBar();
        scan_ = ScanBars(std::move(scan_.LineTable), start, length);
        // Unchanged text laid out anew (a score opened before its window had a width, new margins, a
        // long stretch typed or removed elsewhere) can wrap into lines of another kind and so count
        // other bars: no bar was added or deleted there, so the last step's bars are read anew and the
        // next step infers only its own change from them.
        if (tracking_ && changed_.empty()) {
            lastXjxStr_ = scan_.info.XjxStr;
            lastXjCount_ = scan_.info.XJInteger;
        } else if (tracking_ && laidOutAnew && !before.empty()) {
            rebaseLastBars(before);
        }
        scanChanged_.clear();
        rescanAll_ = false;
        scanDirty_ = false;
        scanWidth_ = width;
        scanMode_ = mode;
    } else {
        scan_.info = BarsOfSelection(scan_, start, length);
    }
    return scan_.info;
}

void UndoEngine::rebaseLastBars(const std::vector<LineInfo>& before)
{
    const QTextDocument& document = *editor_.document();
    const int end = document.characterCount() - 1;
    const int first = document.findBlock(std::clamp(changed_.from, 0, end)).blockNumber();
    const int lastNew = document.findBlock(std::clamp(changed_.newEnd, 0, end)).blockNumber();
    const std::optional<QString> bars
        = BarsLaidOutAnew(lastXjxStr_, before, scan_.LineTable, first, document.blockCount() - 1 - lastNew);
    if (!bars)
        return;
    lastXjxStr_ = *bars;
    lastXjCount_ = int(bars->size());
}

void UndoEngine::rescanLines()
{
    std::vector<LineInfo>& table = scan_.LineTable;
    if (markedLine_ >= 0)
        table[size_t(markedLine_)].LineText[0] = markedChar_;
    markedLine_ = -1;
    // The first line of each paragraph, and one past the last line.
    std::vector<size_t> paragraphLine { 0 };
    for (size_t i = 0; i + 1 < table.size(); ++i) {
        if (table[i].LineText.endsWith(QLatin1String("\r\n")))
            paragraphLine.push_back(i + 1);
    }
    const int oldParagraphs = int(paragraphLine.size());
    paragraphLine.push_back(table.size());
    const QTextDocument& document = *editor_.document();
    const int end = document.characterCount() - 1;
    // A change the document did not report (the last paragraph's mark) is the last paragraph's.
    const platform::ChangedSpan span
        = scanChanged_.empty() ? platform::ChangedSpan { end, end, end } : scanChanged_;
    const int first = document.findBlock(std::clamp(span.from, 0, end)).blockNumber();
    const int lastNew = document.findBlock(std::clamp(span.newEnd, 0, end)).blockNumber();
    const int lastOld = lastNew + oldParagraphs - document.blockCount();
    const size_t from = paragraphLine[size_t(first)];
    const size_t to = paragraphLine[size_t(lastOld + 1)];
    std::vector<LineInfo> fresh
        = LineEntries(editor_.snapshotLines(first, lastNew - first + 1), table[from].LineStart);
    int shift = 0;
    for (const LineInfo& line : fresh)
        shift += line.LineLen;
    for (size_t i = from; i < to; ++i)
        shift -= table[i].LineLen;
    for (size_t i = to; i < table.size(); ++i)
        table[i].LineStart += shift;
    table.erase(table.begin() + std::ptrdiff_t(from), table.begin() + std::ptrdiff_t(to));
    table.insert(table.begin() + std::ptrdiff_t(from), std::make_move_iterator(fresh.begin()),
        std::make_move_iterator(fresh.end()));
}

void UndoEngine::markFirstBar()
{
    markedLine_ = FirstBarLine(scan_.LineTable);
    if (markedLine_ < 0)
        return;
    QString& text = scan_.LineTable[size_t(markedLine_)].LineText;
    markedChar_ = text[0];
    text[0] = QChar(char16_t(notation::PlainBarLine::Plain));
}

bool UndoEngine::CaretOnNotationLine()
{
    const int line = editor_.LineFromChar(editor_.SelStart());
    mirror_.setSelStart(editor_.LineIndex(line));
    return notation::IsNotationLine(editor_.LineText(line), mirror_.SelFontName());
}

bool UndoEngine::CaretLineInTable() const
{
    return IsJpLine(scan_.LineTable, editor_.LineFromChar(editor_.SelStart()));
}

void UndoEngine::setOnXj(int n)
{
    if (n < 0 || n >= int(scan_.BarStarts.size()))
        return;
    editor_.setSelStart(scan_.BarStarts[size_t(n)]);
}

void UndoEngine::Get_SelJPFormBegin_and_SelJPToEnd()
{
    // While a step is pending, its before-state is the one taken at its first edit.
    if (SnapshotPending())
        return;
    const XjxInfo& r = GetXjxInfo();
    lastSel_.xjStart = r.XjxSelStart;
    lastSel_.xjLength = r.XjxSelLength;
    lastXjCount_ = r.XJInteger;
}

int UndoEngine::JPSelection()
{
    const int s = editor_.SelStart();
    const int e = s + editor_.SelLength();
    auto rowCol = [this](int position) {
        const int line = editor_.LineFromChar(position);
        return std::pair { line + 1, position - editor_.LineIndex(line) + 1 };
    };
    const auto [l1, c1] = rowCol(s);
    const auto [l2, c2] = rowCol(e);
    jpSelPieces_.clear();
    if (l1 == l2) {
        jpSelPieces_.push_back({ s, e - s, IsJpLine(scan_.LineTable, l1 - 1) });
    } else {
        int start = s;
        for (int i = l1; i <= l2; ++i) {
            const int whole = int(editor_.LineText(i - 1).size());
            const int length = i == l1 ? whole - c1 - 1 : i == l2 ? c2 + 1 : whole;
            jpSelPieces_.push_back({ start, length, IsJpLine(scan_.LineTable, i - 1) });
            start += length;
        }
    }
    return int(jpSelPieces_.size());
}

void UndoEngine::aMoveBJBegin() { marginsBefore_ = headerMargins(); }

void UndoEngine::aMoveBJOver() { marginsAfter_ = headerMargins(); }

void UndoEngine::Reset()
{
    timer_.stop();
    undo_.clear();
    redo_.clear();
    lastStep_ = platform::AsReadBack(editor_.paragraphs(0, editor_.document()->blockCount()));
    changed_.clear();
    relaid_ = false;
    scanDirty_ = true;
    rescanAll_ = true;
    const XjxInfo& r = GetXjxInfo();
    lastXjxStr_ = r.XjxStr;
    lastXjCount_ = r.XJInteger;
    marginsBefore_ = marginsAfter_ = headerMargins();
    onSelChange();
    tracking_ = true;
    emit StateChanged();
}

void UndoEngine::onChange()
{
    scanDirty_ = true;
    if (layoutBusy())
        return;
    if (tracking_)
        timer_.start();
    else
        timer_.stop();
}

void UndoEngine::onTimer()
{
    timer_.stop();
    if (tracking_)
        TakeUndoSnapShot();
}

void UndoEngine::onPause()
{
    // An edit recorded as one step may wait for the user in the middle (a question): its step is taken
    // when it ends, not while it waits.
    if (recordingStep_) {
        timer_.start();
        return;
    }
    onTimer();
}

void UndoEngine::FlushSnapshot()
{
    if (timer_.isActive())
        onTimer();
}

void UndoEngine::RecordStep(const std::function<void()>& edit)
{
    FlushSnapshot();
    {
        const QScopedValueRollback recording(recordingStep_, true);
        edit();
    }
    FlushSnapshot();
}

bool UndoEngine::ReplaceWholeText(const QString& rtf)
{
    bool replaced = false;
    RecordStep([&] {
        const int start = editor_.SelStart();
        const int length = editor_.SelLength();
        replaced = editor_.setTextRTF(rtf);
        if (replaced)
            editor_.select(start, length);
    });
    return replaced;
}

UndoEngine::Checkpoint UndoEngine::checkpoint()
{
    FlushSnapshot();
    return { getUndoCount(), redo_, editor_.SelStart(), editor_.SelLength() };
}

void UndoEngine::rollBack(const Checkpoint& mark)
{
    FlushSnapshot();
    undo(getUndoCount() - mark.steps);
    redo_ = mark.redo;
    editor_.select(mark.selStart, mark.selLength);
    emit StateChanged();
}

void UndoEngine::onSelChange()
{
    if ((host_.notationCmdBusy && *host_.notationCmdBusy) || ownSelection_)
        return;
    if (SnapshotPending()) {
        moved_ = true;
        return;
    }
    lastSel_ = curSel_;
    GetXjxInfo();
    curSel_ = currentSelection();
    announceCaretBar();
    moved_ = false;
}

void UndoEngine::announceCaretBar()
{
    if (CaretLineInTable() && scan_.info.OnXj != announcedXj_) {
        announcedXj_ = scan_.info.OnXj;
        emit OnXjChanged(announcedXj_);
    }
}

void UndoEngine::pushBase()
{
    UndoStep base;
    base.SelIndent_BeforeChange = base.SelIndent_AfterChange = marginsBefore_.left;
    base.SelRightIndent_BeforeChange = base.SelRightIndent_AfterChange = marginsBefore_.right;
    base.SelStart_BeforeChange = base.SelStart_AfterChange = lastSel_.start;
    base.SelLength_BeforeChange = base.SelLength_AfterChange = lastSel_.length;
    base.TextXjxBlock_BeforeChange = base.TextXjxBlock_AfterChange = lastXjxStr_;
    base.MatchingXjxCharsFromLeft = lastXjxStr_.size();
    base.SelXjxStart_BeforeChange = base.SelXjxStart_AfterChange = lastSel_.xjStart;
    base.SelXjxLength_BeforeChange = base.SelXjxLength_AfterChange = lastSel_.xjLength;
    base.XjLong_BeforeChange = base.XjLong_AfterChange = lastXjCount_;
    undo_.push_back(std::move(base));
}

ParagraphChange UndoEngine::changeSinceLastStep(bool withRelayout) const
{
    const QTextDocument& document = *editor_.document();
    const int blocks = document.blockCount();
    int first = -1;
    int lastNew = -1;
    if (!changed_.empty()) {
        const int end = document.characterCount() - 1;
        first = document.findBlock(std::clamp(changed_.from, 0, end)).blockNumber();
        lastNew = document.findBlock(std::clamp(changed_.newEnd, 0, end)).blockNumber();
    }
    // The last paragraph's mark is no text: the document never says it changed.
    if (lastNew < blocks - 1) {
        const platform::RichContent last = platform::AsReadBack(editor_.paragraphs(blocks - 1, 1));
        if (!(last.front().mark == lastStep_.back().mark)) {
            first = first < 0 ? blocks - 1 : first;
            lastNew = blocks - 1;
        }
    }
    ParagraphChange change;
    if (withRelayout && relaid_)
        change.formats = relaidFormats(first, lastNew);
    if (first < 0)
        return change;
    // Behind what changed, the paragraphs are the same ones in both.
    const int lastOld = lastNew + int(lastStep_.size()) - blocks;
    const int oldCount = lastOld - first + 1;
    const int newCount = lastNew - first + 1;
    const platform::RichContent now = platform::AsReadBack(editor_.paragraphs(first, newCount));
    auto sameText = [](const platform::RichParagraph& a, const platform::RichParagraph& b) {
        return a.runs == b.runs && a.mark == b.mark;
    };
    auto keepFormat
        = [&](const platform::RichParagraph& before, const platform::RichParagraph& after, int at) {
              if (!(before.format == after.format))
                  change.formats.push_back({ at, before.format, after.format });
          };
    // Paragraphs that kept their text at either end are no part of the change; their formats may be.
    int front = 0;
    while (front < oldCount && front < newCount
        && sameText(lastStep_[size_t(first + front)], now[size_t(front)])) {
        keepFormat(lastStep_[size_t(first + front)], now[size_t(front)], first + front);
        ++front;
    }
    int back = 0;
    while (back < oldCount - front && back < newCount - front
        && sameText(lastStep_[size_t(first + oldCount - 1 - back)], now[size_t(newCount - 1 - back)])) {
        keepFormat(lastStep_[size_t(first + oldCount - 1 - back)], now[size_t(newCount - 1 - back)],
            first + newCount - 1 - back);
        ++back;
    }
    change.first = first + front;
    change.before.assign(lastStep_.begin() + first + front, lastStep_.begin() + first + oldCount - back);
    change.after.assign(now.begin() + front, now.begin() + newCount - back);
    return change;
}

std::vector<ParagraphChange::Format> UndoEngine::relaidFormats(int first, int last) const
{
    std::vector<ParagraphChange::Format> formats;
    const QTextDocument& document = *editor_.document();
    const int shift = int(lastStep_.size()) - document.blockCount();
    int paragraph = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next(), ++paragraph) {
        if (first >= 0 && paragraph >= first && paragraph <= last)
            continue;
        const platform::ParagraphFormat& before
            = lastStep_[size_t(first >= 0 && paragraph > last ? paragraph + shift : paragraph)].format;
        const platform::ParagraphFormat now
            = platform::Clamped(platform::ToParagraphFormat(block.blockFormat()));
        if (!(now == before))
            formats.push_back({ paragraph, before, now });
    }
    return formats;
}

namespace {

// One side of a change in a plain copy of the text.
void applyTo(platform::RichContent& text, const ParagraphChange& change, bool undoing)
{
    const platform::RichContent& removed = undoing ? change.after : change.before;
    const platform::RichContent& added = undoing ? change.before : change.after;
    auto setFormats = [&] {
        for (const ParagraphChange::Format& f : change.formats)
            text[size_t(f.paragraph)].format = undoing ? f.before : f.after;
    };
    if (undoing)
        setFormats();
    const auto at = text.begin() + change.first;
    text.insert(text.erase(at, at + qsizetype(removed.size())), added.begin(), added.end());
    if (!undoing)
        setFormats();
}

} // namespace

void UndoEngine::apply(const ParagraphChange& change, bool undoing)
{
    const platform::RichContent& removed = undoing ? change.after : change.before;
    const platform::RichContent& added = undoing ? change.before : change.after;
    auto setFormats = [&] {
        for (const ParagraphChange::Format& f : change.formats) {
            // Indents alone are left to the margins, which the window lays on every paragraph after
            // an undo or a redo: a margin step or a relayout then costs no layout of the whole score.
            const bool indentsAlone = f.before.lineSpacing == f.after.lineSpacing;
            if (indentsAlone && host_.JzRTB) {
                relaid_ = true;
                continue;
            }
            editor_.setParagraphFormat(f.paragraph, undoing ? f.before : f.after);
        }
    };
    // One edit: the view lays out what changed once.
    QTextCursor edit(editor_.document());
    edit.beginEditBlock();
    if (undoing)
        setFormats();
    if (!removed.empty() || !added.empty())
        editor_.replaceParagraphs(change.first, int(removed.size()), added);
    if (!undoing)
        setFormats();
    edit.endEditBlock();
}

void UndoEngine::TakeUndoSnapShot()
{
    const XjxInfo r = GetXjxInfo();
    if (undo_.empty())
        pushBase();
    ParagraphChange change = changeSinceLastStep(true);
    if (!drumFlag_ && change.empty()) {
        changed_.clear();
        relaid_ = false;
        return;
    }
    UndoStep e;
    e.MatchingXjxCharsFromLeft = MatchingChars(lastXjxStr_, r.XjxStr, false);
    e.MatchingXjxCharsFromRight = MatchingChars(
        lastXjxStr_.mid(e.MatchingXjxCharsFromLeft), r.XjxStr.mid(e.MatchingXjxCharsFromLeft), true);
    applyTo(lastStep_, change, false);
    changed_.clear();
    relaid_ = false;
    e.Change = std::move(change);
    e.TextXjxBlock_BeforeChange = lastXjxStr_;
    e.TextXjxBlock_AfterChange = r.XjxStr;
    e.XjLong_BeforeChange = lastXjCount_;
    e.XjLong_AfterChange = r.XJInteger;
    e.SelStart_BeforeChange = lastSel_.start;
    e.SelLength_BeforeChange = lastSel_.length;
    e.SelXjxStart_BeforeChange = lastSel_.xjStart;
    e.SelXjxLength_BeforeChange = lastSel_.xjLength;
    e.SelStart_AfterChange = editor_.SelStart();
    e.SelLength_AfterChange = editor_.SelLength();
    e.SelXjxStart_AfterChange = r.XjxSelStart;
    e.SelXjxLength_AfterChange = r.XjxSelLength;
    const Margins after = headerMargins();
    e.SelIndent_BeforeChange = marginsBefore_.left;
    e.SelRightIndent_BeforeChange = marginsBefore_.right;
    e.SelIndent_AfterChange = after.left;
    e.SelRightIndent_AfterChange = after.right;
    e.DrumStep = drumFlag_;
    const Selection before = lastSel_;
    undo_.push_back(std::move(e));

    inferBarChange(before.xjStart, r.XjxSelStart, before.xjLength, lastXjCount_, r.XJInteger);
    if (drumFlag_)
        emit XJDrumChanged(r.XjxSelStart, 0);

    redo_.clear();
    lastXjxStr_ = r.XjxStr;
    lastXjCount_ = r.XJInteger;
    lastSel_ = curSel_ = { editor_.SelStart(), editor_.SelLength(), r.XjxSelStart, r.XjxSelLength };
    marginsBefore_ = after;
    emit StateChanged();
    // The edit may have moved the caret into another bar while the step was pending.
    announceCaretBar();
}

void UndoEngine::inferBarChange(int s0, int s1, int n0, int c0, int c1)
{
    if (c0 == c1)
        return;
    int& p = inferPosition_;
    int& q = inferCount_;
    int delAt = 0, delN = 0, addAt = 0, addN = 0;
    if (moved_) {
        if (p == 0)
            p = s0;
        if (q == 0)
            q = c0;
        if (s0 == p) {
            delAt = addAt = p;
            delN = q - c1;
        } else if (p < s0) {
            delAt = addAt = p;
            addN = c1 - q;
        } else {
            delAt = addAt = s0;
            delN = q - c1;
        }
        p = s1;
        q = c1;
    } else if (n0 > 0) {
        if (s1 == s0 || s0 < s1) {
            delAt = addAt = s0;
            delN = n0;
            addN = s1 - s0;
            p = s0;
            q = c1;
        }
    } else {
        if (s1 == s0) {
            delAt = addAt = s0;
            delN = c0 >= c1 ? 1 : 0;
            addN = c0 < c1 ? 1 : 0;
        } else if (s1 < s0) {
            delAt = addAt = s1;
            delN = s0 - s1;
        } else {
            delAt = addAt = s0;
            addN = s1 - s0;
        }
        p = delAt;
        q = c1;
    }
    emit XJChanged(delAt, delN, addAt, addN, s1, 0);
}

void UndoEngine::NullShot()
{
    FlushSnapshot();
    drumFlag_ = true;
    onTimer();
    drumFlag_ = false;
}

void UndoEngine::undo(int n)
{
    FlushSnapshot();
    if (undo_.size() <= 1 || n <= 0)
        return;
    const int onXj = applySteps(true, std::min(n, int(undo_.size()) - 1));
    announcedXj_ = onXj;
    emit OnXjChanged(onXj);
    if (host_.JzRTB)
        host_.JzRTB();
}

void UndoEngine::Redo(int n)
{
    FlushSnapshot();
    if (redo_.empty() || n <= 0)
        return;
    applySteps(false, std::min(n, int(redo_.size())));
    if (host_.JzRTB)
        host_.JzRTB();
}

int UndoEngine::applySteps(bool undoing, int n)
{
    tracking_ = false;
    timer_.stop();
    std::vector<UndoStep>& from = undoing ? undo_ : redo_;
    std::vector<UndoStep>& to = undoing ? redo_ : undo_;
    const int aType = undoing ? -1 : 1;
    // A drum step is reported with the caret's bar after it on undo, before the redo on redo.
    int onXj = GetXjxInfo().OnXj;
    // Where the document moved away from the text of the last step untracked, it goes back with the
    // first step shown. The indents of a relayout stay: the margins go on again after every undo and
    // redo, and the next step still records them.
    std::optional<ParagraphChange> untracked = changeSinceLastStep(false);
    // Steps that changed no text (drum steps), with nothing untracked to put back, leave the caret, the
    // selection and the view as they are.
    const bool textless = untracked->empty()
        && std::all_of(from.end() - n, from.end(), [](const UndoStep& step) { return step.Change.empty(); });
    // The steps that the text of the last step has and the document not yet.
    size_t shown = to.size();
    for (int i = 0; i < n; ++i) {
        to.push_back(std::move(from.back()));
        from.pop_back();
        const UndoStep& e = to.back();
        applyTo(lastStep_, e.Change, undoing);
        const bool barsChanged = e.XjLong_BeforeChange != e.XjLong_AfterChange;
        if (undoing)
            applyMargins(e.SelIndent_BeforeChange, e.SelRightIndent_BeforeChange);
        else
            applyMargins(e.SelIndent_AfterChange, e.SelRightIndent_AfterChange);
        // The editor shows a step when an event handler may read it, and at the end. Its caret moves
        // as a whole text read back moves it, so the selection the engine keeps is the same: to the
        // start, then to the step's selection.
        if (!textless && (e.DrumStep || barsChanged || i + 1 == n)) {
            editor_.resetCursor();
            ownSelection_ = true;
            if (untracked) {
                apply(*untracked, true);
                untracked.reset();
            }
            for (; shown < to.size(); ++shown)
                apply(to[shown].Change, undoing);
            ownSelection_ = false;
            changed_.clear();
            if (undoing)
                editor_.select(e.SelStart_BeforeChange, e.SelLength_BeforeChange);
            else
                editor_.select(e.SelStart_AfterChange, e.SelLength_AfterChange);
            const int after = GetXjxInfo().OnXj;
            if (undoing)
                onXj = after;
        }
        if (e.DrumStep)
            emit XJDrumChanged(onXj, aType);
        else if (barsChanged)
            emit XJChanged(0, 0, 0, 0, 0, aType);
        lastXjxStr_ = undoing ? e.TextXjxBlock_BeforeChange : e.TextXjxBlock_AfterChange;
        lastXjCount_ = undoing ? e.XjLong_BeforeChange : e.XjLong_AfterChange;
    }
    tracking_ = true;
    emit StateChanged();
    return onXj;
}

void UndoEngine::JpColor(const notation::ColorScheme& MyColor, bool IsChangJp)
{
    const bool saved = host_.header ? host_.header->ScoreSaved : true;
    RecordStep([&] {
        GetXjxInfo();
        const std::vector<LineInfo> table = scan_.LineTable;
        const int start = editor_.SelStart();
        const int length = editor_.SelLength();
        ownSelection_ = true;
        const QColor notationColor = StoredColor(MyColor.JpLineColor);
        const QColor lyricColor = StoredColor(MyColor.LyricLineColor);
        for (const LineInfo& line : table) {
            if (line.IsJpLine != IsChangJp)
                continue;
            editor_.select(line.LineStart, line.LineLen);
            editor_.setSelColor(IsChangJp ? notationColor : lyricColor);
        }
        editor_.select(start, length);
        ownSelection_ = false;
    });
    if (host_.header)
        host_.header->ScoreSaved = saved;
}

void UndoEngine::KeyDown(int& KeyCode, int Shift)
{
    if (KeyCode == keys::Z && Shift == 2) {
        undo(1);
        KeyCode = 0;
        return;
    }
    if (KeyCode == keys::Y && Shift == 2) {
        Redo(1);
        KeyCode = 0;
        return;
    }
    if (isFlushKey(KeyCode)) {
        FlushSnapshot();
        return;
    }
    if (KeyCode == 0 || !CaretOnNotationLine())
        return;
    if (KeyCode != keys::InputMethod)
        Get_SelJPFormBegin_and_SelJPToEnd();
    NotationKeyInput(KeyCode, Shift);
}

void UndoEngine::NotationKeyInput(int& KeyCode, int Shift)
{
    const int start = editor_.SelStart();
    GlyphDescriptor before;
    if (start > 0) {
        mirror_.select(start - 1, 1);
        before = DecodeNoteGlyph(mirror_.SelText().front().unicode(), true);
    }
    const NotationKey action = NotationKeyAction(KeyCode, Shift, before, editor_.SelLength() > 0);
    if (action.insert && !editor_.acceptsTyping(QString(*action.insert))) {
        KeyCode = 0;
        return;
    }
    if (action.font)
        editor_.setSelFontName(*action.font);
    if (action.insert)
        editor_.setSelText(QString(*action.insert));
    if (action.inputMethod)
        platform::Prompts::current().information(kInputMethodMessage);
    if (KeyCode == keys::Backspace || KeyCode == keys::Delete)
        extendOverSymbolRun(KeyCode);
    if (action.swallow)
        KeyCode = 0;
}

void UndoEngine::extendOverSymbolRun(int KeyCode)
{
    const int start = editor_.SelStart();
    const int end = editor_.TextLength();
    int count = 0;
    if (KeyCode == keys::Backspace) {
        if (start <= 1)
            return;
        for (int p = start - 1; p > 0; --p) {
            mirror_.setSelStart(p);
            if (mirror_.SelFontName() != notation::SymbolFontFamily)
                break;
            ++count;
        }
        if (count > 0)
            editor_.select(start - count - 1, count + 1);
    } else {
        for (int p = start + 1; p <= end; ++p) {
            mirror_.setSelStart(p);
            if (mirror_.SelFontName() != notation::SymbolFontFamily)
                break;
            ++count;
        }
        if (count > 0)
            editor_.setSelLength(count + 1);
    }
}

void UndoEngine::KeyUp(int& KeyCode, int)
{
    if ((KeyCode != keys::Left && KeyCode != keys::Right) || editor_.SelLength() > 0
        || !CaretOnNotationLine())
        return;
    const int step = KeyCode == keys::Right ? 1 : -1;
    for (int p = editor_.SelStart(); p + step >= 0 && p + step <= editor_.TextLength(); p += step) {
        if (editor_.SelFontName() != notation::SymbolFontFamily)
            break;
        editor_.setSelStart(p + step);
    }
}

} // namespace tunvale::editor
