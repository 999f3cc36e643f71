#include "tests/tools/score_loading.h"

#include "app/frame/read_vls.h"
#include "app/notation/drum_data.h"

#include <QFile>
#include <QFileInfo>

namespace tunvale::scoretool {

bool LoadScore(const QString& file, platform::RichTextBox& box, notation::ScoreHeader& header,
    notation::DrumStore& drums)
{
    if (QFileInfo(file).suffix().compare(QStringLiteral("vls"), Qt::CaseInsensitive) == 0) {
        const frame::VlsDocument document = frame::ReadVls(file, header, notation::ColorScheme {});
        if (document.status != frame::VlsReadStatus::Ok)
            return false;
        header = document.header;
        header.CurrentFile = file;
        notation::ReadDrumData(drums, file);
        return box.setTextRTF(QString::fromLatin1(document.body));
    }
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    return box.setTextRTF(QString::fromLatin1(in.readAll()));
}

} // namespace tunvale::scoretool
