#include "platform/desktop/notation_fonts.h"

#include <QApplication>

#include <benchmark/benchmark.h>

// The main of the benchmarks that drive widgets: offscreen unless the caller chose a platform, with the
// notation fonts the scores are shown in.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tunvale::platform::loadNotationFonts();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
