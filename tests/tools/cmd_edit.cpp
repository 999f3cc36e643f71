#include "tests/tools/command_registry.h"
#include "tests/tools/key_presses.h"
#include "tests/tools/rtf_runs_printout.h"
#include "tests/tools/score_loading.h"

#include "app/dialogs/font_set_dialog.h"
#include "app/dialogs/glyph_palette.h"
#include "app/dialogs/grace_notes_dialog.h"
#include "app/dialogs/key_picker_dialog.h"
#include "app/editor/parts/main_form_clipboard.h"
#include "app/editor/parts/main_form_editing.h"
#include "app/editor/parts/main_form_fonts.h"
#include "app/editor/parts/main_form_notation_marks.h"
#include "app/editor/parts/main_form_ornaments.h"
#include "app/editor/window/main_form.h"
#include "app/editor/window/main_toolbar.h"
#include "app/editor/window/status_panels.h"
#include "app/frame/process_state.h"
#include "platform/desktop/notation_fonts.h"
#include "platform/richtext/rich_text_edit.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>

#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <optional>
#include <vector>

namespace {

using namespace tunvale;

// One step of the command line, run in order.
struct Step {
    enum class Kind { Keys, Sel, Cmd, Answer } kind;
    QStringList values;
};

// The answers that script the dialog a command opens. Every dialog: "ok", "cancel", "close" (its
// close box). The font-size dialog: "set ROW TEXT". The key picker: "press ROW COL", "double ROW COL",
// "option N". The grace-note dialog: "type T", "press ROW COL", "confirm", "digit D", "slur 0|1",
// "after 0|1". Rows and columns are 0-based palette cells; one outside the palette presses beside it.
bool validAnswer(const QString& answer)
{
    const QStringList words = answer.split(u' ');
    const QString& word = words[0];
    if (words.size() == 1)
        return QStringList({ QStringLiteral("ok"), QStringLiteral("cancel"), QStringLiteral("close"),
                               QStringLiteral("confirm") })
            .contains(word);
    const auto number = [&words](int index, int last) {
        const std::optional<int> value = scoretool::intArgument(words[index], 0);
        return value && *value <= last;
    };
    if (word == QStringLiteral("set"))
        return number(1, 2);
    if (word == QStringLiteral("press") || word == QStringLiteral("double"))
        return words.size() == 3 && number(1, 99) && number(2, 99);
    if (words.size() != 2)
        return false;
    if (word == QStringLiteral("option"))
        return number(1, 2);
    if (word == QStringLiteral("digit"))
        return number(1, 9);
    if (word == QStringLiteral("type") || word == QStringLiteral("slur") || word == QStringLiteral("after"))
        return number(1, 1);
    return false;
}

// Shows a dialog and plays the answers on it: "close" is its close box, the others go to `answer`,
// which returns false for one that is not this dialog's. Without an answer that closes it, its close
// box does.
void playAnswers(
    QDialog& dialog, const QStringList& answers, const std::function<bool(const QStringList&)>& answer)
{
    bool closed = false;
    QObject::connect(&dialog, &QDialog::finished, [&closed] { closed = true; });
    dialog.show();
    for (const QString& text : answers) {
        if (closed)
            break;
        const QStringList words = text.split(u' ');
        if (words[0] == QStringLiteral("close"))
            dialog.close();
        else if (!answer(words))
            scoretool::err(QStringLiteral("answer %1 is not for %2").arg(text, dialog.objectName()));
    }
    if (!closed)
        dialog.close();
}

// A mouse press on a palette cell, with a double-click after it when `twice`.
void pressCell(dialogs::GlyphPalette& palette, const QStringList& words, bool twice)
{
    const QPointF at = palette.cellRect({ words[1].toInt(), words[2].toInt() }).center();
    QMouseEvent press(QEvent::MouseButtonPress, at, palette.mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
        Qt::NoModifier);
    QCoreApplication::sendEvent(&palette, &press);
    if (!twice)
        return;
    QMouseEvent doubleClick(QEvent::MouseButtonDblClick, at, palette.mapToGlobal(at), Qt::LeftButton,
        Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&palette, &doubleClick);
}

void answerFontSet(dialogs::FontSetDialog& dialog, const QStringList& answers)
{
    playAnswers(dialog, answers, [&dialog](const QStringList& words) {
        if (words[0] == QStringLiteral("ok"))
            dialog.Command1->click();
        else if (words[0] == QStringLiteral("cancel"))
            dialog.Command2->click();
        else if (words[0] == QStringLiteral("set"))
            dialog.typeInto(words[1].toInt(), words.mid(2).join(u' '));
        else
            return false;
        return true;
    });
}

void answerKeyPicker(dialogs::KeyPickerDialog& dialog, const QStringList& answers)
{
    playAnswers(dialog, answers, [&dialog](const QStringList& words) {
        const QString& word = words[0];
        if (word == QStringLiteral("ok"))
            dialog.Command1->click();
        else if (word == QStringLiteral("cancel"))
            dialog.Command2->click();
        else if (word == QStringLiteral("press") || word == QStringLiteral("double"))
            pressCell(*dialog.Text1, words, word == QStringLiteral("double"));
        else if (word == QStringLiteral("option"))
            dialog.Upanddown[std::size_t(words[1].toInt())]->click(); // a disabled option ignores it
        else
            return false;
        return true;
    });
}

void answerGraceNotes(dialogs::GraceNotesDialog& dialog, const QStringList& answers)
{
    playAnswers(dialog, answers, [&dialog](const QStringList& words) {
        const QString& word = words[0];
        if (word == QStringLiteral("ok")) {
            dialog.Command1->click();
        } else if (word == QStringLiteral("cancel")) {
            dialog.Command2->click();
        } else if (word == QStringLiteral("type")) {
            dialog.Option1[std::size_t(words[1].toInt())]->click();
        } else if (word == QStringLiteral("press")) {
            pressCell(*dialog.Text2, words, false);
        } else if (word == QStringLiteral("confirm")) {
            dialog.Command3->click();
        } else if (word == QStringLiteral("digit")) {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_0 + words[1].toInt(), Qt::NoModifier, words[1]);
            QCoreApplication::sendEvent(dialog.Text1, &key);
        } else if (word == QStringLiteral("slur") || word == QStringLiteral("after")) {
            (word == QStringLiteral("slur") ? dialog.Check1 : dialog.Check2)->setChecked(words[1] == u'1');
        } else {
            return false;
        }
        return true;
    });
}

