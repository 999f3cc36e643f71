#include "app/editor/parts/main_form_drums.h"

#include "app/drums/bar_strip.h"
#include "app/drums/drum_record_mime.h"
#include "app/editor/actions/menu_items.h"
#include "app/editor/parts/main_form_editing.h"
#include "app/editor/window/main_form.h"
#include "app/editor/window/status_panels.h"
#include "app/frame/process_state.h"
#include "app/notation/drum_accessor.h"
#include "app/playback/playback_state.h"
#include "platform/richtext/rich_text_edit.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QMimeData>

#include <hint_balloon.h>

namespace tunvale::editor {

namespace {

using drums::DrumOp;

const QString kPatterns = QStringLiteral("DrumArray");

notation::DrumStores& stores() { return notation::ProcessDrumStores(); }

bool hasRecord(int bar) { return bar >= 0 && bar < int(stores().XjDrums.size()); }

// A side-stick, moderately loud, in the middle.
constexpr int kClickKey = 37;
constexpr int kClickPan = 64;
constexpr int kClickVelocity = 80;

} // namespace

MainFormDrums::MainFormDrums(MainForm& form)
    : MainFormPart(form)
    , strip_(form.barStrip())
    , operations_(stores(), *this)
{
    UndoEngine& engine = undo();
    connect(&engine, &UndoEngine::XJDrumChanged, this,
        [this](int caretBar, int aType) { operations_.drumStepChanged(caretBar, aType); });
    connect(&engine, &UndoEngine::XJChanged, this,
        [this](int delAt, int delN, int addAt, int addN, int start, int aType) {
            operations_.barsChanged(delAt, delN, addAt, addN, start, aType);
        });
    form.connectArray(kPatterns, [this](int index) { applyOperation(index); });
    // After the editing part's own enabling of the Insert menu, which it was made before.
    connect(form.menu(QStringLiteral("My_instr")), &QMenu::aboutToShow, this, &MainFormDrums::listPatterns);
    connectStrip();
    strip_.installEventFilter(this);
}

UndoEngine& MainFormDrums::undo() const { return form_.part<MainFormEditing>().undo(); }

void MainFormDrums::connectStrip()
{
    using drums::BarStrip;
    connect(&strip_, &BarStrip::SendEdit, this, &MainFormDrums::openEditor);
    connect(&strip_, &BarStrip::DelaDrum, this, [this](int bar) { start(DrumOp::Delete, bar); });
    connect(&strip_, &BarStrip::DelAllDrum, this, [this] { start(DrumOp::DeleteAll); });
    connect(&strip_, &BarStrip::PestDrum, this, [this](int bar) { start(DrumOp::Paste, bar); });
    connect(&strip_, &BarStrip::CopyDrum, this, &MainFormDrums::copyBar);
    connect(&strip_, &BarStrip::PestDrumAll, this, [this] { start(DrumOp::PasteAll); });
    connect(&strip_, &BarStrip::PestDrumSection, this,
        [this](int a, int b) { start(DrumOp::PasteRange, 0, std::min(a, b), std::max(a, b)); });
    connect(&strip_, &BarStrip::DellDrumSection, this,
        [this](int a, int b) { start(DrumOp::DeleteRange, 0, std::min(a, b), std::max(a, b)); });
    connect(&strip_, &BarStrip::DrumSection, this, &MainFormDrums::showRange);
    connect(&strip_, &BarStrip::OLEDragDrop, this,
        [this](int bar, const QMimeData* data) { dropOnBar(bar, data); });
    connect(&strip_, &BarStrip::XjMouseMove, this, [this](int bar) { showHint(bar); });
    connect(&strip_, &BarStrip::XjClick, this, &MainFormDrums::goToBar);
    connect(&strip_, &BarStrip::SetOnXj, this, &MainFormDrums::goToBar);
    connect(&strip_, &BarStrip::SetShowBiaoTi, this, [this] { shortHints_ = !shortHints_; });
}

void MainFormDrums::start(DrumOp code, int bar, int first, int last)
{
    operations_.pending = { code, bar, first, last };
    applyOperation(-1);
}

void MainFormDrums::applyOperation(int templateIndex)
{
    if (templateIndex != -1) {
        const notation::DrumStore& templates = stores().DrumTemplates;
        if (templateIndex < 0 || templateIndex >= int(templates.size()))
            return;
        stores().DrumClip = templates[std::size_t(templateIndex)];
        operations_.pending = { DrumOp::FromMenu, 0, 0, 0 };
    }
    undo().NullShot();
    markScoreModified();
}

void MainFormDrums::listPatterns()
{
    MenuItems& menus = form_.menus();
    for (int i = menus.upperBound(kPatterns); i >= 1; --i)
        menus.unload(kPatterns, i);
    notation::DrumAccessor drum(stores());
    drum.DrumType(notation::DrumAccessor::DrumTemplates);
    // A name's "&" is no shortcut.
    const auto caption = [&drum](int i) { return drum.DrumName(i).replace(u'&', QStringLiteral("&&")); };
    const int count = drum.recordCount();
    form_.action(kPatterns, 0)->setText(count > 0 ? caption(0) : QString());
    for (int i = 1; i < count; ++i)
        menus.load(kPatterns, i, caption(i));
    if (count == 0)
        form_.action(QStringLiteral("Drum"))->setEnabled(false);
}

void MainFormDrums::setDrumEditor(std::function<bool()> open)
{
    const bool connected = bool(drumEditor_);
    drumEditor_ = std::move(open);
    if (!connected)
        form_.connectItem(QStringLiteral("instrDrum"), [this] { editCaretBar(); });
}

void MainFormDrums::editCaretBar() { openEditor(undo().OnXj()); }

void MainFormDrums::openEditor(int bar)
{
    if (!hasRecord(bar))
        return;
    const int editedBefore = operations_.EditedBar;
    const notation::DrumRecord shownBefore = stores().DrumEdit;
    operations_.EditedBar = bar;
    stores().DrumEdit = stores().XjDrums[std::size_t(bar)];
    // A pattern the user keeps in the editor still belongs to the bar it was opened on.
    if (drumEditor_ && !drumEditor_()) {
        operations_.EditedBar = editedBefore;
        stores().DrumEdit = shownBefore;
    }
}

void MainFormDrums::copyBar(int bar)
{
    if (hasRecord(bar))
        stores().DrumClip = stores().XjDrums[std::size_t(bar)];
}

void MainFormDrums::dropOnBar(int bar, const QMimeData* data)
{
    const auto record = drums::DrumRecordFromMime(data);
    if (!record)
        return;
    stores().DrumClip = *record;
    start(DrumOp::DropTemplate, bar);
}

void MainFormDrums::goToBar(int bar)
{
    undo().setOnXj(bar);
    if (form_.editorView()->isEnabled())
        form_.editorView()->setFocus();
}

void MainFormDrums::showRange(int first, int last)
{
    const QString head = QStringLiteral("鼓点选择:");
    QString text;
    if (first != -1 && last != -1)
        text = head + QString::number(first + 1) + u'-' + QString::number(last + 1);
    else if (first != -1)
        text = head + QString::number(first + 1);
    else if (last == -1)
        text = head + u'0';
    else
        return;
    form_.statusPanels().setPanelText(StatusPanel::DrumRange, text);
}

void MainFormDrums::showHint(int bar)
{
    lastHint_ = hints_.hintFor(stores().XjDrums, bar, shortHints_);
    if (lastHint_.toolTip)
        strip_.setXJToolTipText(*lastHint_.toolTip);
    hintballoon::ClsHintballoon* balloons = form_.hints();
    if (!balloons || lastHint_.balloon == drums::BarHint::Balloon::Unchanged)
        return;
    hintballoon::BalloonToolUpdate update;
    if (lastHint_.balloon == drums::BarHint::Balloon::Filled) {
        const drums::BarBalloon& b = lastHint_.filled;
        update.text = b.text;
        update.foreColor = b.foreColor;
        update.backColor = b.backColor;
        update.title = b.title;
        update.icon = hintballoon::TooltipIcon(b.icon);
        update.showMode = hintballoon::BalloonShowMode(b.showMode);
    }
    balloons->UpdateTool(&strip_, update);
}

void MainFormDrums::RefreshDrumSlider(int bar)
{
    if (form_.state().LayoutBusy)
        return;
    strip_.GetValueLong(drums::StripFlags(stores().XjDrums), bar);
    // The bar under the mouse may have changed: its balloon is filled anew.
    hints_.forget();
}

void MainFormDrums::markScoreModified() { frame::Process().ScoreHeader.ScoreSaved = false; }

void MainFormDrums::playStepClick()
{
    if (playback::NotePlayer)
        playback::NotePlayer->DrumNote_on(kClickKey, kClickPan, kClickVelocity);
}

int MainFormDrums::barCount() const { return undo().XJInteger(); }

bool MainFormDrums::eventFilter(QObject* watched, QEvent* event)
{
    // A new width lays the strip's labels out afresh around the caret's bar.
    if (watched == &strip_ && event->type() == QEvent::Resize)
        RefreshDrumSlider(undo().OnXj());
    return MainFormPart::eventFilter(watched, event);
}

} // namespace tunvale::editor
