#include "tests/tools/ruler_on_score.h"

#include "tests/tools/command_registry.h"
#include "tests/tools/key_presses.h"
#include "tests/tools/paragraph_printout.h"
#include "tests/tools/score_loading.h"

#include "app/editor/parts/main_form_editing.h"
#include "app/editor/parts/main_form_margins.h"
#include "app/editor/window/main_form.h"
#include "app/frame/process_state.h"
#include "platform/desktop/notation_fonts.h"
#include "platform/richtext/rich_text_content.h"
#include "platform/richtext/rich_text_edit.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>

#include <margin_ruler.h>

namespace tunvale::scoretool {

namespace {

using margin::MarginModel;
using margin::RulerEvent;
using margin::RulerPart;
using Verb = RulerStep::Verb;

// The user's hand on the ruler: the pointer, the buttons held, the keys.
class RulerHand
{
public:
    explicit RulerHand(editor::MainForm& form)
        : form_(form)
        , ruler_(form.marginRuler())
    {
    }

    bool take(const RulerStep& step);

private:
    // Twips `x` inside an element of the scale, at a height inside it, in the ruler's pixels.
    QPointF at(RulerPart part, double x) const
    {
        const MarginModel& m = ruler_.model();
        const bool pin = part == RulerPart::Pin0 || part == RulerPart::Pin1;
        const double y = pin ? 200 : MarginModel::kBarTop + MarginModel::kBarHeight / 2;
        const double tpp = m.twipsPerPixel();
        return { (m.scaleLeft() + m.partLeft(part) + x) / tpp, (m.scaleTop() + y) / tpp };
    }
    void mouse(QWidget* target, QEvent::Type type, const QPointF& position, Qt::MouseButton button)
    {
        QMouseEvent event(type, position, target->mapToGlobal(position), button, held_, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &event);
    }
    void key(QWidget* target, QEvent::Type type, const RulerStep& step)
    {
        QKeyEvent event(type, step.key, step.modifiers);
        QCoreApplication::sendEvent(target, &event);
    }
    void click(QWidget* target, const QPointF& position)
    {
        held_ = Qt::LeftButton;
        mouse(target, QEvent::MouseButtonPress, position, Qt::LeftButton);
        held_ = Qt::NoButton;
        mouse(target, QEvent::MouseButtonRelease, position, Qt::LeftButton);
    }
    bool setProperty(const RulerStep& step);

