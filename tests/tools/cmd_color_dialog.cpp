#include "tests/tools/command_registry.h"
#include "tests/tools/window_loading.h"

#include "app/dialogs/color_dialog.h"
#include "app/dialogs/color_picker.h"
#include "app/editor/parts/main_form_editing.h"
#include "app/frame/process_state.h"
#include "platform/richtext/rich_text_edit.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

#include <deque>

namespace {

using namespace tunvale;
using dialogs::ColorOption;

// Answers the pickers in the order of the command line.
class ScriptedPicker final : public dialogs::ColorPicker
{
public:
    std::optional<std::int32_t> pick(QWidget*, std::int32_t) override
    {
        ++shown;
        if (answers.empty())
            return std::nullopt;
        const std::optional<std::int32_t> answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::deque<std::optional<std::int32_t>> answers;
    int shown = 0;
};

struct Action {
    bool pick = false; // else an access key
    int option = 0;
    std::optional<std::int32_t> color;
};

enum class Close { Ok, Cancel, Esc, CloseBox };

struct Script {
    QString in;
    QString out;
    std::optional<std::pair<int, int>> selection;
    bool checks[3] = { false, false, false };
    std::vector<Action> actions;
    std::optional<Close> close;
};

QString rrggbb(const QColor& color)
{
    return QStringLiteral("%1%2%3")
        .arg(color.red(), 2, 16, QChar(u'0'))
        .arg(color.green(), 2, 16, QChar(u'0'))
        .arg(color.blue(), 2, 16, QChar(u'0'))
        .toUpper();
}

// RRGGBB as the stored &H00BBGGRR.
std::optional<std::int32_t> storedColor(const QString& text)
{
    bool ok = false;
    const uint rgb = text.toUInt(&ok, 16);
    if (!ok || text.size() != 6)
        return std::nullopt;
    return std::int32_t((rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16);
}

std::optional<Script> parse(const QStringList& args)
{
    if (args.size() < 3)
        return std::nullopt;
    Script script;
    script.in = args[0];
    script.out = args[1];
    for (int i = 2; i < args.size(); ++i) {
        const QString& a = args[i];
        const auto number = [&](int at) {
            bool ok = false;
            const int n = args.value(at).toInt(&ok);
            return ok ? std::optional<int>(n) : std::nullopt;
        };
        if (a == QStringLiteral("--sel") && number(i + 1) && number(i + 2)) {
            script.selection = std::pair { *number(i + 1), *number(i + 2) };
            i += 2;
        } else if (a.startsWith(QStringLiteral("--check")) && a.size() == 8 && a[7] >= u'1' && a[7] <= u'3') {
            script.checks[a[7].unicode() - u'1'] = true;
        } else if (a == QStringLiteral("--pick") && number(i + 1) && *number(i + 1) >= 0
            && *number(i + 1) <= 4) {
            const QString answer = args.value(i + 2);
            const std::optional<std::int32_t> color = storedColor(answer);
            if (!color && answer != QStringLiteral("cancel"))
                return std::nullopt;
            script.actions.push_back({ true, *number(i + 1), color });
            i += 2;
        } else if (a == QStringLiteral("--key") && number(i + 1) && *number(i + 1) >= 0
            && *number(i + 1) <= 4) {
            script.actions.push_back({ false, *number(i + 1), std::nullopt });
            i += 1;
        } else if (!script.close && a == QStringLiteral("--ok")) {
            script.close = Close::Ok;
        } else if (!script.close && a == QStringLiteral("--cancel")) {
            script.close = Close::Cancel;
        } else if (!script.close && a == QStringLiteral("--esc")) {
            script.close = Close::Esc;
        } else if (!script.close && a == QStringLiteral("--close")) {
            script.close = Close::CloseBox;
        } else {
            return std::nullopt;
        }
    }
    if (!script.close)
        return std::nullopt;
    return script;
}

QColor backgroundAt(const platform::RichTextBox& box, int position)
{
    QTextCursor cursor(box.document());
    cursor.setPosition(box.toDocumentPosition(position));
    cursor.setPosition(box.toDocumentPosition(position + 1), QTextCursor::KeepAnchor);
    return cursor.charFormat().background().color();
}

// Runs the script on the open dialog and returns the sample's lines as shown at closing.
QStringList runDialog(dialogs::ColorDialog& dialog, const Script& script, ScriptedPicker& picker)
{
    scoretool::out(QStringLiteral("check1 %1").arg(scoretool::onOff(dialog.lyricsOnly()->isEnabled())));
    scoretool::out(QStringLiteral("check2 %1").arg(scoretool::onOff(dialog.notationOnly()->isEnabled())));
    QCheckBox* checks[3] = { dialog.lyricsOnly(), dialog.notationOnly(), dialog.saveAsInitial() };
    for (int i = 0; i < 3; ++i) {
        if (script.checks[i])
            checks[i]->click();
    }
    for (const Action& action : script.actions) {
        QRadioButton* option = dialog.option(ColorOption(action.option));
        if (action.pick) {
            picker.answers.push_back(action.color);
            QTest::mousePress(option, Qt::LeftButton);
        } else {
            QTest::keySequence(&dialog, QKeySequence::mnemonic(option->text()));
            QTest::qWait(250); // an access key clicks its button as a short animation
        }
    }
    platform::RichTextBox& sample = dialog.sample();
    const auto colorAt = [&](int position) {
        sample.select(position, 1);
        return rrggbb(sample.SelColor());
    };
    QStringList lines = {
        QStringLiteral("sample back %1").arg(rrggbb(dialog.sampleView()->palette().color(QPalette::Base))),
        QStringLiteral("sample notation %1").arg(colorAt(0)),
        QStringLiteral("sample note3 %1 on %2").arg(colorAt(3), rrggbb(backgroundAt(sample, 3))),
        QStringLiteral("sample lyric %1").arg(colorAt(14)),
    };
    switch (*script.close) {
    case Close::Ok:
        dialog.okButton()->click();
        break;
    case Close::Cancel:
        dialog.cancelButton()->click();
        break;
    case Close::Esc:
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &dialog, Qt::Key_Escape);
        break;
    case Close::CloseBox:
        dialog.close();
        break;
    }
    return lines;
}

int colorDialog(const QStringList& args)
{
    const std::optional<Script> script = parse(args);
    if (!script) {
        scoretool::err(
            QStringLiteral("usage: scoretool color-dialog IN OUT.rtf [--sel START LEN] [--check1] "
                           "[--check2] [--check3] [--pick INDEX RRGGBB|cancel]... [--key INDEX]... "
                           "(--ok|--cancel|--esc|--close)"));
        return 2;
    }
    auto picker = std::make_unique<ScriptedPicker>();
    ScriptedPicker& scripted = *picker;
    editor::MainFormServices services;
    services.colorPicker = std::move(picker);
    const std::unique_ptr<editor::MainForm> form = scoretool::LoadWindow(script->in, std::move(services));
    if (!form)
        return 1;
    if (script->selection)
        form->editor().select(script->selection->first, script->selection->second);

    QStringList sampleLines;
    bool ran = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<dialogs::ColorDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        ran = true;
        sampleLines = runDialog(*dialog, *script, scripted);
    });
    form->action(QStringLiteral("MycolorSet"))->trigger();
    if (!ran) {
        scoretool::err(QStringLiteral("the colour dialog did not open"));
        return 1;
    }