// The editor with the parts whose handlers the steps reach.
struct Editor {
    editor::MainForm form;
    editor::MainFormEditing& editing = form.addPart<editor::MainFormEditing>();
    editor::MainFormClipboard& clipboard = form.addPart<editor::MainFormClipboard>();
    editor::MainFormFonts& fonts = form.addPart<editor::MainFormFonts>();
    editor::MainFormNotationMarks& marks = form.addPart<editor::MainFormNotationMarks>();
    editor::MainFormOrnaments& ornaments = form.addPart<editor::MainFormOrnaments>();

    int selectionEnd() const { return form.editor().SelStart() + form.editor().SelLength() - 1; }
};

// The handlers that --cmd takes by their item's or event's name, beside the window's named commands.
using Handler = std::function<void(Editor&, double argument)>;
const std::map<QString, Handler>& handlers()
{
    static const std::map<QString, Handler> table {
        { QStringLiteral("mnuCut_Click"), [](Editor& e, double) { e.clipboard.cut(); } },
        { QStringLiteral("mnuCopy_Click"), [](Editor& e, double) { e.clipboard.copy(); } },
        { QStringLiteral("mnuPaste_Click"), [](Editor& e, double) { e.clipboard.paste(); } },
        { QStringLiteral("mnuSelAll_Click"), [](Editor& e, double) { e.clipboard.selectAll(); } },
        { QStringLiteral("mnuReset_Click"), [](Editor& e, double) { e.clipboard.resetUndo(); } },
        // Chosen from the Edit menu, whose opening sets the item's check from the caret's line.
        { QStringLiteral("MunJPline_Click"),
            [](Editor& e, double) {
                e.editing.enableEditMenu();
                e.clipboard.switchTypingLine();
            } },
        { QStringLiteral("RichTextBox1_MouseUp"),
            [](Editor& e, double button) { e.clipboard.mouseReleased(int(button)); } },
        { QStringLiteral("Timer8_Timer"), [](Editor& e, double) { e.clipboard.cleanHighlightMarks(); } },
        { QStringLiteral("FormatTool_Click"),
            [](Editor& e, double index) { e.fonts.useBrushMenu(int(index)); } },
        { QStringLiteral("SFZH_Click"), [](Editor& e, double) { e.fonts.scaleSelection(); } },
        { QStringLiteral("CQSF_Click"), [](Editor& e, double) { e.fonts.repeatScaling(); } },
        { QStringLiteral("setRichtextboxFontSizebyn"),
            [](Editor& e, double ratio) {
                e.fonts.scaleRangeByRatio(ratio, e.form.editor().SelStart(), e.selectionEnd());
            } },
        { QStringLiteral("setRichtextboxFontSizebys"),
            [](Editor& e, double step) {
                e.fonts.scaleRangeByStep(step, e.form.editor().SelStart(), e.selectionEnd());
            } },
        { QStringLiteral("SetScoreFontScale"),
            [](Editor& e, double points) { e.fonts.raiseSelection(points); } },
        { QStringLiteral("Toolbar1_ButtonClick"),
            [](Editor& e, double index) {
                if (QAction* button = e.form.toolbar().button(int(index)))
                    button->trigger();
            } },
    };
    return table;
}

