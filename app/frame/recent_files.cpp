#include "app/frame/recent_files.h"

#include "platform/settings/registry.h"
#include "platform/text/runtime_numbers.h"

#include <cmath>

namespace tunvale::frame {

namespace {

const QString kKey = QStringLiteral("Software\\Velmora\\FileHistory");
const QString kFirst = QStringLiteral("FirstFile");

QString slotName(int slot) { return QStringLiteral("File%1").arg(slot); }

// The slot count wraps both ways.
int wrap(int slot) { return ((slot % kRecentFileCount) + kRecentFileCount) % kRecentFileCount; }

// "FirstFile" counts around the ring: any number (Val gives a finite one) names the slot its whole part
// comes to, however far beyond 0 .. 3 it lies.
int firstSlot(const platform::Registry& registry)
{
    const double first
        = platform::Val(registry.ReadRegKey(platform::HKEY_CURRENT_USER, kKey, kFirst, QStringLiteral("0")));
    return wrap(int(std::fmod(std::trunc(first), kRecentFileCount)));
}

QString readSlot(const platform::Registry& registry, int slot)
{
    return registry.ReadRegKey(platform::HKEY_CURRENT_USER, kKey, slotName(slot), QString());
}

} // namespace

QStringList RecentFiles::Entries()
{
    const platform::Registry registry;
    QStringList entries;
    int slot = firstSlot(registry);
    for (int i = 0; i < kRecentFileCount; ++i) {
        const QString path = readSlot(registry, slot);
        if (path.isEmpty())
            break;
        entries << path;
        slot = wrap(slot + 1);
    }
    return entries;
}

bool RecentFiles::AddRecentFile(const QString& path)
{
    const int index = FindRecentFile(path);
    return index < kNotARecentFile ? MoveRecentFileToFront(index) : WriteRecentFile(path);
}

bool RecentFiles::WriteRecentFile(const QString& path)
{
    if (path.endsWith(QStringLiteral("NullVls.Dat")) || path.trimmed().isEmpty())
        return false;
    const platform::Registry registry;
    const int slot = wrap(firstSlot(registry) - 1);
    registry.WriteRegStrings(
        platform::HKEY_CURRENT_USER, kKey, { { kFirst, QString::number(slot) }, { slotName(slot), path } });
    return true;
}

int RecentFiles::FindRecentFile(const QString& path)
{
    const int index = int(Entries().indexOf(path));
    return index < 0 ? kNotARecentFile : index;
}

bool RecentFiles::MoveRecentFileToFront(int index)
{
    if (index <= 0 || index >= kRecentFileCount)
        return false;
    const platform::Registry registry;
    const int first = firstSlot(registry);
    if (index == kRecentFileCount - 1) {
        // The ring turns by one: the oldest entry becomes the newest.
        registry.WriteRegStrings(
            platform::HKEY_CURRENT_USER, kKey, { { kFirst, QString::number(wrap(first - 1)) } });
        return true;
    }
    const int chosen = wrap(first + index);
    const QString moved = readSlot(registry, chosen);
    // The entries newer than the chosen one each move one step older. No slot is read after it gets its
    // new value, so all the moves go to the disk in one write.
    QList<std::pair<QString, QString>> moves;
    int to = chosen;
    int from = wrap(to - 1);
    while (to != first) {
        const QString path = readSlot(registry, from);
        if (path.isEmpty())
            break;
        moves.append({ slotName(to), path });
        to = from;
        from = wrap(from - 1);
    }
    moves.append({ slotName(first), moved });
    registry.WriteRegStrings(platform::HKEY_CURRENT_USER, kKey, moves);
    return true;
}

RecentMenuItems RecentFiles::ShowRecentFiles()
{
    RecentMenuItems items;
    const QStringList entries = Entries();
    for (int i = 0; i < entries.size(); ++i) {
        QString shown = entries[i];
        shown.replace(u'&', QStringLiteral("&&"));
        items[i] = { QStringLiteral("&%1 %2").arg(i + 1).arg(shown), entries[i], true };
    }
    if (entries.isEmpty())
        items[0] = { kNoRecentFiles, QString(), true };
    return items;
}

} // namespace tunvale::frame
