#include "tests/editing/whole_snapshot_undo.h"

#include <QTextDocument>

#include <algorithm>

namespace tunvale::testing {

using editor::BarsOfSelection;
using editor::BuildLineTable;
using editor::IsJpLine;
using editor::MatchingChars;
using editor::ScanBars;
using editor::XjxInfo;

WholeSnapshotUndo::WholeSnapshotUndo(platform::RichTextBox& editor, editor::UndoHost host)
    : editor_(editor)
    , host_(std::move(host))
{
    timer_.setSingleShot(true);
    timer_.setInterval(125);
    connect(&timer_, &QTimer::timeout, this, &WholeSnapshotUndo::onTimer);
    connect(&editor_, &platform::RichTextBox::Change, this, &WholeSnapshotUndo::onChange);
    connect(&editor_, &platform::RichTextBox::SelChange, this, &WholeSnapshotUndo::onSelChange);
    Reset();
}

bool WholeSnapshotUndo::canUndo() const { return undo_.size() > 1 && tracking_; }

bool WholeSnapshotUndo::canRedo() const { return !redo_.empty() && tracking_; }

void WholeSnapshotUndo::setIgnoreChange(bool ignore)
{
    if (!ignore && !tracking_)
        TakeUndoSnapShot();
    tracking_ = !ignore;
    emit StateChanged();
}

WholeSnapshotUndo::Selection WholeSnapshotUndo::currentSelection() const
{
    return { editor_.SelStart(), editor_.SelLength(), scan_.info.XjxSelStart, scan_.info.XjxSelLength };
}

WholeSnapshotUndo::Margins WholeSnapshotUndo::headerMargins() const
{
    return host_.header ? Margins { host_.header->LeftSpace, host_.header->RightSpace } : Margins {};
}

void WholeSnapshotUndo::applyMargins(int left, int right)
{
    if (host_.header) {
        host_.header->LeftSpace = std::int16_t(left);
        host_.header->RightSpace = std::int16_t(right);
    }
    if (host_.setRulerSpaces)
        host_.setRulerSpaces(left, right);
}

const XjxInfo& WholeSnapshotUndo::GetXjxInfo()
{
    if (layoutBusy())
        return scan_.info;
    const int start = editor_.SelStart();
    const int length = editor_.SelLength();
    const qreal width = editor_.document()->textWidth();
    if (scanDirty_ || width != scanWidth_) {
        scan_ = ScanBars(BuildLineTable(editor_.snapshot()), start, length);
        scanDirty_ = false;
        scanWidth_ = width;
    } else {
        scan_.info = BarsOfSelection(scan_, start, length);
    }
    return scan_.info;
}

bool WholeSnapshotUndo::CaretLineInTable() const
{
    return IsJpLine(scan_.LineTable, editor_.LineFromChar(editor_.SelStart()));
}

void WholeSnapshotUndo::Get_SelJPFormBegin_and_SelJPToEnd()
{
    // While a step is pending, its before-state is the one taken at its first edit.
    if (SnapshotPending())
        return;
    const XjxInfo& r = GetXjxInfo();
    lastSel_.xjStart = r.XjxSelStart;
    lastSel_.xjLength = r.XjxSelLength;
    lastXjCount_ = r.XJInteger;
}

void WholeSnapshotUndo::aMoveBJBegin() { marginsBefore_ = headerMargins(); }

void WholeSnapshotUndo::aMoveBJOver() { marginsAfter_ = headerMargins(); }

void WholeSnapshotUndo::Reset()
{
    timer_.stop();
    undo_.clear();
    redo_.clear();
    textBefore_ = editor_.TextRTF();
    untracked_ = false;
    scanDirty_ = true;
    const XjxInfo& r = GetXjxInfo();
    lastXjxStr_ = r.XjxStr;
    lastXjCount_ = r.XJInteger;
    marginsBefore_ = marginsAfter_ = headerMargins();
    onSelChange();
    tracking_ = true;
    emit StateChanged();
}

void WholeSnapshotUndo::onChange()
{
    scanDirty_ = true;
    if (layoutBusy())
        return;
    untracked_ = untracked_ || !tracking_;
    if (tracking_)
        timer_.start();
    else
        timer_.stop();
}

void WholeSnapshotUndo::onTimer()
{
    timer_.stop();
    if (tracking_)
        TakeUndoSnapShot();
}

void WholeSnapshotUndo::FlushSnapshot()
{
    if (timer_.isActive())
        onTimer();
}

void WholeSnapshotUndo::RecordStep(const std::function<void()>& edit)
{
    FlushSnapshot();
    edit();
    FlushSnapshot();
}

bool WholeSnapshotUndo::ReplaceWholeText(const QString& rtf)
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

void WholeSnapshotUndo::onSelChange()
{
    if ((host_.notationCmdBusy && *host_.notationCmdBusy) || ownSelection_)
        return;
    if (SnapshotPending()) {
        moved_ = true;
        return;
    }
    lastSel_ = curSel_;
    const XjxInfo& r = GetXjxInfo();
    curSel_ = currentSelection();
    if (CaretLineInTable() && r.OnXj != announcedXj_) {
        announcedXj_ = r.OnXj;
        emit OnXjChanged(r.OnXj);
    }
    moved_ = false;
}

void WholeSnapshotUndo::pushBase()
{
    Step base;
    base.SelIndent_BeforeChange = base.SelIndent_AfterChange = marginsBefore_.left;
    base.SelRightIndent_BeforeChange = base.SelRightIndent_AfterChange = marginsBefore_.right;
    base.MatchingCharsFromLeft = textBefore_.size();
    base.SelStart_BeforeChange = base.SelStart_AfterChange = lastSel_.start;
    base.SelLength_BeforeChange = base.SelLength_AfterChange = lastSel_.length;
    base.TextXjxBlock_BeforeChange = base.TextXjxBlock_AfterChange = lastXjxStr_;
    base.MatchingXjxCharsFromLeft = lastXjxStr_.size();
    base.SelXjxStart_BeforeChange = base.SelXjxStart_AfterChange = lastSel_.xjStart;
    base.SelXjxLength_BeforeChange = base.SelXjxLength_AfterChange = lastSel_.xjLength;
    base.XjLong_BeforeChange = base.XjLong_AfterChange = lastXjCount_;
    undo_.push_back(std::move(base));
}

void WholeSnapshotUndo::TakeUndoSnapShot()
{
    const XjxInfo r = GetXjxInfo();
    const QString now = editor_.TextRTF();
    if (undo_.empty())
        pushBase();
    const qsizetype prefix = MatchingChars(textBefore_, now, false);
    untracked_ = false;
    if (!drumFlag_ && prefix == textBefore_.size() && prefix == now.size())
        return;
    Step e;
    e.MatchingCharsFromLeft = prefix;
    e.MatchingCharsFromRight = MatchingChars(textBefore_.mid(prefix), now.mid(prefix), true);
    e.MatchingXjxCharsFromLeft = MatchingChars(lastXjxStr_, r.XjxStr, false);
    e.MatchingXjxCharsFromRight = MatchingChars(
        lastXjxStr_.mid(e.MatchingXjxCharsFromLeft), r.XjxStr.mid(e.MatchingXjxCharsFromLeft), true);
    e.TextRTFBlock_BeforeChange
        = textBefore_.mid(prefix, textBefore_.size() - prefix - e.MatchingCharsFromRight);
    e.TextRTFBlock_AfterChange = now.mid(prefix, now.size() - prefix - e.MatchingCharsFromRight);
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
    textBefore_ = now;
    lastXjxStr_ = r.XjxStr;
    lastXjCount_ = r.XJInteger;
    lastSel_ = curSel_ = { editor_.SelStart(), editor_.SelLength(), r.XjxSelStart, r.XjxSelLength };
    marginsBefore_ = after;
    emit StateChanged();
}

void WholeSnapshotUndo::inferBarChange(int s0, int s1, int n0, int c0, int c1)
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

void WholeSnapshotUndo::NullShot()
{
    FlushSnapshot();
    drumFlag_ = true;
    onTimer();
    drumFlag_ = false;
}

void WholeSnapshotUndo::undo(int n)
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

void WholeSnapshotUndo::Redo(int n)
{
    FlushSnapshot();
    if (redo_.empty() || n <= 0)
        return;
    applySteps(false, std::min(n, int(redo_.size())));
    if (host_.JzRTB)
        host_.JzRTB();
}

int WholeSnapshotUndo::applySteps(bool undoing, int n)
{
    tracking_ = false;
    timer_.stop();
    std::vector<Step>& from = undoing ? undo_ : redo_;
    std::vector<Step>& to = undoing ? redo_ : undo_;
    const int aType = undoing ? -1 : 1;
    // A drum step is reported with the caret's bar after it on undo, before the redo on redo.
    int onXj = GetXjxInfo().OnXj;
    QString text = textBefore_;
    // Steps that changed no text, with nothing untracked to put back, leave the caret, the selection
    // and the view as they are.
    const bool textless = !untracked_ && std::all_of(from.end() - n, from.end(), [](const Step& step) {
        return step.TextRTFBlock_BeforeChange.isEmpty() && step.TextRTFBlock_AfterChange.isEmpty();
    });
    for (int i = 0; i < n; ++i) {
        Step e = std::move(from.back());
        from.pop_back();
        const QString& block = undoing ? e.TextRTFBlock_BeforeChange : e.TextRTFBlock_AfterChange;
        text = text.left(e.MatchingCharsFromLeft) + block + text.right(e.MatchingCharsFromRight);
        const bool barsChanged = e.XjLong_BeforeChange != e.XjLong_AfterChange;
        if (undoing)
            applyMargins(e.SelIndent_BeforeChange, e.SelRightIndent_BeforeChange);
        else
            applyMargins(e.SelIndent_AfterChange, e.SelRightIndent_AfterChange);
        // The editor shows a step when an event handler may read it, and at the end.
        if (!textless && (e.DrumStep || barsChanged || i + 1 == n)) {
            editor_.setTextRTF(text);
            untracked_ = false;
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
        textBefore_ = text;
        lastXjxStr_ = undoing ? e.TextXjxBlock_BeforeChange : e.TextXjxBlock_AfterChange;
        lastXjCount_ = undoing ? e.XjLong_BeforeChange : e.XjLong_AfterChange;
        to.push_back(std::move(e));
    }
    tracking_ = true;
    emit StateChanged();
    return onXj;
}

} // namespace tunvale::testing
