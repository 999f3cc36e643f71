#include "tests/editor/window_fixture.h"
#include "tests/support/fake_devices.h"

#include "app/editor/window/start_up.h"
#include "app/editor/window/wheel_filter.h"
#include "app/frame/process_state.h"
#include "app/playback/playback_state.h"

#include <QPrinter>

#include <QFile>

namespace tunvale::testing {

editor::MainFormServices FakeServices(QStringList ports)
{
    editor::MainFormServices services;
    services.midiDevices = std::make_unique<FakeDevices>(std::move(ports));
    // No dialog blocks a test: the printer and save dialogs are cancelled unless a test answers them.
    services.printing.dialog = [](QWidget*, QPrinter&, int, dialogs::PrintRange&) { return false; };
    services.outputSaveDialog = [](const platform::FileDialogRequest&) { return QString(); };
    return services;
}

WindowTest::WindowTest()
{
    frame::ProcessState& state = frame::Process();
    state.ScoreHeader = {};
    state.ColorScheme = {};
    state.start = {};
    editor::SetStartValues();
}

WindowTest::~WindowTest()
{
    form.reset();
    playback::NotePlayer.reset();
    editor::UnhookWheel();
}

editor::MainForm& WindowTest::load(const QString& file, QStringList ports)
{
    frame::Process().ScoreHeader.CurrentFile = file;
    form = std::make_unique<editor::MainForm>(FakeServices(std::move(ports)));
    form->load();
    return *form;
}

QString WindowTest::sampleScore(const QString& name) const
{
    const QString copy = user.file(name);
    QFile::remove(copy);
    QFile::copy(QStringLiteral(TUNVALE_BUILD_DIR "/data/vls/") + name, copy);
    return copy;
}

} // namespace tunvale::testing
