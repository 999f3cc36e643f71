#include "app/dialogs/program_icon.h"

#include "platform/desktop/drawn_icon.h"

#include <QPainter>

namespace tunvale::dialogs {

QIcon ProgramIcon()
{
    return platform::DrawnIcon([](QPainter& p, const QRectF& box, const QColor&, bool) {
        const double s = box.width();
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 110, 70));
        p.drawRoundedRect(box.adjusted(s * 0.04, s * 0.04, -s * 0.04, -s * 0.04), s * 0.18, s * 0.18);
        QFont font(QStringLiteral("KORVA_Note"));
        font.setPixelSize(std::max(4, int(s * 0.9)));
        p.setFont(font);
        p.setPen(Qt::white);
        // The note 1 as an eighth: its underline says jianpu.
        p.drawText(box, Qt::AlignCenter, QString(QChar(0x4E00 + 7)));
    });
}

} // namespace tunvale::dialogs
