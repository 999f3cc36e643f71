#pragma once

#include <QStringList>
#include <QTemporaryDir>

namespace tunvale::testing {

// A temporary folder tree: empty files and folders at the given relative paths (a path ending in "/"
// is a folder), and symbolic links.
class ScoreTree
{
public:
    explicit ScoreTree(const QStringList& entries);

    QString root() const { return dir_.path(); }
    QString path(const QString& relative) const { return dir_.filePath(relative); }
    // Creates `relative` as a link pointing at `target`.
    bool link(const QString& target, const QString& relative) const;
    void add(const QString& relative) const;
    // The same with a path given as the bytes the file system keeps (names that are no UTF-8), and the
    // file's content.
    void addNative(const QByteArray& relative, const QByteArray& content = {}) const;

private:
    QTemporaryDir dir_;
};

} // namespace tunvale::testing
