#include "tests/tools/bar_line_edits.h"
#include "tests/tools/command_registry.h"

#include "app/drums/bar_strip.h"
#include "app/drums/drum_record_mime.h"
#include "app/editor/actions/menu_items.h"
#include "app/editor/parts/main_form_drums.h"
#include "app/editor/parts/main_form_editing.h"
#include "app/editor/window/main_form.h"
#include "app/editor/window/start_up.h"
#include "app/editor/window/status_panels.h"
#include "app/editor/window/wheel_filter.h"
#include "app/frame/process_state.h"
#include "app/notation/drum_accessor.h"
#include "app/playback/playback_state.h"
#include "platform/desktop/notation_fonts.h"
#include "platform/desktop/prompts.h"
#include "platform/midi/recording_sink.h"

#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QScopeGuard>
#include <QStandardPaths>

#include <deque>

namespace {

using namespace tunvale;
using drums::BarStrip;
using platform::PromptAnswer;

const QString kUsage = QStringLiteral(
    "usage: scoretool drumops FILE CMD...  (caret BAR | click BAR left|right|middle [ctrl|shift] | "
    "menu BAR ITEM [yes|no] | patterns | pattern I | drop BAR T | bars AT +N|-N | hover BAR | undo | "
    "redo | names | panel N)");

// Questions are printed and answered from the command line (Yes unless told).
class PrintedPrompts final : public platform::Prompts
{
public:
    PromptAnswer ask(const platform::PromptRequest& request) override
    {
        scoretool::out(QStringLiteral("prompt ") + request.text);
        if (answers.empty())
            return request.buttons == platform::PromptButtons::YesNo ? PromptAnswer::Yes
                                                                     : request.defaultAnswer;
        const PromptAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::optional<QString> input(const QString& prompt, const QString&, const QString& text) override
    {
        scoretool::out(QStringLiteral("input ") + prompt);
        return text;
    }
    void beep() override { scoretool::out(QStringLiteral("beep")); }

    std::deque<PromptAnswer> answers;
};

// The built-in synthesizer records what it is sent; no sound, no soundfont.
class SilentDevices final : public platform::MidiDevices
{
public:
    std::unique_ptr<platform::MidiOut> builtIn() override
    {
        return std::make_unique<platform::RecordingSink>(
            std::make_shared<platform::MidiRecording>(), QStringLiteral("内置合成器"));
    }
    QStringList portNames() override { return {}; }
    std::unique_ptr<platform::MidiOut> port(const QString&) override { return nullptr; }
};

QString colourText(int bgr)
{
    return QStringLiteral("%1%2%3")
        .arg(bgr & 0xFF, 2, 16, QLatin1Char('0'))
        .arg(bgr >> 8 & 0xFF, 2, 16, QLatin1Char('0'))
        .arg(bgr >> 16 & 0xFF, 2, 16, QLatin1Char('0'))
        .toUpper();
}

// What a menu item's caption shows: "&&" is an "&", a single "&" marks the shortcut.
QString shownCaption(const QString& text)
{
    QString shown;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size())
            ++i;
        shown += text[i];
    }
    return shown;
}

class DrumSession
{
public:
    DrumSession(editor::MainForm& form, PrintedPrompts& prompts)
        : form_(form)
        , strip_(form.barStrip())
        , prompts_(prompts)
    {
    }

    // Runs one command from the front of `args`; false (with a message) for a bad one.
    bool run(QStringList& args);

private:
    editor::MainFormDrums& drums() const { return form_.part<editor::MainFormDrums>(); }
    void settle() const { QCoreApplication::processEvents(); }
    // The label showing `bar`, after scrolling the strip to it when it is out of view.
    int labelOf(int bar);
    void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers keys = {});
    void click(QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers keys = {});
    bool trigger(QAction* item, const QString& name);
    void openInsertMenu();
    void printFlags() const;

    editor::MainForm& form_;
    BarStrip& strip_;
    PrintedPrompts& prompts_;
};

int DrumSession::labelOf(int bar)
{
    if (strip_.labelOfBar(bar) < 0)
        strip_.setMyXj(bar);
    return strip_.labelOfBar(bar);
}

void DrumSession::mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers keys)
{
    const Qt::MouseButtons held
        = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, at, strip_.mapToGlobal(at), button, held, keys);
    QApplication::sendEvent(&strip_, &event);
}

void DrumSession::click(QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers keys)
{
    mouse(QEvent::MouseMove, at, Qt::NoButton, keys);
    mouse(QEvent::MouseButtonPress, at, button, keys);
    mouse(QEvent::MouseButtonRelease, at, button, keys);
    settle();
}

