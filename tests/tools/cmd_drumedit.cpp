#include "tests/tools/command_registry.h"
#include "tests/tools/drum_window.h"

#include "app/drums/bar_strip.h"
#include "app/drums/choice_list.h"
#include "app/drums/drum_editor.h"
#include "app/drums/drum_record_mime.h"
#include "app/drums/step_grid.h"
#include "app/drums/template_list.h"
#include "app/editor/parts/main_form_drum_editor.h"
#include "app/editor/parts/main_form_playback.h"
#include "app/editor/window/main_form.h"
#include "app/editor/window/main_toolbar.h"
#include "platform/text/hex_text.h"

#include <QAction>
#include <QCheckBox>
#include <QDragEnterEvent>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QTest>

namespace {

using namespace tunvale;
using drums::DrumEditor;
using platform::PromptAnswer;

const QString kUsage = QStringLiteral(
    "usage: scoretool drumedit FILE BAR ACTION...  (answer yes|no|ok|cancel|TEXT | name TEXT | have 0|1 | "
    "track T on|off | sound T I | volume T TEXT | pan T V | mirror | step T S | time I | speed TEXT | "
    "clear | width | save | send | sendto | select I | edit | delete | sendsong | try | audition | "
    "drop | open BAR | undo | close | show | record | templates | flags | names | panel N)");

// Each character as a keyboard types it; one that no key of the test library spells (beyond ASCII, or a
// control character) comes as the text of an unknown key, as an input method gives it.
void typeText(QWidget* widget, const QString& text)
{
    for (const char32_t c : text.toUcs4()) {
        if (c >= 0x20 && c < 0x7F) {
            QTest::keyClick(widget, char(c));
            continue;
        }
        const QString typed = QString::fromUcs4(&c, 1);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, typed);
        QCoreApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, typed);
        QCoreApplication::sendEvent(widget, &release);
    }
}

class EditorSession
{
public:
    explicit EditorSession(scoretool::DrumWindow& window)
        : window_(window)
        , form_(*window.form())
    {
    }

    // Double-clicks the label of `bar` on the strip; false when no label shows it.
    bool open(int bar);
    // Runs one action from the front of `args`; false for a bad one.
    bool run(QStringList& args);

private:
    DrumEditor* editor() const { return form_.part<editor::MainFormDrumEditor>().drumEditor(); }
    void settle() const { QCoreApplication::processEvents(); }
    bool editorAction(const QString& action, QStringList& args);
    void templateItem(QAction* item);
    void waitForAudition();
    void show(const DrumEditor& e) const;

    scoretool::DrumWindow& window_;
    editor::MainForm& form_;
};

bool EditorSession::open(int bar)
{
    const int label = window_.labelOf(bar);
    if (label < 0)
        return false;
    QTest::mouseDClick(&window_.strip(), Qt::LeftButton, {}, window_.strip().labelCentre(label));
    settle();
    return true;
}

bool EditorSession::run(QStringList& args)
{
    const QString action = args.takeFirst();
    bool ok = true;
    const auto take = [&args, &ok] { return args.isEmpty() ? (ok = false, QString()) : args.takeFirst(); };
    if (action == QStringLiteral("answer")) {
        const QString a = take();
        static const QMap<QString, PromptAnswer> buttons { { QStringLiteral("yes"), PromptAnswer::Yes },
            { QStringLiteral("no"), PromptAnswer::No }, { QStringLiteral("ok"), PromptAnswer::Ok },
            { QStringLiteral("cancel"), PromptAnswer::Cancel } };
        if (buttons.contains(a))
            window_.prompts().answers.emplace_back(buttons.value(a));
        else
            window_.prompts().answers.emplace_back(a);
        return ok;
    }
    if (action == QStringLiteral("open"))
        return open(take().toInt(&ok)) && ok;
    if (action == QStringLiteral("undo")) {
        QAction* undo = form_.toolbar().button(editor::ToolbarButton::Undo);
        if (undo->isEnabled())
            undo->trigger();
        else
            scoretool::out(QStringLiteral("disabled undo"));
        settle();
        return true;
    }
    if (action == QStringLiteral("flags")) {
        window_.printFlags();
        return true;
    }
    if (action == QStringLiteral("names")) {
        window_.printNames();
        return true;
    }
    if (action == QStringLiteral("panel"))
        return window_.printPanel(take().toInt());
    if (!editor() || !editor()->isOpen()) {
        scoretool::out(QStringLiteral("closed ") + action);
        return true;
    }
    return editorAction(action, args);
}

