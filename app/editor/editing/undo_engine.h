#pragma once

#include "app/editor/editing/line_table.h"
#include "app/notation/score_header.h"
#include "platform/richtext/changed_span.h"
#include "platform/richtext/rich_text_box.h"

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// The score editor's undo engine. It records no commands: when the editor's text has been left alone
// for 125 ms it compares the paragraphs the edits touched with the text of the last step and keeps
// only the paragraphs that differ, with the selection, the bars and the margins before and after.
// Undo and redo put those paragraphs back in one edit; the rest of the document is never read or
// written again, so a step costs what it changed, whatever the score's length. The text of the last
// step is kept as it reads back from RTF, so every text it restores is the one a whole-RTF snapshot
// would have restored. It also owns the editor's line table and bar state, rescanned from the live
// document.
namespace tunvale::editor {

// The length of the common prefix (fromRight false) or suffix (true) of two texts.
qsizetype MatchingChars(const QString& oldText, const QString& newText, bool fromRight);

// The paragraphs a step changed: `before` stood at paragraph `first` and `after` stands there now;
// around them, paragraphs that kept their text and only changed their format (numbered as after
// the step).
struct ParagraphChange {
    struct Format {
        int paragraph = 0;
        platform::ParagraphFormat before;
        platform::ParagraphFormat after;
    };

    int first = 0;
    platform::RichContent before;
    platform::RichContent after;
    std::vector<Format> formats;

    bool empty() const { return before.empty() && after.empty() && formats.empty(); }
};

// One step.
struct UndoStep {
    int SelIndent_BeforeChange = 0;
    int SelIndent_AfterChange = 0;
    int SelRightIndent_BeforeChange = 0;
    int SelRightIndent_AfterChange = 0;
    ParagraphChange Change;
    int SelStart_BeforeChange = 0;
    int SelLength_BeforeChange = 0;
    int SelStart_AfterChange = 0;
    int SelLength_AfterChange = 0;
    QString TextXjxBlock_BeforeChange;
    QString TextXjxBlock_AfterChange;
    qsizetype MatchingXjxCharsFromLeft = 0;
    qsizetype MatchingXjxCharsFromRight = 0;
    int SelXjxStart_BeforeChange = 0;
    int SelXjxLength_BeforeChange = 0;
    int SelXjxStart_AfterChange = 0;
    int SelXjxLength_AfterChange = 0;
    int XjLong_AfterChange = 0;
    int XjLong_BeforeChange = 0;
    // A drum operation recorded as a step without a text change.
    bool DrumStep = false;
};
using clsUndoElement = UndoStep;

// What the engine reads and calls of the window that owns it.
struct UndoHost {
    notation::ScoreHeader* header = nullptr; // margins
    const bool* layoutBusy = nullptr; // set while the window re-lays the margins
    const bool* notationCmdBusy = nullptr; // set while a notation command rewrites
    std::function<void()> JzRTB; // re-applies the margins after an undo or redo step
    std::function<void(int left, int right)> setRulerSpaces;
};

class UndoEngine : public QObject
{
    Q_OBJECT

public:
    UndoEngine(platform::RichTextBox& editor, UndoHost host, QObject* parent = nullptr);

    bool canUndo() const;
    bool canRedo() const;
    bool IgnoreChange() const { return !tracking_; }
    void setIgnoreChange(bool ignore);
    int JPSelection();
    const std::vector<JpSelPiece>& JpSelPieces() const { return jpSelPieces_; }
    int getUndoCount() const { return int(undo_.size()) - 1 < 0 ? 0 : int(undo_.size()) - 1; }
    int getRedoCount() const { return int(redo_.size()); }
    QString XjxStr() const { return scan_.info.XjxStr; }
    int XjxSelStart() const { return scan_.info.XjxSelStart; }
    int XjxSelLength() const { return scan_.info.XjxSelLength; }
    int XJInteger() const { return scan_.info.XJInteger; }
    int OnXj() const { return scan_.info.OnXj; }
    // Puts the caret just behind the bar line that opens bar `n`; a bar that does not exist is ignored.
    void setOnXj(int n);
    int PlayOnXj(int position) const { return editor::PlayOnXj(scan_.BarStarts, position); }
    const std::vector<LineInfo>& LineTable() const { return scan_.LineTable; }
    const std::vector<int>& BarStarts() const { return scan_.BarStarts; }
    // The caret's display line is a notation line, read from the live document.
    bool CaretOnNotationLine();

    // Records the bar state before an edit.
    void Get_SelJPFormBegin_and_SelJPToEnd();
    void Reset();
    // Recolours the notation lines (isChangJp) or the other lines in the colour given, as one step
    // that leaves the saved flag as it was.
    void JpColor(const notation::ColorScheme& MyColor, bool IsChangJp);
    // A step without a text change, for a drum operation.
    void NullShot();
    void undo(int n);
    void Redo(int n);
    void aMoveBJBegin();
    void aMoveBJOver();

