#include "tests/tools/command_registry.h"

#include "components/hintballoon/tip_window.h"
#include "hint_balloon.h"

#include <QApplication>
#include <QEnterEvent>
#include <QEventLoop>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <QVBoxLayout>

#include <limits>
#include <map>

using namespace tunvale;
using namespace tunvale::hintballoon;

namespace {

const QStringList kSteps { QStringLiteral("new"), QStringLiteral("free"), QStringLiteral("add"),
    QStringLiteral("update"), QStringLiteral("remove"), QStringLiteral("delays"), QStringLiteral("answer"),
    QStringLiteral("hover") };

constexpr qint64 kLongestWaitMs = 10000;

// A value of a KEY=VALUE word: a number when it reads as one, else the text.
QVariant wordValue(const QString& text)
{
    bool ok = false;
    if (const qlonglong whole = text.toLongLong(&ok, 0); ok)
        return whole;
    if (const double number = text.toDouble(&ok); ok)
        return number;
    return text;
}

std::optional<QVariant> wordVariant(const std::map<QString, QString>& keys, const QString& key)
{
    const auto it = keys.find(key);
    return it == keys.end() ? std::nullopt : std::optional<QVariant>(wordValue(it->second));
}

std::optional<QString> wordText(const std::map<QString, QString>& keys, const QString& key)
{
    const auto it = keys.find(key);
    return it == keys.end() ? std::nullopt : std::optional<QString>(it->second);
}

QString hex(const QColor& colour) { return colour.name().mid(1).toUpper(); }

class HintScript
{
public:
    HintScript()
    {
        host_.setLayout(new QVBoxLayout);
        host_.resize(300, 400);
        host_.show();
    }

    void run(QStringList words)
    {
        while (!words.isEmpty()) {
            const QString step = words.takeFirst();
            const TipWindow* before = TipWindow::current();
            if (!runStep(step, words))
                return;
            const TipWindow* after = TipWindow::current();
            if (before && !after)
                scoretool::out(QStringLiteral("popup gone"));
            if (!before && after)
                scoretool::out(QStringLiteral("popup new"));
        }
    }

    bool failed = false;

private:
    // The whole number of a KEY=VALUE word, as the component's int takes it; any other value fails the run.
    std::optional<int> wordNumber(const std::map<QString, QString>& keys, const QString& key)
    {
        const auto it = keys.find(key);
        if (it == keys.end())
            return std::nullopt;
        bool ok = false;
        const qlonglong n = it->second.toLongLong(&ok, 0);
        if (ok && n >= std::numeric_limits<int>::min() && n <= std::numeric_limits<int>::max())
            return int(n);
        scoretool::err(QStringLiteral("%1=%2 is no whole number of an int").arg(key, it->second));
        failed = true;
        return std::nullopt;
    }

    bool runStep(const QString& step, QStringList& words)
    {
        const auto take = [&words, this](int count) {
            if (words.size() < count) {
                scoretool::err(QStringLiteral("a step needs %1 more words").arg(count));
                failed = true;
                return QStringList();
            }
            QStringList taken = words.mid(0, count);
            words.remove(0, count);
            return taken;
        };
        const auto keys = [&words] {
            std::map<QString, QString> found;
            while (!words.isEmpty() && !kSteps.contains(words.first()) && words.first().contains(u'=')) {
                const QString word = words.takeFirst();
                const qsizetype eq = word.indexOf(u'=');
                found[word.left(eq)] = word.mid(eq + 1);
            }
            return found;
        };
        if (step == QStringLiteral("new")) {
            const QStringList w = take(1);
            if (!failed)
                create(w[0]);
        } else if (step == QStringLiteral("free")) {
            const QStringList w = take(1);
            if (!failed)
                objects_.erase(w[0]);
        } else if (step == QStringLiteral("add") || step == QStringLiteral("update")) {
            const QStringList w = take(2);
            const std::map<QString, QString> given = keys();
            if (!failed)
                step == QStringLiteral("add") ? add(w[0], w[1], given) : update(w[0], w[1], given);
        } else if (step == QStringLiteral("remove")) {
            const QStringList w = take(2);
            if (!failed && object(w[0]))
                object(w[0])->RemoveTool(widget(w[1]));
        } else if (step == QStringLiteral("delays")) {
            const QStringList w = take(1);
            const std::map<QString, QString> given = keys();
            if (!failed && object(w[0])
                && !object(w[0])->SetDelayTimes(wordVariant(given, QStringLiteral("show")),
                    wordVariant(given, QStringLiteral("autohide")),
                    wordVariant(given, QStringLiteral("reshow"))))
                scoretool::out(QStringLiteral("delays refused"));
        } else if (step == QStringLiteral("answer")) {
            const QStringList w = take(2);
            if (!failed)
                answers_[w[0]] = w[1];
        } else if (step == QStringLiteral("hover")) {
            const QStringList w = take(1);
            if (!failed)
                hover(w[0]);
        } else {
            scoretool::err(QStringLiteral("unknown step: ") + step);
            failed = true;
        }
        return !failed;
    }

