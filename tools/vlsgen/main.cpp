// vlsgen SOURCE_DIR OUTPUT_DIR: writes the score file of every description SOURCE_DIR/*.txt into
// OUTPUT_DIR. Our template and sample scores are made this way; the descriptions are what we edit.

#include "tools/vlsgen/score_description.h"
#include "tools/vlsgen/score_document.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>

namespace {

void report(const QString& text) { std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData()); }

} // namespace

int main(int argc, char* argv[])
{
    // Laying out lines needs fonts, never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() != 3) {
        report(QStringLiteral("usage: vlsgen SOURCE_DIR OUTPUT_DIR"));
        return 2;
    }
    const QDir sources(args[1]);
    const QStringList names = sources.entryList({ QStringLiteral("*.txt") }, QDir::Files, QDir::Name);
    if (names.isEmpty()) {
        report(QStringLiteral("no descriptions in %1").arg(args[1]));
        return 1;
    }
    for (const QString& name : names) {
        QFile file(sources.filePath(name));
        if (!file.open(QIODevice::ReadOnly)) {
            report(QStringLiteral("%1: cannot read").arg(name));
            return 1;
        }
        const auto read = tunvale::vlsgen::ReadScoreDescription(QString::fromUtf8(file.readAll()));
        if (!read.error.isEmpty()) {
            report(QStringLiteral("%1: %2").arg(name, read.error));
            return 1;
        }
        auto description = read.description;
        if (!description.body.isEmpty())
            description.body = sources.filePath(description.body);
        if (!tunvale::vlsgen::WriteScoreFile(description, args[2])) {
            report(QStringLiteral("%1: cannot write %2").arg(name, description.output));
            return 1;
        }
    }
    return 0;
}
