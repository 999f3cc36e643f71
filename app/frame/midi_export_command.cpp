#include "app/frame/midi_export_command.h"

#include "app/frame/first_text_line.h"
#include "app/frame/midi_text.h"
#include "app/notation/play_order_key.h"
#include "platform/desktop/prompts.h"
#include "platform/settings/program_folder.h"
#include "platform/text/runtime_numbers.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace tunvale::frame {

namespace {

const QString kExtension = QStringLiteral(".Mid");

// A box's number as Val reads it, rounded half to even; a value beyond int is clamped to it.
int boxNumber(const QString& text)
{
    const double value = platform::RoundHalfEven(platform::Val(text));
    return int(
        std::clamp(value, double(std::numeric_limits<int>::min()), double(std::numeric_limits<int>::max())));
}

} // namespace

MidiExportServices ProgramMidiExportServices()
{
    MidiExportServices services;
    services.makeMid
        = [](QWidget* owner) { return sequor::CreateMakeMid(platform::Prompts::current(), owner); };
    services.folders = { platform::ProgramFolder::userDir(), platform::ProgramFolder::dataDir() };
    return services;
}

void exportMidi(MidiExportWindow& window, const MidiExportServices& services)
{
    const platform::RichTextSnapshot score = window.scoreSnapshot();
    platform::FileDialogRequest request;
    request.owner = window.dialogOwner();
    request.title = QStringLiteral("制作Mid音序文件...");
    request.filters = { QStringLiteral("Mid文件(*.Mid)"), QStringLiteral("*.Mid") };
    request.fileName = ProposedFileName(score, kExtension);
    request.defaultExtension = kExtension;
    const QString fileName = services.saveDialog(request);
    if (fileName.isEmpty())
        return;

    window.SetTonicFromKey();
    sequor::MakeMidArguments a;
    a.FileName1 = fileName;
    a.AppPath1 = services.folders;
    a.OldSpeed1 = boxNumber(window.Text_Speed());
    a.JeiPai1 = QStringLiteral("4/4");
    a.OldYDiao1 = window.ScoreKey() - 31;
    a.ComSoundsListIndex1 = window.ComSoundsListIndex();
    a.Text_VolumeText1 = boxNumber(window.Text_Volume());
    // A copy: timers and queued calls still run while the options dialog is up and may change the
    // window's drums.
    const std::vector<notation::DrumRecord> drums(window.XjDrums().begin(), window.XjDrums().end());
    a.add1 = drums;
    const auto [selStart, selEnd] = window.selection();
    const MidiText text = PrepareMidiText(score, selStart, selEnd);
    a.JPWord = text.JPWord;
    a.JPWord2 = text.JPWord2;
    const QString notationText = notation::NotationText(score.lines);
    a.PlayOrder = sequor::LoadedOrder { notation::PlayOrderKey(notationText),
        window.playOrderSource()(notationText) };

    const std::unique_ptr<sequor::MakeMid> makeMid = services.makeMid(window.dialogOwner());
    makeMid->ShowMainInfo(a);
}

} // namespace tunvale::frame
