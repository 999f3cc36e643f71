#include "tests/tools/command_registry.h"
#include "tests/tools/ruler_on_score.h"
#include "tests/tools/ruler_steps.h"

namespace {

using namespace tunvale;
using margin::MarginModel;
using scoretool::RulerStep;

struct RulerOptions {
    std::optional<int> dpi;
    QVariantMap bag;
    std::optional<std::pair<int, int>> margins;
    QString score;
    std::optional<std::pair<int, int>> selection;
    std::vector<RulerStep> steps;
};

std::optional<QVariantMap> readBag(const QString& text)
{
    QVariantMap bag;
    for (const QString& entry : text.split(u';', Qt::SkipEmptyParts)) {
        const qsizetype equals = entry.indexOf(u'=');
        if (equals <= 0)
            return std::nullopt;
        bag.insert(entry.left(equals).trimmed(), entry.mid(equals + 1).trimmed());
    }
    return bag;
}

std::optional<RulerOptions> readOptions(const QStringList& args, QString& error)
{
    RulerOptions options;
    const auto pairAt = [&args](qsizetype i) -> std::optional<std::pair<int, int>> {
        bool a = false;
        bool b = false;
        const std::pair<int, int> pair { args.value(i + 1).toInt(&a), args.value(i + 2).toInt(&b) };
        return a && b ? std::optional(pair) : std::nullopt;
    };
    qsizetype i = 0;
    for (; i < args.size() && args[i].startsWith(QStringLiteral("--")); ++i) {
        const QString& option = args[i];
        if (option == QStringLiteral("--dpi") && i + 1 < args.size()) {
            options.dpi = scoretool::intArgument(args[++i], 1, MarginModel::kMaxDpi);
            if (!options.dpi) {
                error = QStringLiteral("--dpi needs a number from 1 to %1").arg(MarginModel::kMaxDpi);
                return std::nullopt;
            }
        } else if (option == QStringLiteral("--bag") && i + 1 < args.size()) {
            const auto bag = readBag(args[++i]);
            if (!bag) {
                error = QStringLiteral("--bag takes KEY=V;...");
                return std::nullopt;
            }
            options.bag = *bag;
        } else if ((option == QStringLiteral("--margins") || option == QStringLiteral("--sel"))
            && pairAt(i)) {
            (option == QStringLiteral("--margins") ? options.margins : options.selection) = pairAt(i);
            i += 2;
        } else if (option == QStringLiteral("--score") && i + 1 < args.size()) {
            options.score = args[++i];
        } else {
            error = QStringLiteral("unknown or incomplete option %1").arg(option);
            return std::nullopt;
        }
    }
    if (options.selection && options.score.isEmpty()) {
        error = QStringLiteral("--sel needs --score");
        return std::nullopt;
    }
    if (options.dpi && !options.score.isEmpty()) {
        error = QStringLiteral("--dpi is the screen's with --score");
        return std::nullopt;
    }
    for (; i < args.size(); ++i) {
        const auto step = scoretool::ParseRulerStep(args[i], !options.score.isEmpty(), error);
        if (!step)
            return std::nullopt;
        options.steps.push_back(*step);
    }
    return options;
}

// Sets a property through its setter; false when there is no such property.
bool setProperty(MarginModel& model, const RulerStep& step)
{
    const QString& name = step.text;
    const int number = step.whole;
    if (name == QStringLiteral("nLSpace"))
        model.setNLSpace(number);
    else if (name == QStringLiteral("nRSpace"))
        model.setNRSpace(number);
    else if (name == QStringLiteral("bcLeft"))
        model.setBcLeft(number);
    else if (name == QStringLiteral("bcTop"))
        model.setBcTop(number);
    else if (name == QStringLiteral("bcHeight"))
        model.setBcHeight(number);
    else if (name == QStringLiteral("bcWidth"))
        model.setBcWidth(number);
    else if (name == QStringLiteral("bcWidth_n"))
        model.setBcWidth_n(step.factor);
    else if (name == QStringLiteral("Show"))
        model.applyShow();
    else
        return false;
    return true;
}

// The steps on the ruler's model alone, each printing the events it raised.
bool runOnModel(MarginModel& model, const std::vector<RulerStep>& steps)
{
    using Verb = RulerStep::Verb;
    for (const RulerStep& step : steps) {
        margin::RulerEvents events;
        switch (step.verb) {
        case Verb::Press:
            events = model.press(step.part, step.x, Qt::MouseButton(step.buttons));
            break;
        case Verb::Move:
            events = model.move(
                step.part == margin::RulerPart::Pin0 ? 0 : 1, step.x, Qt::MouseButtons(step.buttons));
            break;
        case Verb::Release:
            events = model.release(step.part);
            break;
        case Verb::Key:
            events = model.keyDown(step.key, step.modifiers);
            scoretool::PrintRulerEvents(events);
            events = model.keyUp();
            break;
        case Verb::KeyDown:
            events = model.keyDown(step.key, step.modifiers);
            break;
        case Verb::KeyUp:
            events = model.keyUp();
            break;
        case Verb::Spin:
            events = model.stepSpacing(step.up);
            break;
        case Verb::Kind:
            model.setKind(step.kind);
            break;
        case Verb::Menu:
            events = MarginModel::choose(step.entry);
            break;
        case Verb::Set:
            if (!setProperty(model, step)) {
                scoretool::err(QStringLiteral("no property %1").arg(step.text));
                return false;
            }
            break;
        case Verb::Type:
        case Verb::Undo:
        case Verb::Redo:
            break; // read only with --score
        }
        scoretool::PrintRulerEvents(events);
    }
    return true;
}

int ruler(const QStringList& args)
{
    QString error;
    const std::optional<RulerOptions> options = readOptions(args, error);
    if (!options) {
        scoretool::err(error);
        scoretool::err(
            QStringLiteral("usage: scoretool ruler [--dpi D] [--bag \"KEY=V;...\"] [--margins L R] "
                           "[--score IN [--sel START LEN]] STEP..."));
        return 2;
    }
    if (!options->score.isEmpty()) {
        return scoretool::RunRulerOnScore(
            { options->score, options->selection, options->bag, options->margins, options->steps });
    }
    MarginModel model(options->dpi.value_or(96));
    model.ReadProperties(options->bag);
    if (options->margins) {
        model.setNLSpace(options->margins->first);
        model.setNRSpace(options->margins->second);
    }
    if (!runOnModel(model, options->steps))
        return 2;
    scoretool::PrintRulerState(model);
    return 0;
}

} // namespace

SCORETOOL_COMMAND("ruler",
    "[--dpi D] [--bag \"KEY=V;...\"] [--margins L R] [--score IN [--sel START LEN]] STEP...  the margin "
    "ruler: events raised, then margins, pins, bands, tips, spin and bag",
    ruler);
