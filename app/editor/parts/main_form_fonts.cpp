#include "app/editor/parts/main_form_fonts.h"

#include "app/dialogs/font_set_dialog.h"
#include "app/editor/actions/toolbar_table.h"
#include "app/editor/parts/main_form_editing.h"
#include "app/editor/window/main_form.h"
#include "app/editor/window/main_toolbar.h"
#include "app/editor/window/status_panels.h"
#include "app/editor/window/toolbar_icons.h"
#include "platform/desktop/prompts.h"
#include "platform/richtext/rich_text_edit.h"

#include <QAction>
#include <QCursor>
#include <QGuiApplication>
#include <QToolButton>

namespace tunvale::editor {

const QString& FontChangeRefusal(platform::Unshowable why)
{
    return why == platform::Unshowable::TooManyFonts ? kFontsRefused : kSizeRefused;
}

namespace {

struct Group {
    int first;
    int last;
};

Group groupOf(BrushKind kind)
{
    return kind == BrushKind::Pitch
        ? Group { int(ToolbarButton::TwoOctavesDown), int(ToolbarButton::TwoOctavesUp) }
        : Group { int(ToolbarButton::Quarter), int(ToolbarButton::ThirtySecond) };
}

} // namespace

MainFormFonts::MainFormFonts(MainForm& form)
    : MainFormPart(form)
    , movePointer_([](const QPoint& at) {
        if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
            QCursor::setPos(at);
    })
    , runFontSet_([](dialogs::FontSetDialog& dialog) { dialog.exec(); })
{
    form.connectArray(QStringLiteral("FormatTool"), [this](int i) { useBrushMenu(i); });
    form.connectItem(QStringLiteral("SFZH"), [this] { scaleSelection(); });
    form.connectItem(QStringLiteral("CQSF"), [this] { repeatScaling(); });
    form.defineCommand(QStringLiteral("SFZH"), [this](int) { scaleSelection(); });
    form.defineCommand(QStringLiteral("CQSF"), [this](int) { repeatScaling(); });
}

void MainFormFonts::useBrushMenu(int index)
{
    StatusPanels& panels = form_.statusPanels();
    panels.setPanelText(StatusPanel::Hint, FormatBrush::hintText());
    if (index < 0 || index > 2)
        return;
    const BrushChange change = brush_.use(index);
    resetGroup(BrushKind::Pitch, change);
    resetGroup(BrushKind::Duration, change);
    form_.action(QStringLiteral("FormatTool"), 0)->setChecked(change.after == BrushKind::Pitch);
    form_.action(QStringLiteral("FormatTool"), 1)->setChecked(change.after == BrushKind::Duration);
    QWidget* viewport = form_.editorView()->viewport();
    if (change.after == BrushKind::None)
        viewport->setCursor(Qt::IBeamCursor);
    else
        viewport->setCursor(FormatBrushCursor(change.after == BrushKind::Pitch));
    panels.setPanelText(StatusPanel::Brush, FormatBrush::stateText(change.after));
    // The pointer goes to the group's middle button, where the value is chosen next.
    if (change.switchedOn() == BrushKind::None)
        return;
    const QToolButton* button = form_.toolbar().toolButton(change.switchedOn() == BrushKind::Pitch
            ? int(ToolbarButton::MiddleOctave)
            : int(ToolbarButton::Sixteenth));
    if (button && button->isVisible() && movePointer_)
        movePointer_(button->mapToGlobal(button->rect().center()));
}

// The group of a brush that went on or off starts afresh: no button pressed, its last button a
// check button while the brush is on and a drop-down button while it is off.
void MainFormFonts::resetGroup(BrushKind kind, const BrushChange& change)
{
    if (!change.resets(kind))
        return;
    MainToolbar& toolbar = form_.toolbar();
    const Group group = groupOf(kind);
    toolbar.setButtonStyle(group.last, change.after == kind ? ButtonStyle::Check : ButtonStyle::DropDown);
    for (int i = group.first; i <= group.last; ++i)
        toolbar.setButtonValue(i, 0);
}

void MainFormFonts::applyBrush()
{
    if (brush_.kind() == BrushKind::None)
        return;
    const Group group = groupOf(brush_.kind());
    for (int i = group.first; i <= group.last; ++i) {
        if (!form_.toolbar().buttonValue(i))
            continue;
        // The value is the command the button runs when no brush is on.
        if (const auto command = ButtonCommand(i)) {
            bool& busy = form_.state().NotationCmdBusy;
            busy = command->busy;
            form_.commands().run(command->command, command->argument);
            busy = false;
        }
        return;
    }
}

void MainFormFonts::scaleSelection()
{
    platform::RichTextBox& editor = form_.editor();
    if (editor.SelLength() == 0)
        return;
    dialogs::DialogResults& results = form_.dialogResults();
    dialogs::FontSetDialog dialog(
        results, editor.SelFontSize(),
        [this](const QString& text) { form_.statusPanels().setPanelText(StatusPanel::Brush, text); }, &form_);
    if (runFontSet_)
        runFontSet_(dialog);
    if (results.FontSetApplied)
        applyResults();
}

void MainFormFonts::repeatScaling() { applyResults(); }

void MainFormFonts::applyResults()
{
    const dialogs::DialogResults& results = form_.dialogResults();
    const FontScaling scaling
        = ReadFontScaling(results.FontScaleStep, results.FontScalePercent, results.FontScaleSize);
    const platform::RichTextBox& editor = form_.editor();
    const int start = editor.SelStart();
    const int end = start + editor.SelLength() - 1;
    switch (scaling.way) {
    case FontScaling::Way::Step:
    case FontScaling::Way::Ratio:
        scaleRange(scaling, start, end);
        break;
    case FontScaling::Way::Size:
        setSelectionSize(scaling.value);
        break;
    case FontScaling::Way::None:
        break;
    }
}

void MainFormFonts::scaleRangeByRatio(double ratio, int nBegin, int nEnd)
{
    scaleRange({ FontScaling::Way::Ratio, ratio }, nBegin, nEnd);
}

void MainFormFonts::scaleRangeByStep(double step, int nBegin, int nEnd)
{
    scaleRange({ FontScaling::Way::Step, step }, nBegin, nEnd);
}

void MainFormFonts::scaleRange(const FontScaling& scaling, int nBegin, int nEnd)
{
    platform::RichTextBox& editor = form_.editor();
    if (nEnd < nBegin) {
        editor.select(nBegin, 0);
        return;
    }
    if (const auto why = editor.whyUnshowable(ScaledText(editor, nBegin, nEnd - nBegin + 1, scaling))) {
        platform::Prompts::current().information(FontChangeRefusal(*why));
        return;
    }
    std::optional<int> refused;
    form_.part<MainFormEditing>().undo().RecordStep([&] {
        refused = ScaleRange(form_.mirror(), nBegin, nEnd - nBegin + 1, scaling);
        if (refused)
            editor.select(*refused, 0);
        else
            editor.select(nBegin, nEnd - nBegin + 1);
    });
    if (refused)
        platform::Prompts::current().information(kSizeRefused);
}

void MainFormFonts::setSelectionSize(double size)
{
    platform::RichTextBox& editor = form_.editor();
    const FontScaling scaling { FontScaling::Way::Size, size };
    if (editor.SelLength() > 0) {
        if (const auto why
            = editor.whyUnshowable(ScaledText(editor, editor.SelStart(), editor.SelLength(), scaling))) {
            platform::Prompts::current().information(FontChangeRefusal(*why));
            return;
        }
    } else if (!FontChangeAllowed(editor, editor.SelStart(), 0,
                   [&scaling](platform::RunFormat& format) { ScaleFormat(format, scaling); })) {
        return;
    }
    bool refused = false;
    form_.part<MainFormEditing>().undo().RecordStep([&] {
        refused = editor.setSelFontSize(size) != platform::FormatResult::Applied;
        if (refused)
            editor.setSelLength(0);
    });
    if (refused)
        platform::Prompts::current().information(kSizeRefused);
}

void MainFormFonts::raiseSelection(double points)
{
    const std::optional<int> inRange = RaisePointsInRange(points);
    if (!inRange) {
        platform::Prompts::current().information(kSizeRefused);
        return;
    }
    platform::RichTextBox& editor = form_.editor();
    const int start = editor.SelStart();
    const int length = editor.SelLength();
    const FontScaling scaling { FontScaling::Way::Size, ScoreFontScaleSize(*inRange) };
    if (!FontChangeAllowed(
            editor, start, length, [&scaling](platform::RunFormat& format) { ScaleFormat(format, scaling); }))
        return;
    form_.part<MainFormEditing>().undo().RecordStep([&] {
        SetScoreFontScale(form_.mirror(), start + 1, length, *inRange);
        editor.select(start, 0);
    });
}

} // namespace tunvale::editor
