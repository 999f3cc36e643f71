#include "app/playback/wav_recorder.h"

#include "app/playback/frame_ring.h"

#include <QSaveFile>
#include <QtEndian>

#include <chrono>
#include <cmath>
#include <limits>
#include <vector>

namespace tunvale::playback {

namespace {

constexpr int kChannels = 2;
constexpr int kBytesPerSample = 2;
constexpr int kHeaderSize = 44;
// Four seconds of sound: the writer wakes every 20 ms, so only a stalled disk fills it.
constexpr int kRingSeconds = 4;
constexpr auto kWriterPause = std::chrono::milliseconds(20);
// The RIFF sizes are 32-bit: a recording stops growing before they would overflow.
constexpr qint64 kMaxDataBytes = std::numeric_limits<quint32>::max() - kHeaderSize;

QByteArray le32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray le16(quint16 value)
{
    QByteArray bytes(2, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray header(int sampleRate, quint32 dataBytes)
{
    const int blockAlign = kChannels * kBytesPerSample;
    return QByteArray("RIFF") + le32(dataBytes + kHeaderSize - 8) + "WAVE" + "fmt " + le32(16) + le16(1)
        + le16(kChannels) + le32(quint32(sampleRate)) + le32(quint32(sampleRate * blockAlign))
        + le16(blockAlign) + le16(8 * kBytesPerSample) + "data" + le32(dataBytes);
}

qint16 toSample(float value)
{
    const float clamped = std::max(-1.0f, std::min(1.0f, value));
    return qint16(std::lround(clamped * 32767.0f));
}

} // namespace

WavRecorder::WavRecorder(TapInstaller installTap, int sampleRate)
    : installTap_(std::move(installTap))
    , sampleRate_(sampleRate)
{
}

WavRecorder::~WavRecorder()
{
    if (state_ != Finished)
        finish();
}

void WavRecorder::OpenRecorder()
{
    state_ = NotRecording;
    error_.clear();
}

void WavRecorder::WavFileName(const QString& path) { path_ = path; }

long long WavRecorder::framesDropped() const { return ring_ ? static_cast<long long>(ring_->dropped()) : 0; }

bool WavRecorder::start()
{
    if (state_ != NotRecording)
        return state_ == Recording;
    error_.clear();
    if (!file_) {
        file_ = std::make_unique<QSaveFile>(path_);
        if (path_.isEmpty() || !file_->open(QIODevice::WriteOnly)
            || file_->write(header(sampleRate_, 0)) != kHeaderSize) {
            error_ = QStringLiteral("无法写入录音文件 %1").arg(path_);
            file_.reset();
            state_ = Finished;
            return false;
        }
        ring_ = std::make_unique<FrameRing>(size_t(sampleRate_) * kRingSeconds);
        writer_ = std::thread([this] { writeLoop(); });
    }
    if (!tapped_) {
        tapped_ = installTap_(
            [this](const float* left, const float* right, int frames) { capture(left, right, frames); });
        if (!tapped_) {
            error_ = QStringLiteral("只能录制内置合成器的声音，请在设备菜单中选择内置合成器。");
            return false;
        }
    }
    capturing_ = true;
    state_ = Recording;
    return true;
}

void WavRecorder::pause()
{
    if (state_ != Recording)
        return;
    capturing_ = false;
    state_ = NotRecording;
}

bool WavRecorder::finish()
{
    if (state_ == Finished)
        return error_.isEmpty();
    stopCapture();
    state_ = Finished;
    if (!file_)
        return true;
    if (writer_.joinable()) {
        stopWriting_ = true;
        writer_.join();
    }
    drain();
    const qint64 dataBytes = file_->size() - kHeaderSize;
    bool written = !writeFailed_ && dataBytes > 0;
    if (written) {
        written = file_->seek(0) && file_->write(header(sampleRate_, quint32(dataBytes))) == kHeaderSize
            && file_->commit();
        if (!written)
            error_ = QStringLiteral("录音文件 %1 写入失败").arg(path_);
    } else if (writeFailed_) {
        error_ = QStringLiteral("录音文件 %1 写入失败").arg(path_);
    }
    if (!written)
        file_->cancelWriting();
    file_.reset();
    return error_.isEmpty();
}

void WavRecorder::stopCapture()
{
    capturing_ = false;
    if (tapped_)
        installTap_(nullptr);
    tapped_ = false;
}

void WavRecorder::capture(const float* left, const float* right, int frames)
{
    if (capturing_.load(std::memory_order_relaxed))
        ring_->push(left, right, frames);
}

void WavRecorder::writeLoop()
{
    while (!stopWriting_) {
        std::this_thread::sleep_for(kWriterPause);
        drain();
    }
}

// Writer thread, or the finishing thread once the writer has ended.
void WavRecorder::drain()
{
    std::vector<float> samples;
    ring_->pop(samples);
    if (samples.empty() || writeFailed_)
        return;
    const qint64 room = kMaxDataBytes - (file_->pos() - kHeaderSize);
    const qint64 count
        = std::min<qint64>(qint64(samples.size()), room / kBytesPerSample / kChannels * kChannels);
    QByteArray bytes(int(count * kBytesPerSample), '\0');
    for (qint64 i = 0; i < count; ++i)
        qToLittleEndian(toSample(samples[size_t(i)]), bytes.data() + i * kBytesPerSample);
    if (file_->write(bytes) != bytes.size())
        writeFailed_ = true;
    else
        framesWritten_ += count / kChannels;
}

} // namespace tunvale::playback
