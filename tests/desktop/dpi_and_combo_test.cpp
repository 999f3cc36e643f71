#include "platform/desktop/combo_drop_width.h"
#include "platform/desktop/dpi.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFontMetrics>
#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>

using namespace tunvale::platform;

TEST(Dpi, WindowsLaidOutFor96DpiKeepTheirLook)
{
    const struct {
        int dpi;
        double width, fontSize;
    } cases[] = { { 96, 4800, 9 }, { 120, 3840, 7.2 }, { 144, 3200, 6 }, { 192, 2560, 4.5 } };
    for (const auto& c : cases) {
        TwipsWindow w { 1500, 750, 4800, 3600, 12 };
        EXPECT_TRUE(ScaleForDpi(w, c.dpi));
        EXPECT_DOUBLE_EQ(w.width, c.width) << c.dpi;
        EXPECT_DOUBLE_EQ(w.height, c.width * 3 / 4) << c.dpi;
        EXPECT_DOUBLE_EQ(w.left, c.width * 1500 / 4800) << c.dpi;
        EXPECT_DOUBLE_EQ(w.fontSize, c.fontSize) << c.dpi;
    }
    // Sides that are no whole number of pixels are rounded, halves to even.
    TwipsWindow odd { 22.5, 37.5, 7, 8, 9 };
    ScaleForDpi(odd, 120);
    EXPECT_DOUBLE_EQ(odd.left, 24); // 1.5 px -> 2
    EXPECT_DOUBLE_EQ(odd.top, 24); // 2.5 px -> 2
    EXPECT_DOUBLE_EQ(odd.width, 0); // 0.47 px -> 0
    EXPECT_DOUBLE_EQ(odd.height, 12); // 0.53 px -> 1

    QWidget window;
    ScaleForDpi(window, 120);
    EXPECT_DOUBLE_EQ(window.font().pointSizeF(), 7.2);
    EXPECT_GT(GetDpi(), 0);
}

TEST(ComboDropWidth, FitsTheLongestItemWithinLimitsAndKeepsFonts)
{
    QWidget form;
    QFont formFont(QStringLiteral("DejaVu Serif"), 20);
    form.setFont(formFont);
    auto* combo = new QComboBox(&form);
    QFont comboFont(QStringLiteral("DejaVu Sans"), 9);
    combo->setFont(comboFont);
    auto* sibling = new QWidget(&form);
    combo->resize(120, 24);

    // Items shorter than the box: the box's own width.
    combo->addItems({ QStringLiteral("1 钢琴"), QStringLiteral("2 风琴") });
    FitComboDropWidth(*combo, -1);
    EXPECT_EQ(combo->view()->minimumWidth(), 120 + 10);

    const QString longItem = QStringLiteral("48 弦乐合奏一 String Ensemble with a very long description");
    combo->addItem(longItem);
    FitComboDropWidth(*combo, -1);
    const int measured = QFontMetrics(comboFont).horizontalAdvance(longItem) + 8;
    EXPECT_EQ(combo->view()->minimumWidth(), qMax(measured, 120) + 10);

    FitComboDropWidth(*combo, 200);
    EXPECT_EQ(combo->view()->minimumWidth(), 200 + 10);

    combo->addItem(QString(400, u'宽'));
    FitComboDropWidth(*combo, 0);
    EXPECT_EQ(combo->view()->minimumWidth(), combo->screen()->geometry().width() - 16 + 10);

    // Measuring changed no font, neither the form's nor the other controls'.
    EXPECT_EQ(form.font(), formFont);
    EXPECT_EQ(sibling->font().family(), formFont.family());
    EXPECT_EQ(combo->font(), comboFont);

    // The drop-down really opens that wide.
    FitComboDropWidth(*combo, 300);
    form.show();
    combo->showPopup();
    EXPECT_GE(combo->view()->width(), 300);
    combo->hidePopup();
}
