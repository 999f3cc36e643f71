#include "tests/tools/command_registry.h"

#include "app/drums/strip_geometry.h"

#include <optional>

namespace {

using namespace tunvale;
using drums::LabelLook;
using drums::StripGeometry;

const QString kUsage = QStringLiteral("usage: scoretool strip W H COUNT ONXJ [--drums BITS] [--marks A B] "
                                      "[--play BAR | --drag DX | --arrow left|right N]");

QString twips(double value) { return QString::number(value, 'g', 12); }

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
    bool ok[4] = {};
    a.width = rest.takeFirst().toDouble(&ok[0]);
    a.height = rest.takeFirst().toDouble(&ok[1]);
    a.count = rest.takeFirst().toInt(&ok[2]);
    a.onXj = rest.takeFirst().toInt(&ok[3]);
    if (!ok[0] || !ok[1] || !ok[2] || !ok[3] || a.count < 0)
        return std::nullopt;
    int actions = 0;
    while (!rest.isEmpty()) {
        const QString option = rest.takeFirst();
        if (option == QStringLiteral("--drums") && !rest.isEmpty()) {
            a.bits = rest.takeFirst();
        } else if (option == QStringLiteral("--marks") && rest.size() >= 2) {
            a.markA = rest.takeFirst().toInt();
            a.markB = rest.takeFirst().toInt();
        } else if (option == QStringLiteral("--play") && !rest.isEmpty()) {
            a.play = rest.takeFirst().toInt();
            ++actions;
        } else if (option == QStringLiteral("--drag") && !rest.isEmpty()) {
            a.drag = rest.takeFirst().toDouble();
            ++actions;
        } else if (option == QStringLiteral("--arrow") && rest.size() >= 2) {
            const QString side = rest.takeFirst();
            if (side != QStringLiteral("left") && side != QStringLiteral("right"))
                return std::nullopt;
            a.arrow = side == QStringLiteral("left") ? drums::Arrow::Left : drums::Arrow::Right;
            a.arrowSteps = rest.takeFirst().toInt();
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
