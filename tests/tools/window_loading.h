#pragma once

#include "app/editor/window/main_form.h"

#include <QString>

#include <memory>

namespace tunvale::scoretool {

// The main window offscreen with fake MIDI devices (or `devices`), loaded with `file`: a score file
// opens as the window's start score; an RTF file replaces the blank score's text before any undo step.
// No window (and the reason on standard error) when the file could not be opened.
std::unique_ptr<editor::MainForm> LoadWindow(const QString& file, editor::MainFormServices services = {},
    std::unique_ptr<platform::MidiDevices> devices = nullptr);

} // namespace tunvale::scoretool