    ClsHintballoon* object(const QString& name)
    {
        const auto it = objects_.find(name);
        if (it == objects_.end()) {
            scoretool::err(QStringLiteral("no object ") + name);
            failed = true;
            return nullptr;
        }
        return it->second.get();
    }

    QWidget* widget(const QString& name)
    {
        if (auto* found = host_.findChild<QLabel*>(name))
            return found;
        auto* label = new QLabel(name, &host_);
        label->setObjectName(name);
        label->setMinimumSize(120, 40);
        host_.layout()->addWidget(label);
        label->show();
        return label;
    }

    void create(const QString& name)
    {
        auto hints = CreateHintballoon();
        QObject::connect(hints.get(), &ClsHintballoon::NeedText, [this, name](QWidget* tool, QString& text) {
            scoretool::out(
                QStringLiteral("NeedText %1 %2").arg(name, tool ? tool->objectName() : QStringLiteral("-")));
            text = answers_[name];
        });
        QObject::connect(
            hints.get(), &ClsHintballoon::Show, [name] { scoretool::out(QStringLiteral("Show ") + name); });
        QObject::connect(
            hints.get(), &ClsHintballoon::Pop, [name] { scoretool::out(QStringLiteral("Pop ") + name); });
        objects_[name] = std::move(hints);
    }

    void add(const QString& name, const QString& widgetName, const std::map<QString, QString>& given)
    {
        ClsHintballoon* hints = object(name);
        if (!hints)
            return;
        BalloonTool tool;
        tool.tool = widget(widgetName);
        tool.text = wordText(given, QStringLiteral("text"));
        tool.foreColor = wordVariant(given, QStringLiteral("fore"));
        tool.backColor = wordVariant(given, QStringLiteral("back"));
        tool.balloon = wordNumber(given, QStringLiteral("balloon")).value_or(0) != 0;
        tool.title = wordText(given, QStringLiteral("title")).value_or(QString());
        tool.icon = TooltipIcon(wordNumber(given, QStringLiteral("icon")).value_or(ttiNone));
        tool.showMode = BalloonShowMode(wordNumber(given, QStringLiteral("mode")).value_or(ttsmDefault));
        tool.margin = wordNumber(given, QStringLiteral("margin")).value_or(0);
        tool.centered = wordNumber(given, QStringLiteral("centered")).value_or(0) != 0;
        tool.transparent = wordNumber(given, QStringLiteral("transparent")).value_or(0) != 0;
        tool.alignment = TooltipAlignment(wordNumber(given, QStringLiteral("align")).value_or(ttaLeft));
        tool.width = wordNumber(given, QStringLiteral("width")).value_or(0);
        if (!failed)
            hints->AddTool(tool);
    }

