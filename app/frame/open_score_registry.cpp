#include "app/frame/open_score_registry.h"

#include "app/frame/window_raiser.h"
#include "app/notation/score_template.h"
#include "platform/settings/ini_file.h"
#include "platform/settings/program_folder.h"
#include "platform/text/runtime_numbers.h"

#include <limits>

namespace tunvale::frame {

namespace {

const QString kSection = QStringLiteral("FileN");

} // namespace

OpenScoreRegistry::OpenScoreRegistry()
    : OpenScoreRegistry(QString())
{
}

OpenScoreRegistry::OpenScoreRegistry(QString iniFile)
    : iniFile_(iniFile.isEmpty() ? platform::ProgramFolder::userPath(QStringLiteral("MyNote.ini"))
                                 : std::move(iniFile))
{
}

bool OpenScoreRegistry::CanRegister(const QString& path)
{
    if (path.isEmpty() || path.trimmed() != path)
        return false;
    for (const QChar c : path) {
        if (c == u'=' || c == u'\r' || c == u'\n' || c == QChar(0))
            return false;
    }
    return !notation::IsTemplatePath(path);
}

qint64 OpenScoreRegistry::FindFileWindow(const QString& path) const
{
    if (!CanRegister(path))
        return 0;
    const QString value = platform::ReadIniValue(kSection, path, iniFile_);
    if (value.isEmpty())
        return 0;
    const double id = platform::Val(value);
    return id >= 1 && id <= double(std::numeric_limits<qint64>::max() / 2) ? qint64(id) : 0;
}

bool OpenScoreRegistry::Register(const QString& path, qint64 id) const
{
    return CanRegister(path) && platform::WriteIniValue(kSection, path, QString::number(id), iniFile_);
}

bool OpenScoreRegistry::Claim(const QString& path, qint64 id) const
{
    const qint64 holder = FindFileWindow(path);
    if (holder != 0 && holder != id && WindowRaiser::AskShows(holder, path))
        return false;
    return Register(path, id);
}

bool OpenScoreRegistry::RemoveIfHeldBy(const QString& path, qint64 id) const
{
    return CanRegister(path) && platform::RemoveIniValueIf(kSection, path, QString::number(id), iniFile_);
}

bool OpenScoreRegistry::WriteWinPos(const QString& value) const
{
    return platform::WriteIniValue(QStringLiteral("WinPos"), QStringLiteral("WindowPos"), value, iniFile_);
}

} // namespace tunvale::frame