// Reads the steps after IN and before OUT; false (with a message) when they do not parse.
bool readSteps(const QStringList& args, std::vector<Step>& steps)
{
    for (qsizetype i = 1; i + 1 < args.size();) {
        const QString& option = args[i];
        auto take = [&](Step::Kind kind, qsizetype count) {
            if (i + count >= args.size() - 1)
                return false;
            steps.push_back({ kind, args.mid(i + 1, count) });
            i += count + 1;
            return true;
        };
        bool ok = false;
        if (option == QStringLiteral("--keys"))
            ok = take(Step::Kind::Keys, 1);
        else if (option == QStringLiteral("--sel"))
            ok = take(Step::Kind::Sel, 2);
        else if (option == QStringLiteral("--cmd"))
            ok = take(Step::Kind::Cmd, 2);
        else if (option == QStringLiteral("--answer"))
            ok = take(Step::Kind::Answer, 1);
        if (!ok)
            return false;
    }
    for (const Step& step : steps) {
        if (step.kind == Step::Kind::Sel
            && (!scoretool::intArgument(step.values[0], 0) || !scoretool::intArgument(step.values[1], 0)))
            return false;
        if (step.kind != Step::Kind::Answer)
            continue;
        for (const QString& answer : step.values[0].split(u';')) {
            if (!validAnswer(answer)) {
                scoretool::err(QStringLiteral("unknown answer %1").arg(answer));
                return false;
            }
        }
    }
    return !steps.empty() && steps.front().kind == Step::Kind::Sel;
}

bool runCommand(Editor& e, const QString& name, const QString& argumentText)
{
    if (const auto handler = handlers().find(name); handler != handlers().end()) {
        bool isNumber = false;
        const double argument = argumentText.toDouble(&isNumber);
        if (!isNumber || std::isnan(argument) || std::abs(argument) > std::numeric_limits<int>::max()) {
            scoretool::err(QStringLiteral("%1 is no number for %2").arg(argumentText, name));
            return false;
        }
        handler->second(e, argument);
        return true;
    }
    const std::optional<int> argument = scoretool::intArgument(argumentText);
    if (!argument) {
        scoretool::err(QStringLiteral("%1 is no number for %2").arg(argumentText, name));
        return false;
    }
    // Toolbar and menu commands run with the notation command flag set, as the toolbar runs them.
    e.form.state().NotationCmdBusy = true;
    const bool known = e.form.commands().run(name, *argument);
    e.form.state().NotationCmdBusy = false;
    if (!known)
        scoretool::err(QStringLiteral("unknown command %1").arg(name));
    return known;
}

