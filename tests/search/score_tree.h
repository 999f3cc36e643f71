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
    ~ScoreTree();
    ScoreTree(const ScoreTree&) = delete;
    ScoreTree& operator=(const ScoreTree&) = delete;

    QString root() const { return dir_.path(); }
    QString path(const QString& relative) const { return dir_.filePath(relative); }
    // Creates `relative` as a link pointing at `target`.
    bool link(const QString& target, const QString& relative) const;
    void add(const QString& relative) const;
    // The same with a path given as the bytes the file system keeps (names that are no UTF-8), and the
    // file's content.
    void addNative(const QByteArray& relative, const QByteArray& content = {}) const;
    // A chain of folders deeper than a path reaches (25 of 200 characters), with a score at its bottom;
    // returns its top folder.
    QString addTooDeep();

private:
    QTemporaryDir dir_;
    bool tooDeep_ = false;
};

} // namespace tunvale::testing
