#pragma once

#include "app/editor/editing/line_table.h"
#include "app/editor/editing/undo_engine.h"
#include "platform/richtext/rich_text_box.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <vector>

// The undo engine as it was before it kept steps by paragraph: every snapshot writes the whole
// document's RTF, keeps the differing middle of the two texts, and an undo or a redo reads a whole
// RTF text back. The equivalence test holds the engine to it; the keyboard and the window's helpers
// are left out.
namespace tunvale::testing {

class WholeSnapshotUndo : public QObject
{
    Q_OBJECT

public:
    WholeSnapshotUndo(platform::RichTextBox& editor, editor::UndoHost host);

    bool canUndo() const;
    bool canRedo() const;
    void setIgnoreChange(bool ignore);
    int getUndoCount() const { return int(undo_.size()) - 1 < 0 ? 0 : int(undo_.size()) - 1; }
    int getRedoCount() const { return int(redo_.size()); }
    int XJInteger() const { return scan_.info.XJInteger; }
    int OnXj() const { return scan_.info.OnXj; }
    void Get_SelJPFormBegin_and_SelJPToEnd();
    void Reset();
    void NullShot();
    void undo(int n);
    void Redo(int n);
    void aMoveBJBegin();
    void aMoveBJOver();
    void FlushSnapshot();
    bool SnapshotPending() const { return timer_.isActive(); }
    void RecordStep(const std::function<void()>& edit);
    bool ReplaceWholeText(const QString& rtf);

signals:
    void StateChanged();
    void OnXjChanged(int Xj);
    void XJDrumChanged(int OnXj1, int aType);
    void XJChanged(int BeginDelPosition, int DellN, int BeginAddPosition, int AddN, int Start, int aType);

private:
    struct Step {
        int SelIndent_BeforeChange = 0;
        int SelIndent_AfterChange = 0;
        int SelRightIndent_BeforeChange = 0;
        int SelRightIndent_AfterChange = 0;
        QString TextRTFBlock_BeforeChange;
        QString TextRTFBlock_AfterChange;
        qsizetype MatchingCharsFromLeft = 0;
        qsizetype MatchingCharsFromRight = 0;
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
        bool DrumStep = false;
    };
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

    const editor::XjxInfo& GetXjxInfo();
    bool CaretLineInTable() const;
    void TakeUndoSnapShot();
    void pushBase();
    int applySteps(bool undoing, int n);
    void inferBarChange(int s0, int s1, int n0, int c0, int c1);
    void onChange();
    void onSelChange();
    void onTimer();
    Selection currentSelection() const;
    Margins headerMargins() const;
    void applyMargins(int left, int right);
    bool layoutBusy() const { return host_.layoutBusy && *host_.layoutBusy; }

    platform::RichTextBox& editor_;
    editor::UndoHost host_;
    QTimer timer_;
    std::vector<Step> undo_;
    std::vector<Step> redo_;
    bool tracking_ = true;
    bool untracked_ = false; // the text changed since the last step while tracking was off
    bool drumFlag_ = false;
    bool moved_ = false;
    QString textBefore_;
    QString lastXjxStr_;
    int lastXjCount_ = 0;
    Selection lastSel_;
    Selection curSel_;
    Margins marginsBefore_;
    Margins marginsAfter_;
    editor::BarScan scan_;
    bool scanDirty_ = true;
    qreal scanWidth_ = -1;
    bool ownSelection_ = false;
    int announcedXj_ = 0;
    int inferPosition_ = 0;
    int inferCount_ = 0;
};

} // namespace tunvale::testing
