#include "tests/tools/bar_line_edits.h"
#include "tests/tools/command_registry.h"
#include "tests/tools/drum_window.h"

#include "app/drums/bar_strip.h"
#include "app/drums/drum_record_mime.h"
#include "app/editor/actions/menu_items.h"
#include "app/editor/parts/main_form_drums.h"
#include "app/editor/parts/main_form_editing.h"
#include "app/editor/window/main_form.h"
#include "platform/desktop/prompts.h"

#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>

namespace {

using namespace tunvale;
using drums::BarStrip;
using platform::PromptAnswer;

const QString kUsage = QStringLiteral(
    "usage: scoretool drumops FILE CMD...  (caret BAR | click BAR left|right|middle [ctrl|shift] | "
    "menu BAR ITEM [yes|no] | patterns | pattern I | drop BAR T | bars AT +N|-N | hover BAR | undo | "
    "redo | names | panel N)");

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
    explicit DrumSession(scoretool::DrumWindow& window)
        : window_(window)
        , form_(*window.form())
        , strip_(window.strip())
    {
    }

    // Runs one command from the front of `args`; false (with a message) for a bad one.
    bool run(QStringList& args);

private:
    editor::MainFormDrums& drums() const { return form_.part<editor::MainFormDrums>(); }
    void settle() const { QCoreApplication::processEvents(); }
    int labelOf(int bar) const { return window_.labelOf(bar); }
    void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers keys = {});
    void click(QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers keys = {});
    bool trigger(QAction* item, const QString& name);
    void openInsertMenu();

    scoretool::DrumWindow& window_;
    editor::MainForm& form_;
    BarStrip& strip_;
};

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
            window_.prompts().answers.emplace_back(
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
        window_.prompts().answers.clear();
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
        const std::optional<int> bar = scoretool::intArgument(take(ok));
        const QString change = take(ok);
        const std::optional<int> count = scoretool::intArgument(change.mid(1), 0);
        if (!ok || !bar || !count || (!change.startsWith(u'+') && !change.startsWith(u'-')))
            return false;
        const int at = *bar;
        const int n = *count;
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
        window_.printNames();
    } else if (command == QStringLiteral("panel")) {
        if (!window_.printPanel(take(ok).toInt()) || !ok)
            return false;
    } else {
        return false;
    }
    window_.printFlags();
    return true;
}

int drumops(const QStringList& args)
{
    if (args.size() < 1) {
        scoretool::err(kUsage);
        return 2;
    }
    scoretool::DrumWindow window(args[0], false);
    if (!window.form())
        return 1;
    DrumSession session(window);
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
