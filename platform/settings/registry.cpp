#include "platform/settings/registry.h"

#include "platform/text/runtime_numbers.h"

#include <QSettings>

#include <optional>

namespace tunvale::platform {

namespace {

const QString kOrganisation = QStringLiteral("Velmora");
const QString kApplication = QStringLiteral("Tunvale");

// The settings group of a key path, or no value for a root we do not keep.
std::optional<QString> groupOf(std::uint32_t keyRoot, const QString& keyPath)
{
    if (keyRoot != HKEY_CURRENT_USER)
        return std::nullopt;
    QStringList parts = keyPath.split(u'\\', Qt::SkipEmptyParts);
    if (parts.size() >= 2 && parts[0].compare(QStringLiteral("Software"), Qt::CaseInsensitive) == 0
        && parts[1].compare(kOrganisation, Qt::CaseInsensitive) == 0)
        parts.remove(0, 2);
    return parts.join(u'/');
}

// Settings opened at `group`. A group exists when it holds a value or a subgroup; the top level
// always exists.
struct Group {
    QSettings settings { kOrganisation, kApplication };
    bool exists = false;

    explicit Group(const QString& group)
    {
        if (!group.isEmpty())
            settings.beginGroup(group);
        exists = group.isEmpty() || !settings.childKeys().isEmpty() || !settings.childGroups().isEmpty();
    }
};

// The leading number of a text, held to [low, high] so that no conversion overflows.
std::int64_t boundedVal(const QString& text, double low, double high)
{
    return std::int64_t(qBound(low, Val(text), high));
}

} // namespace

QString Registry::ReadRegKey(std::uint32_t keyRoot, const QString& keyPath, const QString& subKey,
    const QString& noKeyFoundValue) const
{
    const std::optional<QString> group = groupOf(keyRoot, keyPath);
    if (!group)
        return noKeyFoundValue;
    Group g(*group);
    const QVariant value = g.settings.value(subKey);
    return value.isValid() ? value.toString() : noKeyFoundValue;
}

bool Registry::WriteRegKey(int keyType, std::uint32_t keyRoot, const QString& keyPath, const QString& subKey,
    const QString& subKeyValue) const
{
    const std::optional<QString> group = groupOf(keyRoot, keyPath);
    if (!group || subKey.isEmpty())
        return false;
    QString stored;
    switch (keyType) {
    case REG_SZ:
        stored = subKeyValue;
        break;
    case REG_BINARY:
        stored = QString::number(boundedVal(subKeyValue, 0, 255));
        break;
    case REG_DWORD:
        stored = QString::number(
            std::int32_t(std::uint32_t(boundedVal(subKeyValue, -2147483648.0, 4294967295.0))));
        break;
    default:
        return true;
    }
    return WriteRegStrings(keyRoot, keyPath, { { subKey, stored } });
}

bool Registry::WriteRegStrings(
    std::uint32_t keyRoot, const QString& keyPath, const QList<std::pair<QString, QString>>& values) const
{
    const std::optional<QString> group = groupOf(keyRoot, keyPath);
    if (!group)
        return false;
    Group g(*group);
    // A value that is stored already is not written again: a write waits for the disk.
    bool changed = false;
    for (const auto& [name, value] : values) {
        if (name.isEmpty())
            return false;
        const QVariant old = g.settings.value(name);
        if (old.isValid() && old.toString() == value)
            continue;
        g.settings.setValue(name, value);
        changed = true;
    }
    if (!changed)
        return true;
    g.settings.sync();
    return g.settings.status() == QSettings::NoError;
}

QString Registry::EnumerateRegKeys(std::uint32_t keyRoot, const QString& keyPath) const
{
    const std::optional<QString> group = groupOf(keyRoot, keyPath);
    if (!group)
        return {};
    Group g(*group);
    return g.exists ? g.settings.childGroups().join(u',') : QString();
}

QString Registry::EnumerateRegKeyValues(std::uint32_t keyRoot, const QString& keyPath) const
{
    const std::optional<QString> group = groupOf(keyRoot, keyPath);
    if (!group)
        return {};
    Group g(*group);
    if (!g.exists)
        return {};
    QStringList pairs;
    for (const QString& name : g.settings.childKeys())
        pairs << name + u'*' + g.settings.value(name).toString();
    return pairs.join(u',');
}

bool Registry::DeleteRegKey(std::uint32_t keyRoot, const QString& keyPath, const QString& subKey) const
{
    const std::optional<QString> group = groupOf(keyRoot, keyPath + u'\\' + subKey);
    if (!group || group->isEmpty())
        return false;
    QSettings settings(kOrganisation, kApplication);
    if (!Group(*group).exists)
        return false;
    settings.remove(*group);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

bool Registry::DeleteRegKeyValue(std::uint32_t keyRoot, const QString& keyPath, const QString& subKey) const
{
    const std::optional<QString> group = groupOf(keyRoot, keyPath);
    if (!group)
        return false;
    Group g(*group);
    const QString name = subKey.isEmpty() ? keyPath : subKey;
    if (!g.settings.contains(name))
        return false;
    g.settings.remove(name);
    g.settings.sync();
    return g.settings.status() == QSettings::NoError;
}

} // namespace tunvale::platform
