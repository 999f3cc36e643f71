#pragma once

#include <QList>
#include <QString>

#include <memory>
#include <optional>
#include <utility>

// Values of ini files ("[section]" lines and "key=value" lines). Files are UTF-8; one that is not valid
// UTF-8 is read as code page 936, as older copies of our ini files are.
namespace tunvale::platform {

// The value of `key` in `section` of `fileName`: the whole text after "=", blanks trimmed and one pair
// of enclosing quotes removed, cut before its first NUL. An empty string when the file, the section or
// the key is missing; never an error. Section and key names match exactly.
QString ReadIniValue(const QString& section, const QString& key, const QString& fileName);

class IniLines;

// An ini file read once, for callers that look up many of its values: value() answers as ReadIniValue
// would have when the file was read.
class IniFile
{
public:
    explicit IniFile(const QString& fileName);

    QString value(const QString& section, const QString& key) const;

private:
    // Shared, so copies of one read file share its lines.
    std::shared_ptr<const IniLines> lines_;
};

// Writes `value` under `key` in `section` of `fileName`, creating the file, section or key as needed;
// no value removes the key. The rest of the file is kept line for line. The write holds a lock file
// beside the ini file, so processes writing at once never lose each other's keys, and replaces the
// file only once the new content is complete. Each text is cut before its first NUL or line break, which
// would otherwise break the file's lines. Returns false when the file could not be written.
bool WriteIniValue(
    const QString& section, const QString& key, const std::optional<QString>& value, const QString& fileName);

// Writes every key=value pair of `values` under `section` of `fileName` as WriteIniValue would, in one
// locked edit: another process sees all of them or none, and the file is rewritten once.
bool WriteIniValues(const QString& section, const QList<std::pair<QString, std::optional<QString>>>& values,
    const QString& fileName);

// Removes `key` from `section` only while its value is `expected`, reading and writing under the same
// lock, so an entry another process has just taken over stays. True when it was removed.
bool RemoveIniValueIf(
    const QString& section, const QString& key, const QString& expected, const QString& fileName);

} // namespace tunvale::platform
