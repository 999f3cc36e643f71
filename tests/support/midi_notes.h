#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

namespace tunvale::testing {

// What tests/tools/midinotes.py prints for the files; fails the test when mido cannot read one.
inline QString MidiNotes(const QStringList& paths)
{
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
        QStringList { QStringLiteral(TUNVALE_SOURCE_DIR "/tests/tools/midinotes.py") } + paths);
    EXPECT_TRUE(python.waitForFinished(120000));
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    return QString::fromUtf8(python.readAllStandardOutput());
}

} // namespace tunvale::testing
