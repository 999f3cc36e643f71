#include "tests/tools/command_registry.h"
#include "tests/tools/window_loading.h"

#include "app/dialogs/solfege_dialog.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

namespace {

using namespace tunvale;
using dialogs::SolfegeDialog;

struct Typing {
    int box = 0;
    QString text;
};

void printSyllablesTab(const SolfegeDialog& dialog)
{
    scoretool::out(
        QStringLiteral("tab1 command1 %1").arg(scoretool::onOff(dialog.copyButton()->isEnabled())));
    scoretool::out(QStringLiteral("text %1").arg(dialog.syllableText()->toPlainText()));
}

void runDialog(SolfegeDialog& dialog, const std::vector<Typing>& typing, bool save)
{
    printSyllablesTab(dialog);
    dialog.tabs()->setCurrentIndex(SolfegeDialog::SettingsTab);
    scoretool::out(QStringLiteral("tab2 command1 %1 command2 %2")
                       .arg(scoretool::onOff(dialog.copyButton()->isEnabled()),
                           scoretool::onOff(dialog.saveButton()->isEnabled())));
    for (int i = 0; i < SolfegeDialog::kNameCount; ++i)
        scoretool::out(QStringLiteral("box %1 %2").arg(i).arg(dialog.nameBox(i)->text()));
    for (const Typing& typed : typing) {
        QLineEdit* box = dialog.nameBox(typed.box);
        box->setText(typed.text);
        QTest::keyRelease(box, Qt::Key_End);
        scoretool::out(
            QStringLiteral("typed command2 %1").arg(scoretool::onOff(dialog.saveButton()->isEnabled())));
    }
    if (save) {
        dialog.saveButton()->click();
        scoretool::out(
            QStringLiteral("saved command2 %1").arg(scoretool::onOff(dialog.saveButton()->isEnabled())));
    }
    dialog.tabs()->setCurrentIndex(SolfegeDialog::SyllablesTab);
    printSyllablesTab(dialog);
    dialog.closeButton()->click();
}

int solfegeWindow(const QStringList& args)
{
    std::vector<Typing> typing;
    bool save = false;
    bool valid = !args.isEmpty();
    for (int i = 1; valid && i < args.size(); ++i) {
        bool ok = false;
        const int box = args.value(i + 1).toInt(&ok);
        if (args[i] == QStringLiteral("--type") && ok && box >= 0 && box < SolfegeDialog::kNameCount
            && i + 2 < args.size()) {
            typing.push_back({ box, args[i + 2] });
            i += 2;
        } else if (args[i] == QStringLiteral("--save")) {
            save = true;
        } else {
            valid = false;
        }
    }
    if (!valid) {
        scoretool::err(QStringLiteral("usage: scoretool solfege-window IN [--type I TEXT]... [--save]"));
        return 2;
    }
    const std::unique_ptr<editor::MainForm> form = scoretool::LoadWindow(args[0]);
    if (!form)
        return 1;
    bool ran = false;
    QTimer::singleShot(0, [&] {
        if (auto* dialog = qobject_cast<SolfegeDialog*>(QApplication::activeModalWidget())) {
            ran = true;
            runDialog(*dialog, typing, save);
        }
    });
    form->action(QStringLiteral("SHowCM"))->trigger();
    if (!ran) {
        scoretool::err(QStringLiteral("the solfège window did not open"));
        return 1;
    }
    return 0;
}

} // namespace

SCORETOOL_COMMAND("solfege-window",
    "IN [--type I TEXT]... [--save]   open the solfège window on the score, type into its boxes, save, and "
    "print what each tab shows",
    solfegeWindow);