bool EditorSession::editorAction(const QString& action, QStringList& args)
{
    DrumEditor& e = *editor();
    bool ok = true;
    const auto take = [&args, &ok] { return args.isEmpty() ? (ok = false, QString()) : args.takeFirst(); };
    const auto number = [&] {
        bool isNumber = false;
        const int n = take().toInt(&isNumber);
        ok = ok && isNumber;
        return n;
    };
    const auto track = [&] {
        const int t = number();
        ok = ok && t >= 0 && t < DrumEditor::kTracks;
        return ok ? t : 0;
    };
    if (action == QStringLiteral("name")) {
        e.Text1->setText(take());
    } else if (action == QStringLiteral("have")) {
        e.CheckHaveDrum->setChecked(number() != 0);
    } else if (action == QStringLiteral("track")) {
        const int t = track();
        e.CheckChannel[t]->setChecked(take() == QStringLiteral("on"));
    } else if (action == QStringLiteral("sound")) {
        const int t = track();
        const int i = number();
        if (ok)
            e.ComboDrum[t]->choose(i);
    } else if (action == QStringLiteral("volume")) {
        const int t = track();
        e.TextVolume[t]->setText(take());
    } else if (action == QStringLiteral("pan")) {
        const int t = track();
        e.Slider_Drum[t]->setValue(number());
    } else if (action == QStringLiteral("mirror")) {
        QTest::mouseClick(e.Image1, Qt::LeftButton);
    } else if (action == QStringLiteral("width")) {
        QTest::mouseClick(e.Label2, Qt::LeftButton);
    } else if (action == QStringLiteral("step")) {
        const int t = track();
        const int s = number();
        if (ok && (s < 0 || s >= notation::DrumRecord::Steps))
            return false;
        QTest::mouseClick(e.Label5, Qt::LeftButton, {}, e.Label5->cellCentre(t, s));
    } else if (action == QStringLiteral("time")) {
        const int i = number();
        if (ok)
            e.ComboTime->choose(i);
    } else if (action == QStringLiteral("speed")) {
        e.Text_Speed->selectAll();
        typeText(e.Text_Speed, take());
        QTest::keyClick(e.Text_Speed, Qt::Key_Return);
    } else if (action == QStringLiteral("clear")) {
        e.CmdClear->click();
    } else if (action == QStringLiteral("save") || action == QStringLiteral("send")
        || action == QStringLiteral("sendto")) {
        const int item = action == QStringLiteral("save") ? 0 : action == QStringLiteral("send") ? 2 : 3;
        e.SaveJmD[std::size_t(item)]->trigger();
    } else if (action == QStringLiteral("select")) {
        const int row = number();
        e.myDrumList->setCurrentRow(row);
        if (row < 0)
            e.myDrumList->clearSelection();
    } else if (action == QStringLiteral("edit")) {
        templateItem(e.munEditForDat);
    } else if (action == QStringLiteral("delete")) {
        templateItem(e.munDelDataDrum);
    } else if (action == QStringLiteral("sendsong")) {
        templateItem(e.munSendForSong);
    } else if (action == QStringLiteral("try")) {
        templateItem(e.ModAudition);
        waitForAudition();
    } else if (action == QStringLiteral("audition")) {
        e.CmdAudition->click();
        waitForAudition();
    } else if (action == QStringLiteral("drop")) {
        // The selected row dragged onto the name box.
        QMimeData data;
        data.setData(drums::DrumRecordMimeType,
            drums::DrumRecordBytes(e.myDrumList->record(e.myDrumList->currentRow())));
        const QPoint at = e.Text1->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(e.Text1, &enter);
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(e.Text1, &drop);
    } else if (action == QStringLiteral("close")) {
        e.close();
    } else if (action == QStringLiteral("show")) {
        show(e);
    } else if (action == QStringLiteral("record")) {
        scoretool::out(
            QStringLiteral("bytes ") + platform::BytesToHex(drums::DrumRecordBytes(e.BuildDrumRecord())));
    } else if (action == QStringLiteral("templates")) {
        for (int i = 0; i < e.myDrumList->count(); ++i)
            scoretool::out(QStringLiteral("template %1 %2").arg(i).arg(e.myDrumList->item(i)->text()));
    } else {
        return false;
    }
    settle();
    return ok;
}

