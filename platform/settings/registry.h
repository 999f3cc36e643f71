#pragma once

#include <QList>
#include <QString>

#include <cstdint>
#include <utility>

// The program's per-user settings, addressed like registry keys and kept in QSettings under the
// organisation "Velmora". A key path maps to a settings group: "Software\Velmora" is the top level and
// "Software\Velmora\FileHistory" the group "FileHistory"; other paths keep their parts as nested groups.
// Values are stored as text.
namespace tunvale::platform {

inline constexpr std::uint32_t HKEY_CURRENT_USER = 0x80000001;

// Value kinds of WriteRegKey.
inline constexpr int REG_SZ = 1;
inline constexpr int REG_BINARY = 3;
inline constexpr int REG_DWORD = 4;

class Registry
{
public:
    // The value `subKey` of `keyPath` as text; `noKeyFoundValue` when it does not exist.
    QString ReadRegKey(std::uint32_t keyRoot, const QString& keyPath, const QString& subKey,
        const QString& noKeyFoundValue) const;

    // Stores a value: REG_SZ the text, REG_DWORD the leading number of the text as a 32-bit number,
    // REG_BINARY it as one byte; other kinds store nothing. True when the value was stored (or nothing
    // was to be stored).
    bool WriteRegKey(int keyType, std::uint32_t keyRoot, const QString& keyPath, const QString& subKey,
        const QString& subKeyValue) const;
    // Several REG_SZ values of one key, written together (a write waits for the disk).
    bool WriteRegStrings(std::uint32_t keyRoot, const QString& keyPath,
        const QList<std::pair<QString, QString>>& values) const;

    // The names of the key's subkeys joined by ","; a null string when the key does not exist.
    QString EnumerateRegKeys(std::uint32_t keyRoot, const QString& keyPath) const;

    // "name*value" for every value of the key, joined by ","; a null string when the key does not exist.
    QString EnumerateRegKeyValues(std::uint32_t keyRoot, const QString& keyPath) const;

    // Removes the key keyPath\subKey with everything under it; true when it existed.
    bool DeleteRegKey(std::uint32_t keyRoot, const QString& keyPath, const QString& subKey) const;

    // Removes the value `subKey` of `keyPath`; true when it existed.
    bool DeleteRegKeyValue(std::uint32_t keyRoot, const QString& keyPath, const QString& subKey) const;
};
using modRegistry = Registry;

} // namespace tunvale::platform
