#include "tests/tools/command_registry.h"

#include "app/editor/window/window_geometry.h"

using namespace tunvale;

namespace {

// The heights of the bars, in twips, as the window has them at 96 dpi.
constexpr double kToolbarHeight = 540;
constexpr double kRulerHeight = 320;
constexpr double kStatusHeight = 345;
constexpr double kStripHeight = 480;

QString rect(const QString& name, const editor::TwipsRect& r)
{
    return QStringLiteral("%1 %2 %3 %4 %5").arg(name).arg(r.left).arg(r.top).arg(r.width).arg(r.height);
}

int layout(const QStringList& args)
{
    if (args.size() != 5) {
        scoretool::err(QStringLiteral("usage: scoretool layout SW SH MODE STRIP STATUS"));
        return 2;
    }
    editor::LayoutInput in;
    in.SW = in.W = args[0].toDouble();
    in.SH = in.H = args[1].toDouble();
    in.mode = args[2].toInt();
    in.stripChecked = args[3] == QStringLiteral("1");
    in.statusChecked = args[4] == QStringLiteral("1");
    in.toolbarHeight = kToolbarHeight;
    in.toolbarVisible = in.mode == 0;
    in.rulerHeight = kRulerHeight;
    in.rulerVisible = in.mode == 1;
    in.statusHeight = kStatusHeight;
    in.stripHeight = in.sliderHeight = kStripHeight;
    const editor::LayoutResult out = editor::LayoutMainForm(in);
    scoretool::out(QStringLiteral("minimum %1 %2").arg(out.minWidth).arg(out.minHeight));
    scoretool::out(QStringLiteral("toolbar %1 ruler %2 status %3 strip %4")
                       .arg(out.toolbarVisible)
                       .arg(out.rulerVisible)
                       .arg(out.statusVisible)
                       .arg(out.stripVisible));
    scoretool::out(rect(QStringLiteral("coverPIC(0)"), out.cover0));
    scoretool::out(rect(QStringLiteral("coverPIC(1)"), out.cover1));
    scoretool::out(rect(QStringLiteral("RichTextBox1"), out.editor));
    scoretool::out(rect(QStringLiteral("PicXj"), out.strip));
    scoretool::out(QStringLiteral("StatusBar1 top %1").arg(out.statusTop));
    return 0;
}

} // namespace

SCORETOOL_COMMAND(
    "layout", "SW SH MODE STRIP STATUS  the main window's layout in twips (switches 0 or 1)", layout);