// The list's menu opens on the selection, as a right click opens it; an item it leaves off does nothing.
void EditorSession::templateItem(QAction* item)
{
    QMenu* menu = editor()->munMyDrum;
    menu->popup(QPoint());
    menu->hide();
    if (item->isEnabled())
        item->trigger();
    else
        scoretool::out(QStringLiteral("disabled ") + item->objectName());
}

void EditorSession::waitForAudition()
{
    const playback::PlayCommands& commands = form_.part<editor::MainFormPlayback>().commands();
    QElapsedTimer waited;
    waited.start();
    while (commands.PlayBusy() && waited.elapsed() < 20000)
        QTest::qWait(20);
    settle();
    const DrumEditor* e = editor();
    scoretool::out(e && e->isOpen() && e->CmdAudition->isEnabled() ? QStringLiteral("controls on")
                                                                   : QStringLiteral("controls off"));
}

void EditorSession::show(const DrumEditor& e) const
{
    scoretool::out(QStringLiteral("name ") + e.Text1->text());
    scoretool::out(QStringLiteral("have %1").arg(e.CheckHaveDrum->isChecked() ? 1 : 0));
    scoretool::out(QStringLiteral("time %1").arg(e.ComboTime->currentIndex()));
    scoretool::out(QStringLiteral("label7 ") + e.Label7->text());
    scoretool::out(QStringLiteral("line4 %1").arg(e.Label5->barEnd()));
    scoretool::out(QStringLiteral("speed %1").arg(e.Text_Speed->value()));
    for (int t = 0; t < DrumEditor::kTracks; ++t)
        scoretool::out(QStringLiteral("track %1 %2 %3 %4 %5 %6")
                           .arg(t)
                           .arg(e.CheckChannel[t]->isChecked() ? QStringLiteral("on") : QStringLiteral("off"))
                           .arg(e.ComboDrum[t]->currentIndex())
                           .arg(e.TextVolume[t]->text())
                           .arg(e.Slider_Drum[t]->value())
                           .arg(e.Label5->stepText(t)));
}

int drumedit(const QStringList& args)
{
    bool isBar = false;
    const int bar = args.size() >= 2 ? args[1].toInt(&isBar) : 0;
    if (!isBar) {
        scoretool::err(kUsage);
        return 2;
    }
    scoretool::DrumWindow window(args[0], true);
    if (!window.form())
        return 1;
    EditorSession session(window);
    if (!session.open(bar)) {
        scoretool::err(QStringLiteral("no bar %1").arg(bar));
        return 2;
    }
    QStringList rest = args.mid(2);
    while (!rest.isEmpty()) {
        const QString action = rest.front();
        if (!session.run(rest)) {
            scoretool::err(QStringLiteral("bad action %1").arg(action));
            scoretool::err(kUsage);
            return 2;
        }
    }
    return 0;
}

} // namespace

SCORETOOL_COMMAND("drumedit",
    "FILE BAR ACTION...  open the drum editor on a bar (0-based) of the window offscreen and run its "
    "controls",
    drumedit);
