#include "tests/tools/command_registry.h"
#include "tests/tools/drum_window.h"
#include "tests/tools/score_loading.h"

#include "app/drums/accompaniment_dialog.h"
#include "app/drums/accompaniment_styles.h"
#include "app/drums/choice_list.h"
#include "app/drums/rap_dialog.h"
#include "app/drums/time_signature_rows.h"
#include "app/notation/accompaniment.h"
#include "app/playback/play_note.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>

// The percussion sound and accompaniment style dialogs driven from the command line, and the time
// signatures of the drum editor.
namespace {

using namespace tunvale;

// Settings and the user folder of a test run; prompts printed.
void TestRun()
{
    QStandardPaths::setTestModeEnabled(true);
    platform::Prompts::install(std::make_unique<scoretool::PrintedPrompts>());
}

int rap(const QStringList& args)
{
    const QString usage = QStringLiteral("usage: scoretool rap FILE ACTION...  (switch | pick I | show, "
                                         "then ok | cancel | close)");
    if (args.isEmpty()) {
        scoretool::err(usage);
        return 2;
    }
    TestRun();
    platform::RichTextBox box;
    notation::ScoreHeader header;
    notation::DrumStore drums;
    QString error;
    if (!scoretool::LoadScore(args[0], box, header, drums, error)) {
        scoretool::err(error);
        return 1;
    }
    header.ScoreSaved = true;
    playback::PlayNote player(scoretool::DrumNoteDevices(true));
    drums::RapDialog dialog(player, header);
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& action = args[i];
        if (action == QStringLiteral("switch")) {
            QTest::mouseClick(dialog.Label1, Qt::LeftButton);
        } else if (action == QStringLiteral("pick") && i + 1 < args.size()) {
            dialog.ComboDrum->choose(args[++i].toInt());
        } else if (action == QStringLiteral("show")) {
            scoretool::out(
                dialog.showsFullList() ? QStringLiteral("list full") : QStringLiteral("list common"));
            scoretool::out(QStringLiteral("count %1").arg(dialog.ComboDrum->count()));
            scoretool::out(QStringLiteral("index %1").arg(dialog.ComboDrum->currentIndex()));
            scoretool::out(QStringLiteral("tip ") + dialog.Label1->toolTip());
        } else if (action == QStringLiteral("ok")) {
            dialog.Command1->click();
        } else if (action == QStringLiteral("cancel")) {
            dialog.Command2->click();
        } else if (action == QStringLiteral("close")) {
            QCloseEvent close;
            QCoreApplication::sendEvent(&dialog, &close);
        } else {
            scoretool::err(QStringLiteral("bad action %1").arg(action));
            scoretool::err(usage);
            return 2;
        }
    }
    scoretool::out(
        QStringLiteral("RapDrum %1 ScoreSaved %2").arg(header.RapDrum).arg(header.ScoreSaved ? -1 : 0));
    return 0;
}

void showStyles(const drums::AccompanimentDialog& dialog)
{
    for (int i = 0; i < dialog.myDrumList->count(); ++i)
        scoretool::out(QStringLiteral("style %1 %2").arg(i).arg(dialog.myDrumList->item(i)->text()));
    scoretool::out(QStringLiteral("name ") + dialog.Text1->text());
    for (int k = 0; k < notation::AccompClassCount; ++k)
        scoretool::out(
            QStringLiteral("combo %1 %2").arg(k).arg(dialog.ComboDrum[std::size_t(k)]->currentIndex()));
}

int setpz(const QStringList& args)
{
    const QString usage = QStringLiteral("usage: scoretool setpz ACTION...  (dbl I | name TEXT | combo K I | "
                                         "show, then ok | cancel)");
    TestRun();
    const drums::AccompanimentStyles styles = drums::AccompanimentStyles::load();
    drums::AccompanimentDialog dialog(styles);
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& action = args[i];
        const bool hasArgument = i + 1 < args.size();
        if (action == QStringLiteral("dbl") && hasArgument) {
            const int row = args[++i].toInt();
            dialog.myDrumList->setCurrentRow(row);
            if (row < 0)
                dialog.myDrumList->clearSelection();
            const QRect item
                = row >= 0 ? dialog.myDrumList->visualItemRect(dialog.myDrumList->item(row)) : QRect();
            QTest::mouseDClick(dialog.myDrumList->viewport(), Qt::LeftButton, {},
                row >= 0 ? item.center() : QPoint(2, dialog.myDrumList->viewport()->height() - 2));
        } else if (action == QStringLiteral("name") && hasArgument) {
            dialog.Text1->setText(args[++i]);
        } else if (action == QStringLiteral("combo") && i + 2 < args.size()) {
            const int k = args[++i].toInt();
            const int index = args[++i].toInt();
            if (k < 0 || k >= notation::AccompClassCount)
                return 2;
            dialog.ComboDrum[std::size_t(k)]->choose(index);
        } else if (action == QStringLiteral("show")) {
            showStyles(dialog);
        } else if (action == QStringLiteral("ok")) {
            dialog.Command1->click();
        } else if (action == QStringLiteral("cancel")) {
            dialog.Command2->click();
        } else {
            scoretool::err(QStringLiteral("bad action %1").arg(action));
            scoretool::err(usage);
            return 2;
        }
    }
    return 0;
}

int timesig(const QStringList&)
{
    const auto& rows = drums::TimeSignatureRows();
    for (int i = 0; i < drums::kTimeSignatureRows; ++i) {
        const drums::TimeSignatureRow& row = rows[std::size_t(i)];
        scoretool::out(QStringLiteral("%1\t%2\t%3\t%4")
                           .arg(i)
                           .arg(row.item, row.accents,
                               row.barEnd() < 0 ? QStringLiteral("-") : QString::number(row.barEnd())));
    }
    return 0;
}

} // namespace

SCORETOOL_COMMAND("rap",
    "FILE ACTION...  the percussion sound dialog on the score's sound; prints the sounds heard and what "
    "is stored",
    rap);
SCORETOOL_COMMAND("setpz", "ACTION...  the accompaniment style dialog on the program folder's styles", setpz);
SCORETOOL_COMMAND(
    "timesig", "the drum editor's time signatures: index, item, accents, bar-end step", timesig);