bool DrumSession::trigger(QAction* item, const QString& name)
{
    if (!item) {
        scoretool::err(QStringLiteral("no item %1").arg(name));
        return false;
    }
    if (item->isEnabled())
        item->trigger();
    else
        scoretool::out(QStringLiteral("disabled ") + name);
    settle();
    return true;
}

void DrumSession::openInsertMenu()
{
    QMenu* insert = form_.menu(QStringLiteral("My_instr"));
    insert->popup(QPoint());
    insert->hide();
}

void DrumSession::printFlags() const
{
    QString flags;
    for (const notation::DrumRecord& record : notation::ProcessDrumStores().XjDrums)
        flags += record.HaveDrum == 1 ? u'1' : u'0';
    scoretool::out(QStringLiteral("flags %1 bar %2").arg(flags).arg(strip_.MyXj()));
}

bool DrumSession::run(QStringList& args)
{
    const QString command = args.takeFirst();
    const auto take
        = [&args](bool& ok) { return args.isEmpty() ? (ok = false, QString()) : args.takeFirst(); };
    bool ok = true;
    if (command == QStringLiteral("caret")) {
        const int e = labelOf(take(ok).toInt());
        if (e < 0)
            return false;
        click(strip_.labelCentre(e), Qt::LeftButton);
    } else if (command == QStringLiteral("click")) {
        const int e = labelOf(take(ok).toInt());
        const QString side = take(ok);
        Qt::KeyboardModifiers keys;
        if (!args.isEmpty()
            && (args.front() == QStringLiteral("ctrl") || args.front() == QStringLiteral("shift")))
            keys = args.takeFirst() == QStringLiteral("ctrl") ? Qt::ControlModifier : Qt::ShiftModifier;
        const Qt::MouseButton button = side == QStringLiteral("right") ? Qt::RightButton
            : side == QStringLiteral("middle")                         ? Qt::MiddleButton
                                                                       : Qt::LeftButton;
        if (e < 0 || !ok)
            return false;
        click(strip_.labelCentre(e), button, keys);
        strip_.ABC->hide();
    } else if (command == QStringLiteral("menu")) {
        const int bar = take(ok).toInt();
        const QString name = take(ok);
        if (!ok)
            return false;
        if (!args.isEmpty()
            && (args.front() == QStringLiteral("yes") || args.front() == QStringLiteral("no")))
            prompts_.answers.push_back(
                args.takeFirst() == QStringLiteral("yes") ? PromptAnswer::Yes : PromptAnswer::No);
        const bool arrowMenu = name == QStringLiteral("SetSpeed") || name == QStringLiteral("ToLeft")
            || name == QStringLiteral("ToRight");
        if (arrowMenu) {
            click(strip_.arrowCentre(drums::Arrow::Left), Qt::RightButton);
        } else {
            const int e = labelOf(bar);
            if (e < 0)
                return false;
            click(strip_.labelCentre(e), Qt::RightButton);
        }
        QMenu* menu = arrowMenu ? strip_.CDE : strip_.ABC;
        const bool opened = menu->isVisible();
        menu->hide();
        if (!opened)
            scoretool::out(QStringLiteral("disabled ") + name);
        else if (!trigger(strip_.findChild<QAction*>(name), name))
            return false;
        prompts_.answers.clear();
    } else if (command == QStringLiteral("patterns")) {
        openInsertMenu();
        if (!form_.action(QStringLiteral("Drum"))->isEnabled())
            scoretool::out(QStringLiteral("disabled Drum"));
        const editor::MenuItems& menus = form_.menus();
        for (int i = 0; i <= menus.upperBound(QStringLiteral("DrumArray")); ++i)
            scoretool::out(QStringLiteral("pattern %1 %2")
                               .arg(i)
                               .arg(shownCaption(form_.action(QStringLiteral("DrumArray"), i)->text())));
    } else if (command == QStringLiteral("pattern")) {
        const int i = take(ok).toInt();
        if (!ok)
            return false;
        openInsertMenu();
        if (!form_.action(QStringLiteral("Drum"))->isEnabled())
            scoretool::out(QStringLiteral("disabled Drum"));
        else if (!trigger(
                     form_.action(QStringLiteral("DrumArray"), i), QStringLiteral("DrumArray(%1)").arg(i)))
            return false;
    } else if (command == QStringLiteral("drop")) {
        const int e = labelOf(take(ok).toInt());
        const int t = take(ok).toInt();
        const notation::DrumStore& templates = notation::ProcessDrumStores().DrumTemplates;
        if (e < 0 || !ok || t < 0 || t >= int(templates.size()))
            return false;
        QMimeData data;
        data.setData(drums::DrumRecordMimeType, drums::DrumRecordBytes(templates[std::size_t(t)]));
        const QPoint at = strip_.labelCentre(e);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(&strip_, &enter);
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(&strip_, &drop);
        settle();
    } else if (command == QStringLiteral("bars")) {
        const int at = take(ok).toInt();
        const QString change = take(ok);
        const int n = change.mid(1).toInt();
        if (!ok || (!change.startsWith(u'+') && !change.startsWith(u'-')))
            return false;
        const bool done = change.startsWith(u'+') ? testing::InsertBarLines(form_, at, n)
                                                  : testing::DeleteBars(form_, at, n);
        if (!done)
            scoretool::out(QStringLiteral("no bars %1 %2").arg(at).arg(change));
        settle();
    } else if (command == QStringLiteral("hover")) {
        const int e = labelOf(take(ok).toInt());
        if (e < 0 || !ok)
            return false;
        mouse(QEvent::MouseMove, strip_.labelCentre(e), Qt::NoButton);
        const drums::BarHint& hint = drums().lastHint();
        if (drums().shortHints()) {
            scoretool::out(
                hint.toolTip ? QStringLiteral("tip ") + *hint.toolTip : QStringLiteral("tip unchanged"));
        } else if (hint.balloon == drums::BarHint::Balloon::Filled) {
            const drums::BarBalloon& b = hint.filled;
            scoretool::out(QStringLiteral("balloon title=%1 fore=%2 back=%3 icon=%4 mode=%5")
                               .arg(b.title, colourText(b.foreColor), colourText(b.backColor))
                               .arg(b.icon)
                               .arg(b.showMode));
            scoretool::out(QStringLiteral("text ") + QString(b.text).replace(u'\n', QStringLiteral("\\n")));
        } else {
            scoretool::out(hint.balloon == drums::BarHint::Balloon::Default
                    ? QStringLiteral("balloon default")
                    : QStringLiteral("balloon unchanged"));
        }
    } else if (command == QStringLiteral("undo") || command == QStringLiteral("redo")) {
        const QString name
            = command == QStringLiteral("undo") ? QStringLiteral("mnuUnDo") : QStringLiteral("mnuRedo");
        trigger(form_.action(name), name);
    } else if (command == QStringLiteral("names")) {
        notation::DrumAccessor drum(notation::ProcessDrumStores());
        drum.DrumType(notation::DrumAccessor::XjDrums);
        for (int i = 0; i < drum.recordCount(); ++i)
            scoretool::out(QStringLiteral("record %1 %2").arg(i).arg(drum.DrumName(i)));
    } else if (command == QStringLiteral("panel")) {
        const int n = take(ok).toInt();
        if (!ok || n < 1 || n > editor::StatusPanels::kPanelCount)
            return false;
        scoretool::out(QStringLiteral("panel ") + form_.statusPanels().panelText(editor::StatusPanel(n)));
    } else {
        return false;
    }
    printFlags();
    return true;
}

