#include "tests/tools/command_registry.h"

#include "app/drums/strip_geometry.h"

#include <cmath>
#include <optional>

namespace {

using namespace tunvale;
using drums::LabelLook;
using drums::StripGeometry;

const QString kUsage = QStringLiteral("usage: scoretool strip W H COUNT ONXJ [--drums BITS] [--marks A B] "
                                      "[--play BAR | --drag DX | --arrow left|right N]");

// Bar counts and steps are 16-bit.
constexpr int kMaxBars = 32767;

QString twips(double value) { return QString::number(value, 'g', 12); }

// A finite number of twips; nothing for any other text (NaN and infinities among them).
std::optional<double> twipsArgument(const QString& text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString lookName(LabelLook look)
{
    switch (look) {
    case LabelLook::Drum:
        return QStringLiteral("drum");
    case LabelLook::Plain:
        return QStringLiteral("plain");
    case LabelLook::MarkDrum:
        return QStringLiteral("mark-drum");
    case LabelLook::MarkPlain:
        return QStringLiteral("mark-plain");
    case LabelLook::Past:
        break;
    }
    return QStringLiteral("past");
}

struct StripArgs {
    double width = 0;
    double height = 0;
    int count = 0;
    int onXj = 0;
    QString bits;
    int markA = -1;
    int markB = -1;
    std::optional<int> play;
    std::optional<double> drag;
    std::optional<drums::Arrow> arrow;
    int arrowSteps = 0;
};

std::optional<StripArgs> parse(QStringList rest)
{
    if (rest.size() < 4)
        return std::nullopt;
    StripArgs a;
    const std::optional<double> width = twipsArgument(rest.takeFirst());
    const std::optional<double> height = twipsArgument(rest.takeFirst());
    const std::optional<int> count = scoretool::intArgument(rest.takeFirst(), 0, kMaxBars);
    const std::optional<int> onXj = scoretool::intArgument(rest.takeFirst());
    if (!width || !height || !count || !onXj)
        return std::nullopt;
    a.width = *width;
    a.height = *height;
    a.count = *count;
    a.onXj = *onXj;
    int actions = 0;
    while (!rest.isEmpty()) {
        const QString option = rest.takeFirst();
        if (option == QStringLiteral("--drums") && !rest.isEmpty()) {
            a.bits = rest.takeFirst();
        } else if (option == QStringLiteral("--marks") && rest.size() >= 2) {
            const std::optional<int> markA = scoretool::intArgument(rest.takeFirst());
            const std::optional<int> markB = scoretool::intArgument(rest.takeFirst());
            if (!markA || !markB)
                return std::nullopt;
            a.markA = *markA;
            a.markB = *markB;
        } else if (option == QStringLiteral("--play") && !rest.isEmpty()) {
            a.play = scoretool::intArgument(rest.takeFirst());
            if (!a.play)
                return std::nullopt;
            ++actions;
        } else if (option == QStringLiteral("--drag") && !rest.isEmpty()) {
            a.drag = twipsArgument(rest.takeFirst());
            if (!a.drag)
                return std::nullopt;
            ++actions;
        } else if (option == QStringLiteral("--arrow") && rest.size() >= 2) {
            const QString side = rest.takeFirst();
            const std::optional<int> steps = scoretool::intArgument(rest.takeFirst(), 0, kMaxBars);
            if ((side != QStringLiteral("left") && side != QStringLiteral("right")) || !steps)
                return std::nullopt;
            a.arrow = side == QStringLiteral("left") ? drums::Arrow::Left : drums::Arrow::Right;
            a.arrowSteps = *steps;
            ++actions;
        } else {
            return std::nullopt;
        }
    }
    if (actions > 1)
        return std::nullopt;
    return a;
}

int strip(const QStringList& args)
{
    const auto a = parse(args);
    if (!a) {
        scoretool::err(kUsage);
        return 2;
    }
    std::vector<bool> flags(std::size_t(a->count), false);
    for (int i = 0; i < a->count && i < a->bits.size(); ++i)
        flags[std::size_t(i)] = a->bits[i] == u'1';

    StripGeometry g;
    g.resize(a->width, a->height);
    g.setPlayRange(a->markA, a->markB);
    g.GetValueLong(flags, a->onXj);
    if (a->play) {
        g.setPlayXJ(*a->play);
    } else if (a->drag) {
        g.dragPointer(*a->drag);
        if (const auto bar = g.releasePointer())
            scoretool::out(QStringLiteral("SetOnXj %1").arg(*bar));
    } else if (a->arrow) {
        for (int i = 0; i < a->arrowSteps; ++i) {
            const drums::ArrowStep step = g.StepXj(*a->arrow);
            if (step.beep)
                scoretool::out(QStringLiteral("beep"));
            scoretool::out(QStringLiteral("SetOnXj %1").arg(step.bar));
        }
    }

    scoretool::out(QStringLiteral("ShowCount %1").arg(g.ShowCount));
    scoretool::out(QStringLiteral("side %1").arg(twips(g.side())));
    scoretool::out(QStringLiteral("FirstXj %1").arg(g.FirstXj));
    for (int e = 0; e <= g.LastLab; ++e) {
        const drums::StripLabel& label = g.labels()[std::size_t(e)];
        scoretool::out(QStringLiteral("label %1 %2 %3 %4")
                           .arg(e)
                           .arg(twips(label.left))
                           .arg(label.caption)
                           .arg(lookName(label.look)));
    }
    scoretool::out(QStringLiteral("MarkLab %1").arg(g.MarkLab));
    scoretool::out(QStringLiteral("RedLab %1").arg(g.RedLab));
    scoretool::out(QStringLiteral("pointer %1").arg(twips(g.pointer().left)));
    scoretool::out(QStringLiteral("MyXj %1").arg(g.MyXj));
    return 0;
}

} // namespace

SCORETOOL_COMMAND("strip",
    "W H COUNT ONXJ [--drums BITS] [--marks A B] [--play BAR | --drag DX | --arrow left|right N]  lay out "
    "the bar strip in twips and print its labels",
    strip);
