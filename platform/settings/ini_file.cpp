#include "platform/settings/ini_file.h"

#include "platform/settings/whole_file.h"

#include "platform/text/gbk.h"

#include <QFile>
#include <QLockFile>
#include <QStringList>

namespace tunvale::platform {

namespace {

// How long a writer waits for another process's write to finish before it gives up.
constexpr int kLockWaitMs = 10000;

QString cutAtLineEnd(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QChar(0) || c == u'\r' || c == u'\n')
            return text.left(i);
    }
    return text;
}

} // namespace

// The lines of an ini file and where its sections and keys are.
class IniLines
{
public:
    explicit IniLines(const QByteArray& bytes)
    {
        const QString text = DecodeTextFileBytes(bytes);
        if (text.contains(QStringLiteral("\r\n")))
            eol_ = QStringLiteral("\r\n");
        lines_ = text.split(QChar(u'\n'));
        for (QString& line : lines_) {
            if (line.endsWith(u'\r'))
                line.chop(1);
        }
        // A file that ends with a line break leaves one empty piece after it, which is no line.
        if (!lines_.isEmpty() && lines_.last().isEmpty())
            lines_.removeLast();
    }

    // The line index of the header of `section`, or -1.
    qsizetype findSection(const QString& section) const
    {
        for (qsizetype i = 0; i < lines_.size(); ++i) {
            if (sectionName(i) == section)
                return i;
        }
        return -1;
    }

    // The index after the last line of the section whose header is at `header`.
    qsizetype sectionEnd(qsizetype header) const
    {
        qsizetype i = header + 1;
        while (i < lines_.size() && sectionName(i).isNull())
            ++i;
        return i;
    }

    // The line index of `key` between `from` and `to`, or -1. A key may itself hold "=" (the program
    // keys one file by paths), so a line matches when it starts with the key followed by "=".
    qsizetype findKey(const QString& key, qsizetype from, qsizetype to) const
    {
        for (qsizetype i = from; i < to; ++i) {
            const QString line = lines_[i].trimmed();
            if (line.startsWith(key) && line.mid(key.size()).trimmed().startsWith(u'='))
                return i;
        }
        return -1;
    }

    QString valueAt(qsizetype line, const QString& key) const
    {
        const QString rest = lines_[line].trimmed().mid(key.size()).trimmed();
        QString value = rest.mid(1).trimmed();
        const qsizetype nul = value.indexOf(QChar(0));
        if (nul >= 0)
            value.truncate(nul);
        if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'')
            && value.back() == value.front())
            value = value.mid(1, value.size() - 2);
        return value;
    }

    QStringList& lines() { return lines_; }

    QByteArray toBytes() const
    {
        QString text;
        for (const QString& line : lines_)
            text += line + eol_;
        return text.toUtf8();
    }

private:
    // The name of the section whose header is line i; a null string when line i is no header.
    QString sectionName(qsizetype i) const
    {
        const QString line = lines_[i].trimmed();
        if (!line.startsWith(u'['))
            return {};
        const qsizetype close = line.indexOf(u']');
        return (close < 0 ? line.mid(1) : line.mid(1, close - 1)).trimmed();
    }

    QStringList lines_;
    QString eol_ = QStringLiteral("\n");
};

