#include "tests/tools/command_registry.h"
#include "tests/tools/key_presses.h"
#include "tests/tools/rtf_runs_printout.h"
#include "tests/tools/score_loading.h"

#include "app/editor/parts/main_form_editing.h"
#include "app/editor/parts/main_form_symbols.h"
#include "app/editor/window/main_form.h"
#include "app/frame/process_state.h"
#include "components/symbolpick/palette_model.h"
#include "platform/desktop/notation_fonts.h"
#include "platform/settings/program_folder.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabBar>
#include <QTemporaryDir>

namespace {

using namespace tunvale;
using symbolpick::PaletteModel;

// One pick: entry `number` of kind `kind`, with the palette's options as given.
struct Pick {
    int kind = 0;
    int number = 0;
    bool bold = false;
    std::optional<QString> size;
    bool raise = false;
};

std::optional<Pick> parsePick(const QString& token)
{
    static const QRegularExpression shape(QStringLiteral(R"(^(\d+)/(\d+)((?:/b|/s[0-9.]*|/u)*)$)"));
    const QRegularExpressionMatch m = shape.match(token);
    if (!m.hasMatch())
        return std::nullopt;
    Pick pick;
    pick.kind = m.captured(1).toInt();
    pick.number = m.captured(2).toInt();
    for (const QString& option : m.captured(3).split(u'/', Qt::SkipEmptyParts)) {
        if (option == QStringLiteral("b"))
            pick.bold = true;
        else if (option == QStringLiteral("u"))
            pick.raise = true;
        else
            pick.size = option.mid(1);
    }
    return pick;
}

// Picks in the palette as the user does: the kind's tab, the options, the cell, then Insert.
bool pickInPalette(editor::MainForm& form, const Pick& pick)
{
    auto* palette = form.findChild<QWidget*>(QStringLiteral("GetNote"));
    const PaletteModel model
        = PaletteModel::fromFile(platform::ProgramFolder::find(QStringLiteral("Note.ini")));
    if (!palette || pick.kind < 1 || pick.kind > model.kindCount()) {
        scoretool::err(QStringLiteral("no kind %1 in the palette").arg(pick.kind));
        return false;
    }
    const auto& entries = model.kind(pick.kind).entries;
    const auto entry = std::find_if(
        entries.begin(), entries.end(), [&pick](const auto& e) { return e.number == pick.number; });
    if (entry == entries.end()) {
        scoretool::err(QStringLiteral("no entry %1 in kind %2").arg(pick.number).arg(pick.kind));
        return false;
    }
    palette->findChild<QTabBar*>(QStringLiteral("TabStrip1"))->setCurrentIndex(pick.kind - 1);
    palette->findChild<QCheckBox*>(QStringLiteral("Check2"))->setChecked(pick.bold);
    palette->findChild<QCheckBox*>(QStringLiteral("Check1"))->setChecked(pick.size.has_value());
    if (pick.size)
        palette->findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(*pick.size);
    auto* raise = palette->findChild<QCheckBox*>(QStringLiteral("Check3"));
    raise->setChecked(pick.raise && raise->isVisible());

    auto* canvas = palette->findChild<QLabel*>(QStringLiteral("PicMdi"));
    const int cell = int(entry - entries.begin());
    const double twipsPerPixel = std::max(1, qRound(1440.0 / canvas->logicalDpiX()));
    const QPointF centre = (PaletteModel::cellTopLeft(cell)
                               + QPointF(PaletteModel::CellWidth / 2.0, PaletteModel::CellHeight / 2.0))
        / twipsPerPixel;
    for (const QEvent::Type type : { QEvent::MouseButtonPress, QEvent::MouseButtonRelease }) {
        QMouseEvent event(type, centre, canvas->mapToGlobal(centre), Qt::LeftButton,
            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(canvas, &event);
    }
    palette->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    QCoreApplication::processEvents();
    return true;
}

// Each character of the paragraph that holds `position`: its place, code and format.
void printParagraph(const platform::RichContent& content, int position)
{
    int start = 0;
    for (const platform::RichParagraph& paragraph : content) {
        int length = 0;
        for (const platform::TextRun& run : paragraph.runs)
            length += int(run.text.size());
        if (position < start + length + 2 || &paragraph == &content.back()) {
            int at = start;
            for (const platform::TextRun& run : paragraph.runs) {
                for (const QChar c : run.text) {
                    scoretool::out(
                        QStringLiteral("char %1 U+%2 %3 %4 %5 %6")
                            .arg(at++)
                            .arg(QString::number(c.unicode(), 16).toUpper().rightJustified(4, u'0'))
                            .arg(run.format.font)
                            .arg(run.format.halfPoints)
                            .arg(run.format.bold ? 1 : 0)
                            .arg(run.format.offset));
                }
            }
            return;
        }
        start += length + 2;
    }
}

int symbolPick(const QStringList& args)
{
    const QString usage
        = QStringLiteral("usage: scoretool symbol-pick IN [--ini NOTE.INI] --sel START LEN TOKEN... OUT.rtf");
    QStringList rest = args;
    if (rest.size() < 5) {
        scoretool::err(usage);
        return 2;
    }
    const QString in = rest.takeFirst();
    const QString out = rest.takeLast();
    QString ini;
    if (rest.value(0) == QStringLiteral("--ini") && rest.size() >= 2) {
        ini = rest[1];
        rest.remove(0, 2);
    }
    if (rest.size() < 3 || rest[0] != QStringLiteral("--sel")) {
        scoretool::err(usage);
        return 2;
    }
    const int start = rest[1].toInt();
    const int length = rest[2].toInt();
    rest.remove(0, 3);

    // The palette reads "Note.ini" from the user folder first: a folder of this run's own.
    QTemporaryDir userFolder;
    platform::ProgramFolder::overrideUserDir(userFolder.path());
    if (!ini.isEmpty() && !QFile::copy(ini, userFolder.filePath(QStringLiteral("Note.ini")))) {
        scoretool::err(QStringLiteral("cannot read %1").arg(ini));
        return 1;
    }
    platform::loadNotationFonts();
    editor::MainForm form;
    form.addPart<editor::MainFormEditing>();
    auto& symbols = form.addPart<editor::MainFormSymbols>();
    form.show();
    notation::DrumStore drums;
    QString error;
    if (!scoretool::LoadScore(in, form.editor(), frame::Process().ScoreHeader, drums, error)) {
        scoretool::err(error);
        return 1;
    }
    editor::UndoEngine& undo = form.part<editor::MainFormEditing>().undo();
    undo.Reset();
    form.editor().select(start, length);
    form.action(QStringLiteral("D_word"))->trigger();

    while (symbols.SymbolPickerOpen() && !rest.isEmpty()) {
        const QString token = rest.takeFirst();
        bool done = true;
        if (token == QStringLiteral("undo")) {
            done = scoretool::PressKeys(form, QStringLiteral("Ctrl+Z"));
        } else if (token == QStringLiteral("key") && !rest.isEmpty()) {
            done = scoretool::PressKeys(form, rest.takeFirst());
        } else if (const std::optional<Pick> pick = parsePick(token)) {
            done = pickInPalette(form, *pick);
        } else {
            scoretool::err(QStringLiteral("unknown step %1\n").arg(token) + usage);
            return 2;
        }
        if (!done)
            return 2;
    }
    undo.FlushSnapshot();

    const QString rtf = form.editor().TextRTF();
    if (!scoretool::WriteOutputFile(out, rtf.toLatin1()))
        return 1;
    printParagraph(scoretool::WrittenContent(form.editor()), start);
    scoretool::out(QStringLiteral("caret %1").arg(form.editor().SelStart()));
    const auto* sizeBox = form.findChild<QLineEdit*>(QStringLiteral("Text1"));
    scoretool::out(QStringLiteral("sizebox ") + (sizeBox ? sizeBox->text() : QString()));
    scoretool::out(QStringLiteral("undo %1").arg(undo.getUndoCount()));
    return 0;
}

} // namespace

SCORETOOL_COMMAND("symbol-pick",
    "IN [--ini NOTE.INI] --sel START LEN TOKEN... OUT.rtf  runs 特殊符号... on the window: "
    "K/N[/b][/sSIZE][/u] "
    "picks entry N of kind K, key NAME presses a key in the editor, undo is Ctrl+Z; prints the paragraph "
    "at START",
    symbolPick);
