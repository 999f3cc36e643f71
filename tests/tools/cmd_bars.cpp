#include "tests/tools/command_registry.h"
#include "tests/tools/score_loading.h"

#include "app/editor/editing/line_table.h"
#include "platform/desktop/notation_fonts.h"
#include "platform/richtext/rich_text_format.h"

#include <QTextDocument>

namespace {

using namespace tunvale;

QString codes(const QString& text)
{
    QStringList out;
    for (QChar c : text)
        out << (c == u'\r'   ? QStringLiteral("CR")
                : c == u'\n' ? QStringLiteral("LF")
                             : QStringLiteral("U+%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper());
    return out.join(u' ');
}

int bars(const QStringList& args)
{
    QStringList rest = args;
    int width = -1;
    int selStart = 0;
    int selLength = 0;
    QString file;
    bool valid = true;
    while (valid && !rest.isEmpty()) {
        const QString arg = rest.takeFirst();
        if (arg == QStringLiteral("--width") && !rest.isEmpty()) {
            const auto value = scoretool::intArgument(rest.takeFirst(), 1);
            valid = value.has_value();
            width = value.value_or(-1);
        } else if (arg == QStringLiteral("--sel") && rest.size() >= 2) {
            const auto start = scoretool::intArgument(rest.takeFirst(), 0);
            const auto length = scoretool::intArgument(rest.takeFirst(), 0);
            valid = start && length;
            selStart = start.value_or(0);
            selLength = length.value_or(0);
        } else if (file.isEmpty() && !arg.startsWith(QStringLiteral("--"))) {
            file = arg;
        } else {
            valid = false;
        }
    }
    if (!valid || file.isEmpty()) {
        scoretool::err(QStringLiteral("usage: scoretool bars IN [--width TWIPS] [--sel START LEN]"));
        return 2;
    }
    platform::loadNotationFonts();
    platform::RichTextBox box;
    notation::ScoreHeader header;
    notation::DrumStore drums;
    QString error;
    if (!scoretool::LoadScore(file, box, header, drums, error)) {
        scoretool::err(error);
        return 1;
    }
    if (width > 0)
        box.document()->setTextWidth(platform::TwipsToPixels(width));
    const editor::BarScan scan
        = editor::ScanBars(editor::BuildLineTable(box.snapshot()), selStart, selLength);
    for (size_t i = 0; i < scan.LineTable.size(); ++i) {
        const editor::LineInfo& line = scan.LineTable[i];
        scoretool::out(QStringLiteral("%1 start %2 len %3 %4 %5")
                           .arg(i)
                           .arg(line.LineStart)
                           .arg(line.LineLen)
                           .arg(line.IsJpLine ? QStringLiteral("jp") : QStringLiteral("text"))
                           .arg(codes(line.LineText)));
    }
    QStringList starts;
    for (int s : scan.BarStarts)
        starts << QString::number(s);
    scoretool::out(QStringLiteral("XjxStr %1").arg(codes(scan.info.XjxStr)));
    scoretool::out(QStringLiteral("XJInteger %1").arg(scan.info.XJInteger));
    scoretool::out(QStringLiteral("BarStarts %1").arg(starts.join(u' ')));
    scoretool::out(QStringLiteral("OnXj %1").arg(scan.info.OnXj));
    scoretool::out(QStringLiteral("XjxSelStart %1").arg(scan.info.XjxSelStart));
    scoretool::out(QStringLiteral("XjxSelLength %1").arg(scan.info.XjxSelLength));
    return 0;
}

} // namespace

SCORETOOL_COMMAND(
    "bars", "IN [--width TWIPS] [--sel START LEN]   print the line table and the bars of a score", bars);
