#include "app/drums/drum_template_file.h"

#include "app/notation/drum_data.h"
#include "platform/settings/program_folder.h"
#include "platform/settings/whole_file.h"

#include <QFileInfo>

namespace tunvale::drums {

bool SaveDrumTemplates(const notation::DrumStore& templates)
{
    using platform::ProgramFolder;
    const QString path = ProgramFolder::userPath(notation::DrumTemplateFileName);
    QByteArray bytes;
    if (const auto own = platform::ReadWholeFile(path)) {
        bytes = *own;
    } else if (QFileInfo::exists(path)) {
        return false;
    } else {
        const auto shipped = platform::ReadWholeFile(ProgramFolder::dataPath(notation::DrumTemplateFileName));
        bytes = shipped ? *shipped : QByteArrayLiteral("/Drum/EDrum");
    }
    return notation::WriteDrumData(templates, bytes) && platform::CommitWholeFile(path, bytes);
}

} // namespace tunvale::drums
