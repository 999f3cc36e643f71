#pragma once

#include "app/editor/main_form.h"
#include "platform/midi/recording_sink.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/test_folders.h"

#include <QStringList>

#include <memory>

namespace tunvale::testing {

// The built-in synthesizer and a few ports, all recording sinks.
class FakeMidiDevices final : public platform::MidiDevices
{
public:
    explicit FakeMidiDevices(QStringList ports = {})
        : ports_(std::move(ports))
    {
    }
    std::unique_ptr<platform::MidiOut> builtIn() override
    {
        return std::make_unique<platform::RecordingSink>(std::make_shared<platform::MidiRecording>());
    }
    QStringList portNames() override { return ports_; }
    std::unique_ptr<platform::MidiOut> port(const QString& name) override
    {
        return std::make_unique<platform::RecordingSink>(std::make_shared<platform::MidiRecording>(), name);
    }

private:
    QStringList ports_;
};

editor::MainFormServices FakeServices(QStringList ports = {});

// A fresh process state and user folder, settings and prompts for one test.
class WindowTest
{
public:
    WindowTest();
    ~WindowTest();

    // Makes the window and loads it with `file` as the start score (empty: the template).
    editor::MainForm& load(const QString& file = {}, QStringList ports = {});
    // A copy of a sample score in the user folder.
    QString sampleScore(const QString& name = QStringLiteral("liangzhilaohu.vls")) const;

    ScopedUserFolder user;
    ScopedSettingsFolder settings;
    ScopedPrompts prompts;
    std::unique_ptr<editor::MainForm> form;
};

} // namespace tunvale::testing
