#pragma once

#include "platform/midi/midi_out.h"

#include <chrono>
#include <memory>
#include <mutex>

namespace tunvale::platform {

struct RecordedMessage {
    std::chrono::steady_clock::time_point time;
    ShortMessage message;
};

// What a recording sink received; shared with the test, so it outlives the sink that an owner
// has already dropped.
class MidiRecording
{
public:
    std::vector<RecordedMessage> messages() const;
    std::vector<ShortMessage> shortMessages() const;
    void clear();
    bool isOpen() const;
    int openCount() const;

    // Sends from the n-th one on (counting from 1) fail.
    void failFromSend(int n);
    void failOpen(bool fail);

private:
    friend class RecordingSink;
    mutable std::mutex mutex_;
    std::vector<RecordedMessage> messages_;
    int sends_ = 0;
    int failFrom_ = 0;
    bool failOpen_ = false;
    bool open_ = false;
    int opens_ = 0;
};

// An output that keeps the time and bytes of every message instead of sounding them.
class RecordingSink final : public MidiOut
{
public:
    explicit RecordingSink(
        std::shared_ptr<MidiRecording> recording, QString name = QStringLiteral("Recording sink"));

    bool open() override;
    void close() override;
    bool send(const ShortMessage& message) override;
    QString name() const override { return name_; }
    QString lastError() const override;

private:
    std::shared_ptr<MidiRecording> recording_;
    QString name_;
    QString lastError_;
};

} // namespace tunvale::platform