    editor::MainForm& form_;
    margin::MarginRuler& ruler_;
    QPointF pointer_;
    Qt::MouseButtons held_;
    Qt::MouseButton lastPressed_ = Qt::NoButton;
};

bool RulerHand::setProperty(const RulerStep& step)
{
    const QString& name = step.text;
    const int number = step.whole;
    if (name == QStringLiteral("nLSpace"))
        ruler_.setNLSpace(number);
    else if (name == QStringLiteral("nRSpace"))
        ruler_.setNRSpace(number);
    else if (name == QStringLiteral("bcLeft"))
        ruler_.setBcLeft(number);
    else if (name == QStringLiteral("bcTop"))
        ruler_.setBcTop(number);
    else if (name == QStringLiteral("bcHeight"))
        ruler_.setBcHeight(number);
    else if (name == QStringLiteral("bcWidth"))
        ruler_.setBcWidth(number);
    else if (name == QStringLiteral("bcWidth_n"))
        ruler_.setBcWidth_n(step.factor);
    else if (name == QStringLiteral("Show"))
        ruler_.setShow(step.value != QStringLiteral("False") && step.value != QStringLiteral("0"));
    else
        return false;
    return true;
}

bool RulerHand::take(const RulerStep& step)
{
    switch (step.verb) {
    case Verb::Press: {
        pointer_ = at(step.part, step.x);
        lastPressed_ = Qt::MouseButton(step.buttons);
        held_ |= lastPressed_;
        mouse(&ruler_, QEvent::MouseButtonPress, pointer_, lastPressed_);
        break;
    }
    case Verb::Move:
        pointer_ = at(step.part, step.x);
        held_ = Qt::MouseButtons(step.buttons);
        mouse(&ruler_, QEvent::MouseMove, pointer_, Qt::NoButton);
        break;
    case Verb::Release:
        held_ &= ~Qt::MouseButtons(lastPressed_);
        mouse(&ruler_, QEvent::MouseButtonRelease, pointer_, lastPressed_);
        break;
    case Verb::Key:
        key(&ruler_, QEvent::KeyPress, step);
        key(&ruler_, QEvent::KeyRelease, step);
        break;
    case Verb::KeyDown:
        key(&ruler_, QEvent::KeyPress, step);
        break;
    case Verb::KeyUp:
        key(&ruler_, QEvent::KeyRelease, step);
        break;
    case Verb::Spin: {
        QWidget* arrows = ruler_.findChild<QWidget*>(QStringLiteral("VScroll1"));
        click(arrows, QPointF(arrows->width() / 2.0, step.up ? 1 : arrows->height() - 1));
        break;
    }
    case Verb::Kind: {
        auto* chooser = ruler_.findChild<QComboBox*>(QStringLiteral("Combo1"));
        if (step.kind < 0) {
            QKeyEvent typed(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
            QCoreApplication::sendEvent(chooser->lineEdit(), &typed);
        } else {
            chooser->setCurrentIndex(step.kind);
            emit chooser->activated(step.kind);
        }
        break;
    }
    case Verb::Menu: {
        click(ruler_.findChild<QLabel*>(QStringLiteral("Label1")), QPointF(2, 2));
        QMenu* menu = ruler_.controlMenu();
        const bool main = step.entry == margin::MenuEntry::MainToolbar;
        menu->findChild<QAction*>(main ? QStringLiteral("MainMun") : QStringLiteral("ToolBarAbout"))
            ->trigger();
        menu->hide();
        break;
    }
    case Verb::Set:
        if (!setProperty(step)) {
            err(QStringLiteral("no property %1").arg(step.text));
            return false;
        }
        break;
    case Verb::Type:
        if (!PressKeys(form_, step.text))
            return false;
        break;
    case Verb::Undo:
        form_.action(QStringLiteral("mnuUnDo"))->trigger();
        break;
    case Verb::Redo:
        form_.action(QStringLiteral("mnuRedo"))->trigger();
        break;
    }
    QCoreApplication::processEvents();
    return true;
}

// Prints each event of the ruler as it is raised, while `context` lives.
void printEvents(margin::MarginRuler& ruler, QObject& context)
{
    using Kind = RulerEvent::Kind;
    using margin::MarginRuler;
    QObject::connect(
        &ruler, &MarginRuler::aChangBegin, &context, [] { PrintRulerEvent({ Kind::aChangBegin }); });
    QObject::connect(
        &ruler, &MarginRuler::aChangOver, &context, [] { PrintRulerEvent({ Kind::aChangOver }); });
    QObject::connect(&ruler, &MarginRuler::LRValueChang, &context, [](int left, int right) {
        PrintRulerEvent({ Kind::LRValueChang, left, right });
    });
    QObject::connect(&ruler, &MarginRuler::SetLineSpcing, &context, [](int kind, int spacing) {
        PrintRulerEvent({ Kind::SetLineSpcing, kind, spacing });
    });
    QObject::connect(&ruler, &MarginRuler::BjMainMun, &context, [] { PrintRulerEvent({ Kind::BjMainMun }); });
    QObject::connect(
        &ruler, &MarginRuler::ShowMyHelp, &context, [] { PrintRulerEvent({ Kind::ShowMyHelp }); });
}

} // namespace

int RunRulerOnScore(const RulerScoreRun& run)
{
    platform::loadNotationFonts();
    editor::MainForm form;
    editor::UndoEngine& undo = form.addPart<editor::MainFormEditing>().undo();
    form.addPart<editor::MainFormMargins>();
    margin::MarginRuler& ruler = form.marginRuler();
    ruler.ReadProperties(run.bag);
    ruler.setBcHeight(320);
    notation::ScoreHeader& header = frame::Process().ScoreHeader;
    notation::DrumStore drums;
    QString error;
    if (!LoadScore(run.score, form.editor(), header, drums, error)) {
        err(error);
        return 1;
    }
    if (run.margins) {
        header.LeftSpace = static_cast<std::int16_t>(run.margins->first);
        header.RightSpace = static_cast<std::int16_t>(run.margins->second);
    }
    form.resize(1100, 760);
    form.show();
    form.activateWindow();
    if (!QTest::qWaitForWindowActive(&form))
        err(QStringLiteral("the window did not become active: keys may not reach the ruler"));
    form.setRulerLeftSpace(header.LeftSpace);
    form.setRulerRightSpace(header.RightSpace);
    form.JzRTB(0);
    undo.Reset();
    header.ScoreSaved = true;
    if (run.selection)
        form.editor().select(run.selection->first, run.selection->second);
    form.setToolbarMode(1);
    QCoreApplication::processEvents();

    {
        QObject printing;
        printEvents(ruler, printing);
        RulerHand hand(form);
        for (const RulerStep& step : run.steps) {
            if (!hand.take(step))
                return 2;
        }
    }
    undo.FlushSnapshot();
    PrintRulerState(ruler.model());
    out(QStringLiteral("header %1 %2 %3")
            .arg(header.LeftSpace)
            .arg(header.RightSpace)
            .arg(header.ScoreSaved ? 1 : 0));
    out(QStringLiteral("undo %1").arg(undo.getUndoCount()));
    PrintParagraphs(platform::ExtractContent(*form.editorView()->document()));
    return 0;
}

} // namespace tunvale::scoretool
