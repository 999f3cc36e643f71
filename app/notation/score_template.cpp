#include "app/notation/score_template.h"

#include "platform/settings/program_folder.h"

#include <QFileInfo>

namespace tunvale::notation {

using platform::ProgramFolder;

QString TemplatePath() { return ProgramFolder::find(kTemplateFileName); }

bool IsTemplatePath(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QString target = QFileInfo(path).absoluteFilePath();
    return target == QFileInfo(ProgramFolder::userPath(kTemplateFileName)).absoluteFilePath()
        || target == QFileInfo(ProgramFolder::dataPath(kTemplateFileName)).absoluteFilePath();
}

} // namespace tunvale::notation
