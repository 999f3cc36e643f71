#pragma once

#include "platform/midi/midi_devices.h"
#include "platform/midi/recording_sink.h"

#include <future>
#include <memory>

namespace tunvale::testing {

// A built-in output whose opening takes until the test sets `finish`, as a large soundfont does.
class SlowOpening final : public platform::MidiDevices
{
public:
    std::unique_ptr<platform::MidiOut> builtIn() override
    {
        class Out final : public platform::MidiOut
        {
        public:
            explicit Out(SlowOpening& devices)
                : devices_(devices)
                , sink_(devices.recording)
            {
            }
            bool open() override
            {
                devices_.opening.wait();
                return sink_.open();
            }
            void close() override { sink_.close(); }
            bool send(const platform::ShortMessage& m) override { return sink_.send(m); }
            QString name() const override { return sink_.name(); }
            QString lastError() const override { return sink_.lastError(); }

        private:
            SlowOpening& devices_;
            platform::RecordingSink sink_;
        };
        return std::make_unique<Out>(*this);
    }
    QStringList portNames() override { return {}; }
    std::unique_ptr<platform::MidiOut> port(const QString&) override { return nullptr; }

    std::promise<void> finish;
    std::shared_future<void> opening = finish.get_future().share();
    std::shared_ptr<platform::MidiRecording> recording = std::make_shared<platform::MidiRecording>();
};

} // namespace tunvale::testing
