#pragma once

#include "platform/midi/midi_devices.h"
#include "platform/midi/recording_sink.h"

#include <memory>
#include <vector>

namespace tunvale::testing {

// The built-in synthesizer and a few ports, all recording sinks the test can look into.
class FakeDevices final : public platform::MidiDevices
{
public:
    explicit FakeDevices(QStringList ports = {})
        : ports_(std::move(ports))
    {
        for (int i = 0; i < ports_.size(); ++i)
            portRecordings.push_back(std::make_shared<platform::MidiRecording>());
    }

    std::unique_ptr<platform::MidiOut> builtIn() override
    {
        return std::make_unique<platform::RecordingSink>(builtInRecording, QStringLiteral("内置合成器"));
    }
    QStringList portNames() override { return ports_; }
    std::unique_ptr<platform::MidiOut> port(const QString& name) override
    {
        return std::make_unique<platform::RecordingSink>(
            portRecordings.at(size_t(ports_.indexOf(name))), name);
    }

    std::shared_ptr<platform::MidiRecording> builtInRecording = std::make_shared<platform::MidiRecording>();
    std::vector<std::shared_ptr<platform::MidiRecording>> portRecordings;

private:
    QStringList ports_;
};

} // namespace tunvale::testing
