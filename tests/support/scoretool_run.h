#pragma once

#include <QByteArray>
#include <QStringList>

// Runs the test tool of the build tree and collects what it printed.
namespace tunvale::testing {

struct ScoretoolResult {
    int exitCode = -1; // -1 when it did not finish normally within a minute
    QByteArray out;
};

ScoretoolResult RunScoretool(const QStringList& args);

} // namespace tunvale::testing
