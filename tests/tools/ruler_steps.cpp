#include "tests/tools/ruler_steps.h"

#include "tests/tools/command_registry.h"

#include <QKeySequence>

#include <cmath>

namespace tunvale::scoretool {

namespace {

using margin::RulerEvent;
using margin::RulerPart;

std::optional<RulerPart> partNamed(const QString& name, bool pinsOnly)
{
    static const std::pair<const char*, RulerPart> parts[]
        = { { "pin0", RulerPart::Pin0 }, { "pin1", RulerPart::Pin1 }, { "bar", RulerPart::Bar },
              { "green", RulerPart::Green }, { "red", RulerPart::Red } };
    for (const auto& [partName, part] : parts) {
        if (name == QLatin1String(partName)
            && (!pinsOnly || part == RulerPart::Pin0 || part == RulerPart::Pin1))
            return part;
    }
    return std::nullopt;
}

bool readKey(const QString& name, RulerStep& step)
{
    const QKeySequence sequence = QKeySequence::fromString(name, QKeySequence::PortableText);
    if (sequence.count() != 1 || sequence[0].key() == Qt::Key_unknown)
        return false;
    step.key = sequence[0].key();
    step.modifiers = sequence[0].keyboardModifiers();
    return true;
}

// A finite number: a pointer is always somewhere.
bool readNumber(const QString& text, double& value)
{
    bool ok = false;
    value = text.toDouble(&ok);
    return ok && std::isfinite(value);
}

bool readInt(const QString& text, int& value)
{
    bool ok = false;
    value = text.toInt(&ok);
    return ok;
}

QString eventName(RulerEvent::Kind kind)
{
    switch (kind) {
    case RulerEvent::Kind::LRValueChang:
        return QStringLiteral("LRValueChang");
    case RulerEvent::Kind::aChangBegin:
        return QStringLiteral("aChangBegin");
    case RulerEvent::Kind::aChangOver:
        return QStringLiteral("aChangOver");
    case RulerEvent::Kind::BjMainMun:
        return QStringLiteral("BjMainMun");
    case RulerEvent::Kind::SetLineSpcing:
        return QStringLiteral("SetLineSpcing");
    case RulerEvent::Kind::ShowMyHelp:
        break;
    }
    return QStringLiteral("ShowMyHelp");
}

QString bagValue(const QVariant& value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    return margin::TwoDecimals(value.toDouble());
}

} // namespace

std::optional<RulerStep> ParseRulerStep(const QString& text, bool withScore, QString& error)
{
    const QStringList words = text.split(u' ', Qt::SkipEmptyParts);
    RulerStep step;
    const QString verb = words.value(0);
    const auto fail = [&] {
        error = QStringLiteral("not a step: %1").arg(text);
        return std::nullopt;
    };
    const qsizetype n = words.size();
    if ((verb == QStringLiteral("press") || verb == QStringLiteral("move")) && n == 4) {
        const bool press = verb == QStringLiteral("press");
        const auto part = partNamed(words[1], !press);
        if (!part || !readNumber(words[2], step.x) || !readInt(words[3], step.buttons))
            return fail();
        step.verb = press ? RulerStep::Verb::Press : RulerStep::Verb::Move;
        step.part = *part;
    } else if (verb == QStringLiteral("release") && n == 2) {
        const auto part = partNamed(words[1], false);
        if (!part)
            return fail();
        step.verb = RulerStep::Verb::Release;
        step.part = *part;
    } else if ((verb == QStringLiteral("key") || verb == QStringLiteral("keydown")
                   || verb == QStringLiteral("keyup"))
        && n == 2) {
        if (!readKey(words[1], step))
            return fail();
        step.verb = verb == QStringLiteral("key") ? RulerStep::Verb::Key
            : verb == QStringLiteral("keydown")   ? RulerStep::Verb::KeyDown
                                                  : RulerStep::Verb::KeyUp;
    } else if (verb == QStringLiteral("spin") && n == 2
        && (words[1] == QStringLiteral("up") || words[1] == QStringLiteral("down"))) {
        step.verb = RulerStep::Verb::Spin;
        step.up = words[1] == QStringLiteral("up");
    } else if (verb == QStringLiteral("kind") && n == 2) {
        step.verb = RulerStep::Verb::Kind;
        step.kind = words[1] == QStringLiteral("typed") ? -1 : words[1].toInt();
        if (words[1] != QStringLiteral("typed") && !QStringList { "0", "1", "2" }.contains(words[1]))
            return fail();
    } else if (verb == QStringLiteral("menu") && n == 2
        && (words[1] == QStringLiteral("main") || words[1] == QStringLiteral("help"))) {
        step.verb = RulerStep::Verb::Menu;
        step.entry
            = words[1] == QStringLiteral("main") ? margin::MenuEntry::MainToolbar : margin::MenuEntry::Help;
    } else if (verb == QStringLiteral("set") && n == 3) {
        step.verb = RulerStep::Verb::Set;
        step.text = words[1];
        step.value = words[2];
        bool isNumber = true;
        if (step.text == QStringLiteral("bcWidth_n")) {
            step.factor = step.value.toDouble(&isNumber);
        } else if (step.text != QStringLiteral("Show")) {
            const std::optional<int> whole = intArgument(step.value);
            isNumber = whole.has_value();
            step.whole = whole.value_or(0);
        }
        if (!isNumber)
            return fail();
    } else if (withScore && verb == QStringLiteral("type") && n >= 2) {
        step.verb = RulerStep::Verb::Type;
        step.text = words.mid(1).join(u' ');
    } else if (withScore && verb == QStringLiteral("undo") && n == 1) {
        step.verb = RulerStep::Verb::Undo;
    } else if (withScore && verb == QStringLiteral("redo") && n == 1) {
        step.verb = RulerStep::Verb::Redo;
    } else {
        return fail();
    }
    return step;
}

void PrintRulerEvent(const RulerEvent& event)
{
    QString line = QStringLiteral("event ") + eventName(event.kind);
    if (event.kind == RulerEvent::Kind::LRValueChang || event.kind == RulerEvent::Kind::SetLineSpcing)
        line += QStringLiteral(" %1 %2").arg(event.first).arg(event.second);
    out(line);
}

void PrintRulerEvents(const margin::RulerEvents& events)
{
    for (const RulerEvent& event : events)
        PrintRulerEvent(event);
}

void PrintRulerState(const margin::MarginModel& model)
{
    using margin::TwoDecimals;
    out(QStringLiteral("margins %1 %2").arg(model.nLSpace()).arg(model.nRSpace()));
    out(QStringLiteral("pins %1 %2").arg(TwoDecimals(model.pinLeft(0)), TwoDecimals(model.pinLeft(1))));
    out(QStringLiteral("bands %1 %2 %3")
            .arg(TwoDecimals(model.greenWidth()), TwoDecimals(model.redLeft()),
                TwoDecimals(model.redWidth())));
    const auto tip
        = [&model](int pin) { return model.tip(pin).isEmpty() ? QStringLiteral("-") : model.tip(pin); };
    out(QStringLiteral("tips %1 %2").arg(tip(0), tip(1)));
    out(QStringLiteral("spin %1 %2").arg(model.spacing()).arg(model.kind()));
    const QVariantMap bag = model.WriteProperties();
    QStringList entries;
    for (const QString& key : margin::MarginModel::propertyKeys()) {
        if (bag.contains(key))
            entries << key + u'=' + bagValue(bag.value(key));
    }
    out(QStringLiteral("bag ") + entries.join(u';'));
}

} // namespace tunvale::scoretool
