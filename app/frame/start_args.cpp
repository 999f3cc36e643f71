#include "app/frame/start_args.h"

#include <QDir>
#include <QFileInfo>

namespace tunvale::frame {

namespace {

QString withoutSurroundingQuotes(QString text)
{
    if (text.size() >= 2 && text.startsWith(u'"') && text.endsWith(u'"'))
        text = text.mid(1, text.size() - 2);
    return text;
}

} // namespace

StartArgs ParseStartArgs(const QStringList& args)
{
    StartArgs start;
    const QString first = args.value(0);
    if (first == QStringLiteral("/OpenFile")) {
        start.kind = StartKind::OpenFile;
        start.ShowStartProgress = false;
        start.CurrentFile = ScorePathKey(args.mid(1).join(u' '));
    } else if (first == QStringLiteral("/p") && args.size() >= 2) {
        start.kind = StartKind::Print;
        start.PrintStart = true;
        start.CurrentFile = ScorePathKey(withoutSurroundingQuotes(args[1]));
    } else if (first != QStringLiteral("/p")) {
        start.CurrentFile = ScorePathKey(args.join(u' ').remove(u'"'));
    }
    return start;
}

QString StartKindName(StartKind kind)
{
    switch (kind) {
    case StartKind::OpenFile:
        return QStringLiteral("openfile");
    case StartKind::Print:
        return QStringLiteral("print");
    case StartKind::Ordinary:
        break;
    }
    return QStringLiteral("ordinary");
}

QString ScorePathKey(const QString& path)
{
    if (path.isEmpty())
        return {};
    const QFileInfo info(path);
    const QString canonical = info.exists() ? info.canonicalFilePath() : QString();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

} // namespace tunvale::frame
