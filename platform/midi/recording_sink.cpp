#include "platform/midi/recording_sink.h"

namespace tunvale::platform {

std::vector<RecordedMessage> MidiRecording::messages() const
{
    std::lock_guard lock(mutex_);
    return messages_;
}

std::vector<ShortMessage> MidiRecording::shortMessages() const
{
    std::lock_guard lock(mutex_);
    std::vector<ShortMessage> out;
    out.reserve(messages_.size());
    for (const RecordedMessage& m : messages_)
        out.push_back(m.message);
    return out;
}

void MidiRecording::clear()
{
    std::lock_guard lock(mutex_);
    messages_.clear();
}

bool MidiRecording::isOpen() const
{
    std::lock_guard lock(mutex_);
    return open_;
}

int MidiRecording::openCount() const
{
    std::lock_guard lock(mutex_);
    return opens_;
}

void MidiRecording::failFromSend(int n)
{
    std::lock_guard lock(mutex_);
    failFrom_ = n;
}

void MidiRecording::failOpen(bool fail)
{
    std::lock_guard lock(mutex_);
    failOpen_ = fail;
}

RecordingSink::RecordingSink(std::shared_ptr<MidiRecording> recording, QString name)
    : recording_(std::move(recording))
    , name_(std::move(name))
{
}

bool RecordingSink::open()
{
    std::lock_guard lock(recording_->mutex_);
    if (recording_->failOpen_) {
        lastError_ = QStringLiteral("the recording sink was told to refuse opening");
        return false;
    }
    recording_->open_ = true;
    ++recording_->opens_;
    return true;
}

void RecordingSink::close()
{
    std::lock_guard lock(recording_->mutex_);
    recording_->open_ = false;
}

bool RecordingSink::send(const ShortMessage& message)
{
    std::lock_guard lock(recording_->mutex_);
    ++recording_->sends_;
    if (recording_->failFrom_ > 0 && recording_->sends_ >= recording_->failFrom_) {
        lastError_ = QStringLiteral("the recording sink was told to fail");
        return false;
    }
    recording_->messages_.push_back(RecordedMessage { std::chrono::steady_clock::now(), message });
    return true;
}

QString RecordingSink::lastError() const
{
    std::lock_guard lock(recording_->mutex_);
    return lastError_;
}

} // namespace tunvale::platform
