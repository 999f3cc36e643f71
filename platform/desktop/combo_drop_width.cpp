#include "platform/desktop/combo_drop_width.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>

namespace tunvale::platform {

void FitComboDropWidth(QComboBox& combo, int maxWidth)
{
    const QFontMetrics metrics(combo.font());
    int width = 0;
    for (int i = 0; i < combo.count(); ++i)
        width = qMax(width, metrics.horizontalAdvance(combo.itemText(i)) + 8);
    if (maxWidth <= 0) {
        const QScreen* screen = combo.screen() ? combo.screen() : QGuiApplication::primaryScreen();
        maxWidth = (screen ? screen->geometry().width() : 1024) - 16;
    }
    width = qMax(qMin(width, maxWidth), combo.width());
    SetComboDropWidth(combo, width);
}

void SetComboDropWidth(QComboBox& combo, int width) { combo.view()->setMinimumWidth(width + 10); }

} // namespace tunvale::platform