int drumops(const QStringList& args)
{
    if (args.size() < 1) {
        scoretool::err(kUsage);
        return 2;
    }
    // Settings and the user folder of a test run, not the user's own.
    QStandardPaths::setTestModeEnabled(true);
    auto owned = std::make_unique<PrintedPrompts>();
    PrintedPrompts& prompts = *owned;
    platform::Prompts::install(std::move(owned));
    platform::loadNotationFonts();

    editor::SetStartValues();
    frame::Process().ScoreHeader.CurrentFile = args[0];
    editor::MainFormServices services;
    services.midiDevices = std::make_unique<SilentDevices>();
    auto form = std::make_unique<editor::MainForm>(std::move(services));
    const auto release = qScopeGuard([&form] {
        form.reset();
        playback::NotePlayer.reset();
        editor::UnhookWheel();
    });
    if (!form->load()) {
        scoretool::err(QStringLiteral("cannot open %1").arg(args[0]));
        return 1;
    }
    if (!form->action(QStringLiteral("GroupBar"), 0)->isChecked())
        form->action(QStringLiteral("GroupBar"), 0)->trigger();
    form->resize(1280, 900);
    form->show();
    QCoreApplication::processEvents();

    DrumSession session(*form, prompts);
    QStringList rest = args.mid(1);
    while (!rest.isEmpty()) {
        const QString command = rest.front();
        if (!session.run(rest)) {
            scoretool::err(QStringLiteral("bad command %1").arg(command));
            scoretool::err(kUsage);
            return 2;
        }
    }
    return 0;
}

} // namespace

SCORETOOL_COMMAND("drumops",
    "FILE CMD...  run bar strip and drum commands in the window offscreen and print the records' flags",
    drumops);