    if (!scoretool::WriteOutputFile(script->out, form->editor().TextRTF().toLatin1()))
        return 1;
    const notation::ColorScheme& colors = frame::Process().ColorScheme;
    scoretool::out(QStringLiteral("picks %1").arg(scripted.shown));
    scoretool::out(QStringLiteral("EditBackColor: ") + scoretool::hex8(colors.EditBackColor));
    scoretool::out(QStringLiteral("PlayNoteColor: ") + scoretool::hex8(colors.PlayNoteColor));
    scoretool::out(QStringLiteral("PlayNoteBackColor: ") + scoretool::hex8(colors.PlayNoteBackColor));
    scoretool::out(QStringLiteral("JpLineColor: ") + scoretool::hex8(colors.JpLineColor));
    scoretool::out(QStringLiteral("LyricLineColor: ") + scoretool::hex8(colors.LyricLineColor));
    for (const QString& line : sampleLines)
        scoretool::out(line);
    scoretool::out(QStringLiteral("ScoreSaved %1").arg(frame::Process().ScoreHeader.ScoreSaved ? -1 : 0));
    editor::UndoEngine& undo = form->part<editor::MainFormEditing>().undo();
    scoretool::out(QStringLiteral("undo %1").arg(undo.getUndoCount()));
    scoretool::out(
        QStringLiteral("selection %1 %2").arg(form->editor().SelStart()).arg(form->editor().SelLength()));
    return 0;
}

} // namespace

SCORETOOL_COMMAND("color-dialog",
    "IN OUT.rtf [--sel START LEN] [--check1] [--check2] [--check3] [--pick INDEX RRGGBB|cancel]... "
    "[--key INDEX]... (--ok|--cancel|--esc|--close)   run the colour dialog on the window, write the "
    "editor's RTF and print the colours, the sample, the saved flag, the undo steps and the selection",
    colorDialog);