    void update(const QString& name, const QString& widgetName, const std::map<QString, QString>& given)
    {
        ClsHintballoon* hints = object(name);
        if (!hints)
            return;
        const auto flag = [this, &given](const QString& key) {
            const std::optional<int> n = wordNumber(given, key);
            return n ? std::optional<bool>(*n != 0) : std::nullopt;
        };
        BalloonToolUpdate change;
        change.text = wordText(given, QStringLiteral("text"));
        change.foreColor = wordVariant(given, QStringLiteral("fore"));
        change.backColor = wordVariant(given, QStringLiteral("back"));
        change.balloon = flag(QStringLiteral("balloon"));
        change.title = wordText(given, QStringLiteral("title"));
        if (const auto icon = wordNumber(given, QStringLiteral("icon")))
            change.icon = TooltipIcon(*icon);
        if (const auto mode = wordNumber(given, QStringLiteral("mode")))
            change.showMode = BalloonShowMode(*mode);
        change.margin = wordNumber(given, QStringLiteral("margin"));
        change.centered = flag(QStringLiteral("centered"));
        if (const auto align = wordNumber(given, QStringLiteral("align")))
            change.alignment = TooltipAlignment(*align);
        change.width = wordNumber(given, QStringLiteral("width"));
        if (!failed)
            hints->UpdateTool(widget(widgetName), change);
    }

    // Moves the pointer onto the widget and waits until its hint shows, or long enough to know it will not.
    void hover(const QString& widgetName)
    {
        QWidget* target = widget(widgetName);
        if (hovered_ && hovered_ != target) {
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(hovered_, &leave);
        }
        const QPointF local(target->width() / 2.0, target->height() / 2.0);
        const QPointF global = target->mapToGlobal(local);
        if (hovered_ != target) {
            QEnterEvent enter(local, local, global);
            QApplication::sendEvent(target, &enter);
        }
        hovered_ = target;
        QMouseEvent move(QEvent::MouseMove, local, global, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(target, &move);

        TipWindow* tips = TipWindow::current();
        const auto shownHere = [&] {
            const auto shown = tips ? tips->shown() : std::nullopt;
            return shown && shown->tool == target ? shown : std::nullopt;
        };
        // A hint whose delay is longer than a run waits for shows in none.
        const qint64 wait = qint64(tips ? std::max(tips->delays().show, tips->delays().reShow) : 0) + 500;
        if (tips && !shownHere() && wait <= kLongestWaitMs) {
            QEventLoop loop;
            QObject::connect(tips, &TipWindow::hintShown, &loop, &QEventLoop::quit);
            QTimer::singleShot(int(wait), &loop, &QEventLoop::quit);
            loop.exec();
        }
        const auto shown = shownHere();
        if (!shown) {
            scoretool::out(QStringLiteral("tip none"));
            return;
        }
        const HintLook& look = shown->look;
        scoretool::out(QStringLiteral("tip %1 fore %2 back %3 icon %4 animate %5")
                           .arg(look.balloon ? QStringLiteral("balloon") : QStringLiteral("plain"),
                               hex(look.foreColor), hex(look.backColor))
                           .arg(int(look.icon))
                           .arg(shown->rolledIn ? QStringLiteral("yes") : QStringLiteral("no")));
        scoretool::out(QStringLiteral("title ") + (look.title.isEmpty() ? QStringLiteral("-") : look.title));
        scoretool::out(QStringLiteral("text ") + look.text);
    }

public:
    void report() const
    {
        scoretool::out(QStringLiteral("users %1").arg(TipWindow::TipUsers()));
        if (const TipWindow* tips = TipWindow::current()) {
            const HintDelays& d = tips->delays();
            scoretool::out(QStringLiteral("delays %1 %2 %3").arg(d.show).arg(d.autoHide).arg(d.reShow));
        } else {
            scoretool::out(QStringLiteral("delays none"));
        }
    }

private:
    QWidget host_;
    std::map<QString, std::unique_ptr<ClsHintballoon>> objects_;
    std::map<QString, QString> answers_;
    QPointer<QWidget> hovered_;
};

int hints(const QStringList& args)
{
    if (args.isEmpty()) {
        scoretool::err(QStringLiteral("usage: scoretool hints WORD..."));
        return 2;
    }
    bool failed = false;
    {
        HintScript script;
        script.run(args);
        failed = script.failed;
        if (!failed)
            script.report();
    }
    return failed ? 2 : 0;
}

} // namespace

SCORETOOL_COMMAND("hints",
    "WORD...  hint objects on test widgets: new I, free I, add I W [KEY=VALUE...], update I W "
    "[KEY=VALUE...], "
    "remove I W, delays I [show=MS] [autohide=MS] [reshow=MS], answer I TEXT, hover W",
    hints);
