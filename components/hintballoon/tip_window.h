#pragma once

#include "components/hintballoon/hint_popup.h"
#include "hint_balloon.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <map>
#include <memory>
#include <optional>

// The one hint popup of the process, shared by every ClsHintballoon and counted by them: it watches
// the tools, waits the delays, asks the tool's own object for its look and text and tells that object
// when the hint shows and hides.
namespace tunvale::hintballoon {

struct HintDelays {
    int show = 500;
    int autoHide = 5000;
    int reShow = 100;
};

// What the popup shows at the moment.
struct ShownHint {
    QWidget* tool = nullptr;
    ClsHintballoon* owner = nullptr;
    HintLook look;
    bool rolledIn = false;
};

class TipWindow : public QObject
{
    Q_OBJECT

public:
    // A new hint object counts itself in, creating the popup when there is none; a released one counts
    // itself out, and the last one out destroys the popup.
    static TipWindow& acquire();
    static void release();
    // The popup of the process, or null; and how many objects use it.
    static TipWindow* current();
    static int TipUsers();

    ~TipWindow() override;

    void watch(QWidget* tool, ClsHintballoon* owner);
    void unwatch(QWidget* tool, const ClsHintballoon* owner);
    void forgetOwner(const ClsHintballoon* owner);
    // An UpdateTool: a hint of `tool` that is up shows the new record at once.
    void refresh(QWidget* tool);

    const HintDelays& delays() const { return delays_; }
    void setDelays(const HintDelays& delays) { delays_ = delays; }

    std::optional<ShownHint> shown() const;

signals:
    // A hint came up (after the owner's Show).
    void hintShown();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TipWindow();
    void wait(QWidget* tool, QPoint pointer);
    // The tool's hint neither waits nor shows any longer.
    void dismiss(QWidget* tool);
    void showPending();
    // The look of `tool`'s hint from its owner's record, asking for the text when it has none; nothing
    // when the tool has no hint to show.
    std::optional<HintLook> lookOf(QWidget* tool, ClsHintballoon* owner);
    void present(QWidget* tool, bool fresh);
    void hide();
    ClsHintballoon* ownerOf(QWidget* tool) const;

    std::map<QObject*, QPointer<ClsHintballoon>> owners_;
    HintDelays delays_;
    std::unique_ptr<HintPopup> popup_;
    QPointer<QWidget> pending_; // waiting for its show delay
    QPointer<QWidget> current_; // its hint is up
    QPointer<QWidget> expired_; // its hint went; it comes back once the pointer left and came again
    QPointer<ClsHintballoon> currentOwner_;
    QPoint pointer_;
    QTimer showTimer_;
    QTimer hideTimer_;
    QElapsedTimer sinceHidden_;
};

} // namespace tunvale::hintballoon
