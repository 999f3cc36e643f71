#include <QApplication>
#include <QStandardPaths>

#include <gtest/gtest.h>

// Every test runs inside an offscreen application whose settings and user folder are the test-mode
// locations, so a run never touches the user's own.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("JACK_NO_START_SERVER", "1");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Velmora"));
    QApplication::setApplicationName(QStringLiteral("Tunvale"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
