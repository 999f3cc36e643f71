#include "tests/tools/window_loading.h"

#include "tests/support/fake_devices.h"
#include "tests/tools/command_registry.h"
#include "tests/tools/score_loading.h"

#include "app/editor/parts/main_form_editing.h"
#include "app/editor/window/start_up.h"
#include "app/frame/process_state.h"
#include "app/frame/score_file_commands.h"
#include "platform/desktop/notation_fonts.h"
#include "platform/richtext/rtf_reader.h"

#include <QFileInfo>

namespace tunvale::scoretool {

std::unique_ptr<editor::MainForm> LoadWindow(
    const QString& file, editor::MainFormServices services, std::unique_ptr<platform::MidiDevices> devices)
{
    platform::loadNotationFonts();
    editor::SetStartValues();
    const bool score = QFileInfo(file).suffix().compare(QStringLiteral("vls"), Qt::CaseInsensitive) == 0;
    const QString path = QFileInfo(file).absoluteFilePath();
    frame::Process().ScoreHeader.CurrentFile = score ? path : QString();
    services.midiDevices = devices ? std::move(devices) : std::make_unique<testing::FakeDevices>();
    auto window = std::make_unique<editor::MainForm>(std::move(services));
    if (!window->load() || (score && frame::Process().ScoreHeader.CurrentFile != path)) {
        err(QStringLiteral("cannot open %1").arg(file));
        return nullptr;
    }
    if (score)
        return window;
    QString error;
    const auto rtf = ReadInputFile(file, platform::kMaxRtfBytes, platform::kRtfTooLargeMessage, error);
    if (!rtf) {
        err(error);
        return nullptr;
    }
    // Refused as opening refuses a score's text, before the editor starts laying it out.
    const QString text = QString::fromLatin1(*rtf);
    const notation::ScoreHeader& header = frame::Process().ScoreHeader;
    if (const auto reason = frame::UnshowableTextReason(text, header.LeftSpace, header.RightSpace)) {
        err(frame::CannotOpenText(file, *reason));
        return nullptr;
    }
    if (!window->editor().setTextRTF(text)) {
        err(QStringLiteral("%1 is no RTF").arg(file));
        return nullptr;
    }
    window->JzRTB(0); // the margins, as opening a score lays them on
    window->part<editor::MainFormEditing>().undo().Reset();
    frame::Process().ScoreHeader.ScoreSaved = true;
    return window;
}

} // namespace tunvale::scoretool
