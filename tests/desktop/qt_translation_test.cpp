#include "platform/desktop/qt_translation.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>

#include <gtest/gtest.h>

// With Qt's Chinese texts installed, a message box's buttons read as the rest of the window does.
TEST(QtTranslation, MessageBoxButtonsSpeakChinese)
{
    QTranslator* translator = tunvale::platform::installQtTranslation(*QCoreApplication::instance());
    if (!translator)
        GTEST_SKIP() << "Qt's Simplified Chinese translation (qt6-translations-l10n) is not installed";
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    // The texts carry their access keys: "是(&Y)".
    EXPECT_TRUE(box.button(QMessageBox::Yes)->text().startsWith(QStringLiteral("是")));
    EXPECT_TRUE(box.button(QMessageBox::No)->text().startsWith(QStringLiteral("否")));
    QCoreApplication::removeTranslator(translator);
    delete translator;
}