namespace {

// The file's bytes, empty when there is no such file; no value when it exists but cannot be read.
std::optional<QByteArray> readFile(const QString& fileName)
{
    QFile file(fileName);
    if (!file.exists())
        return QByteArray();
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

// Runs `edit` on the file's lines while holding the file's lock, and writes the file when `edit` says it
// changed them. False when the lock, the read or the write failed.
template <typename Edit> bool editLocked(const QString& fileName, Edit edit)
{
    QLockFile lock(fileName + QStringLiteral(".lock"));
    if (!lock.tryLock(kLockWaitMs))
        return false;
    const std::optional<QByteArray> old = readFile(fileName);
    if (!old)
        return false; // rewriting a file we cannot read would lose its content
    IniLines ini(*old);
    if (!edit(ini))
        return true;
    // The same text is not written again: a write waits for the disk.
    const QByteArray bytes = ini.toBytes();
    return bytes == *old || CommitWholeFile(fileName, bytes);
}

// Sets `key` of `section` (both already cut and trimmed) to `value`, creating the section or key as
// needed; no value removes the key. True when the lines changed.
bool setValue(IniLines& ini, const QString& section, const QString& key, const std::optional<QString>& value)
{
    QStringList& lines = ini.lines();
    const QString newLine = value ? key + u'=' + cutAtLineEnd(*value) : QString();

    qsizetype header = ini.findSection(section);
    if (header < 0) {
        if (!value)
            return false;
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines.append(QString());
        lines.append(u'[' + section + u']');
        lines.append(newLine);
        return true;
    }
    const qsizetype end = ini.sectionEnd(header);
    const qsizetype at = ini.findKey(key, header + 1, end);
    if (at >= 0 && value) {
        lines[at] = newLine;
    } else if (at >= 0) {
        lines.removeAt(at);
    } else if (value) {
        // After the section's last line that is not blank, so a blank separator stays in place.
        qsizetype insertAt = end;
        while (insertAt > header + 1 && lines[insertAt - 1].trimmed().isEmpty())
            --insertAt;
        lines.insert(insertAt, newLine);
    } else {
        return false;
    }
    return true;
}

} // namespace

IniFile::IniFile(const QString& fileName)
    : lines_(std::make_shared<const IniLines>(readFile(fileName).value_or(QByteArray())))
{
}

QString IniFile::value(const QString& section, const QString& key) const
{
    const QString wantedSection = cutAtLineEnd(section).trimmed();
    const QString wantedKey = cutAtLineEnd(key).trimmed();
    if (wantedKey.isEmpty())
        return {};
    const qsizetype header = lines_->findSection(wantedSection);
    if (header < 0)
        return {};
    const qsizetype line = lines_->findKey(wantedKey, header + 1, lines_->sectionEnd(header));
    return line < 0 ? QString() : lines_->valueAt(line, wantedKey);
}

QString ReadIniValue(const QString& section, const QString& key, const QString& fileName)
{
    return IniFile(fileName).value(section, key);
}

bool WriteIniValue(
    const QString& section, const QString& key, const std::optional<QString>& value, const QString& fileName)
{
    return WriteIniValues(section, { { key, value } }, fileName);
}

bool WriteIniValues(const QString& section, const QList<std::pair<QString, std::optional<QString>>>& values,
    const QString& fileName)
{
    const QString wantedSection = cutAtLineEnd(section).trimmed();
    QList<std::pair<QString, std::optional<QString>>> wanted;
    wanted.reserve(values.size());
    for (const auto& [key, value] : values) {
        const QString wantedKey = cutAtLineEnd(key).trimmed();
        if (wantedKey.isEmpty())
            return false;
        wanted.append({ wantedKey, value });
    }
    return editLocked(fileName, [&](IniLines& ini) {
        bool changed = false;
        for (const auto& [key, value] : wanted)
            changed = setValue(ini, wantedSection, key, value) || changed;
        return changed;
    });
}

bool RemoveIniValueIf(
    const QString& section, const QString& key, const QString& expected, const QString& fileName)
{
    const QString wantedSection = cutAtLineEnd(section).trimmed();
    const QString wantedKey = cutAtLineEnd(key).trimmed();
    if (wantedKey.isEmpty())
        return false;
    bool removed = false;
    const bool written = editLocked(fileName, [&](IniLines& ini) {
        const qsizetype header = ini.findSection(wantedSection);
        if (header < 0)
            return false;
        const qsizetype at = ini.findKey(wantedKey, header + 1, ini.sectionEnd(header));
        if (at < 0 || ini.valueAt(at, wantedKey) != expected)
            return false;
        ini.lines().removeAt(at);
        removed = true;
        return true;
    });
    return written && removed;
}

} // namespace tunvale::platform
