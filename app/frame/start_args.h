#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

// How the program was started, from its arguments.
namespace tunvale::frame {

enum class StartKind {
    Ordinary, // a plain path, or nothing
    OpenFile, // "/OpenFile PATH": a further window started by another window
    Print, // "/p PATH": print the score and end
};

struct StartArgs {
    StartKind kind = StartKind::Ordinary;
    QString CurrentFile; // in the form of ScorePathKey; empty for none
    bool ShowStartProgress = true;
    bool PrintStart = false;
};

// Dispatches on the first argument (`args` without the program's name): "/OpenFile" takes the rest
// joined by one blank; "/p" takes the second argument without surrounding quotes ("/p" alone is an
// ordinary start without a file); otherwise every argument joined by one blank with double quotes
// removed.
StartArgs ParseStartArgs(const QStringList& args);

// "ordinary", "openfile" or "print".
QString StartKindName(StartKind kind);

// The one form in which a score's path is kept in [FileN] and the recent files: absolute and clean, with
// symbolic links resolved when the file exists. Empty stays empty.
QString ScorePathKey(const QString& path);

} // namespace tunvale::frame