    // Takes a pending snapshot now, as a mouse press does; nothing when none is pending.
    void FlushSnapshot();
    bool SnapshotPending() const { return timer_.isActive(); }
    // Runs `edit` as one step of its own, never merged with typing before or after it, also when it
    // waits for the user in the middle.
    void RecordStep(const std::function<void()>& edit);
    // Replaces the whole rich text as one step; false (and nothing recorded) when `rtf` is no RTF.
    bool ReplaceWholeText(const QString& rtf);

    // A state of both stacks and the selection to come back to, a pending step taken first.
    struct Checkpoint {
        int steps = 0;
        std::vector<UndoStep> redo;
        int selStart = 0;
        int selLength = 0;
    };
    Checkpoint checkpoint();
    // Undoes the steps recorded since `mark` and puts its redo stack and selection back, as if the
    // steps had never been.
    void rollBack(const Checkpoint& mark);

    // The editor's key handler, run after the window's own; KeyCode 0 swallows the key.
    void KeyDown(int& KeyCode, int Shift);
    void KeyUp(int& KeyCode, int Shift);

signals:
    void StateChanged();
    void OnXjChanged(int Xj);
    void XJDrumChanged(int OnXj1, int aType);
    void XJChanged(int BeginDelPosition, int DellN, int BeginAddPosition, int AddN, int Start, int aType);

private:
    struct Selection {
        int start = 0;
        int length = 0;
        int xjStart = 0;
        int xjLength = 0;
    };
    struct Margins {
        int left = 0;
        int right = 0;
    };

    const XjxInfo& GetXjxInfo();
    // Reads the lines of the paragraphs that changed since the last scan again.
    void rescanLines();
    // After the lines were laid out anew under a pending edit: the last step's bars, outside the
    // paragraphs the edit touched, as they read now (`before`: the line table of the last scan).
    void rebaseLastBars(const std::vector<LineInfo>& before);
    // The plain bar line in the line table's first notation line, where BuildLineTable puts it.
    void markFirstBar();
    // The caret line is a notation line in the line table of the last scan.
    bool CaretLineInTable() const;
    // Raises OnXjChanged when the caret stands on a notation line in another bar than the one last
    // announced.
    void announceCaretBar();
    void TakeUndoSnapShot();
    void pushBase();
    // What differs between the document and the text of the last step; with the indents of untracked
    // relayouts or without.
    ParagraphChange changeSinceLastStep(bool withRelayout) const;
    // The paragraph formats a relayout changed, outside paragraphs first to last (numbered as now).
    std::vector<ParagraphChange::Format> relaidFormats(int first, int last) const;
    // Puts one side of a change into the document.
    void apply(const ParagraphChange& change, bool undoing);
    // Applies n steps of the undo or the redo stack; the caret's bar at the end.
    int applySteps(bool undoing, int n);
    void inferBarChange(int s0, int s1, int n0, int c0, int c1);
    void onChange();
    void onSelChange();
    void onTimer();
    void onPause();
    void NotationKeyInput(int& KeyCode, int Shift);
    void extendOverSymbolRun(int KeyCode);
    Selection currentSelection() const;
    Margins headerMargins() const;
    void applyMargins(int left, int right);
    bool layoutBusy() const { return host_.layoutBusy && *host_.layoutBusy; }

    platform::RichTextBox& editor_;
    // A second caret over the editor's document, for probing formats without moving the editor's.
    platform::RichTextBox mirror_;
    UndoHost host_;
    QTimer timer_;
    std::vector<UndoStep> undo_;
    std::vector<UndoStep> redo_;
    bool tracking_ = true;
    bool drumFlag_ = false;
    bool moved_ = false;
    bool recordingStep_ = false;
    // The text of the last step, as it reads back from RTF, and where the document may differ from it.
    platform::RichContent lastStep_;
    platform::ChangedSpan changed_;
    bool relaid_ = false; // a relayout of the margins laid other indents on, untracked
    QString lastXjxStr_;
    int lastXjCount_ = 0;
    Selection lastSel_;
    Selection curSel_;
    Margins marginsBefore_;
    Margins marginsAfter_;
    BarScan scan_;
    platform::ChangedSpan scanChanged_; // where the document changed since the last scan
    bool rescanAll_ = true;
    int markedLine_ = -1; // the line whose first character the plain bar line replaces
    QChar markedChar_;
    bool scanDirty_ = true;
    qreal scanWidth_ = -1;
    QTextOption::WrapMode scanMode_ = QTextOption::WrapAtWordBoundaryOrAnywhere;
    bool ownSelection_ = false;
    std::vector<JpSelPiece> jpSelPieces_;
    int announcedXj_ = 0;
    int inferPosition_ = 0;
    int inferCount_ = 0;
};
using clsUndo = UndoEngine;

} // namespace tunvale::editor
