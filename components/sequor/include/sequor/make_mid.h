#pragma once

#include "app/notation/drum_record.h"
#include "components/sequor/core/export_options.h"
#include "components/sequor/core/loaded_order.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <span>

class QWidget;

namespace tunvale::platform {
class Prompts;
}

// The MIDI file export component: one call shows the options dialog, lays the score out in play order,
// writes the file and tells the user how it went.
namespace tunvale::sequor {

// What the program hands over for one export.
struct MakeMidArguments {
    QString FileName1; // the MIDI file to write, already chosen
    QStringList AppPath1; // where "genmidi.txt", "Note.ini" and "MyNote.ini" are looked up, in turn
    QString JPWord; // the notation text of the whole score
    int OldSpeed1 = 120; // beats per minute
    QString JeiPai1 = QStringLiteral("4/4");
    int OldYDiao1 = 0; // key shift in semitones from C
    int ComSoundsListIndex1 = 0; // melody program
    int Text_VolumeText1 = 98;
    std::span<const notation::DrumRecord> add1; // one record per score bar
    QString JPWord2; // the notation text of the selection; "" when nothing is selected
    std::optional<LoadedOrder> PlayOrder; // the order the score plays in, when it has one
};

// The options dialog as the export uses it.
class ExportOptionsDialog
{
public:
    virtual ~ExportOptionsDialog() = default;
    // Shows the dialog for `path`; the selection-only box is enabled only when `hasSelection`. The
    // instrument names come from "genmidi.txt" in `folders`. No value when the user cancels.
    virtual std::optional<ExportOptions> run(
        const QString& path, bool hasSelection, const QStringList& folders)
        = 0;
};

class MakeMid
{
public:
    virtual ~MakeMid() = default;
    virtual void ShowMainInfo(const MakeMidArguments& arguments) = 0;
};

// The dialog "制作Mid..." over `parent`.
std::unique_ptr<ExportOptionsDialog> CreateExportOptionsDialog(QWidget* parent);

// An export object whose messages go through `prompts`; without `dialog` it shows "制作Mid...".
std::unique_ptr<MakeMid> CreateMakeMid(
    platform::Prompts& prompts, QWidget* parent, std::unique_ptr<ExportOptionsDialog> dialog = nullptr);

} // namespace tunvale::sequor