int edit(const QStringList& args)
{
    std::vector<Step> steps;
    if (args.size() < 5 || !readSteps(args, steps)) {
        scoretool::err(
            QStringLiteral("usage: scoretool edit IN --sel START LEN [--keys \"KEYS\" | --sel START LEN"
                           " | --cmd NAME ARG | --answer \"A;B;...\"]... OUT.rtf"));
        return 2;
    }
    platform::loadNotationFonts();
    Editor e;
    // The views wrap at the page's width, as the program lays them out before a score opens: a paste or
    // a size is measured as the window would show the text.
    e.form.applyLayout();
    // No pointer moves and no menu waits for a click in a run of the tool.
    e.fonts.setPointerMover([](const QPoint&) {});
    e.clipboard.setMenuShower([](QMenu&, const QPoint&) {});
    QStringList answers;
    e.fonts.setFontSetRunner([&answers](dialogs::FontSetDialog& dialog) { answerFontSet(dialog, answers); });
    e.marks.setKeyPickerRunner(
        [&answers](dialogs::KeyPickerDialog& dialog) { answerKeyPicker(dialog, answers); });
    e.ornaments.setGraceDialogRunner(
        [&answers](dialogs::GraceNotesDialog& dialog) { answerGraceNotes(dialog, answers); });
    notation::DrumStore drums;
    QString error;
    if (!scoretool::LoadScore(args[0], e.form.editor(), frame::Process().ScoreHeader, drums, error)) {
        scoretool::err(error);
        return 1;
    }
    e.editing.undo().Reset();
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const Step& step = steps[i];
        switch (step.kind) {
        case Step::Kind::Sel:
            e.form.editor().select(step.values[0].toInt(), step.values[1].toInt());
            break;
        case Step::Kind::Keys:
            if (!scoretool::PressKeys(e.form, step.values[0]))
                return 2;
            break;
        case Step::Kind::Cmd: {
            const bool answered = i + 1 < steps.size() && steps[i + 1].kind == Step::Kind::Answer;
            answers = answered ? steps[i + 1].values[0].split(u';') : QStringList();
            if (!runCommand(e, step.values[0], step.values[1]))
                return 2;
            break;
        }
        case Step::Kind::Answer:
            break;
        }
        QCoreApplication::processEvents();
    }
    e.editing.undo().FlushSnapshot();
    const QString rtf = e.form.editor().TextRTF();
    if (!scoretool::WriteOutputFile(args.back(), rtf.toLatin1()))
        return 1;
    scoretool::PrintRuns(scoretool::WrittenContent(e.form.editor()));
    scoretool::out(
        QStringLiteral("SEL %1 %2").arg(e.form.editor().SelStart()).arg(e.form.editor().SelLength()));
    for (const editor::StatusPanel panel :
        { editor::StatusPanel::Brush, editor::StatusPanel::FontSize, editor::StatusPanel::Hint }) {
        const QString text = e.form.statusPanels().panelText(panel);
        if (!text.isEmpty())
            scoretool::out(QStringLiteral("PANEL %1 %2").arg(int(panel)).arg(text));
    }
    return 0;
}

} // namespace

SCORETOOL_COMMAND("edit",
    "IN --sel START LEN [--keys \"KEYS\" | --sel START LEN | --cmd NAME ARG | --answer \"A;B\"]... OUT.rtf   "
    "type keys, select and run commands in the editor in order, write the result and print its runs, the "
    "selection and status panels 7, 8 and 10",
    edit);
