#include "platform/midi/alsa_port_out.h"

#include "platform/midi/quiet_backends.h"

#include <alsa/asoundlib.h>
#include <rtmidi/RtMidi.h>

namespace tunvale::platform {

namespace {

const char* const kClientName = "Tunvale";

// RtMidi prints to standard error before it throws for a missing sequencer, so ask ALSA first.
bool sequencerAvailable()
{
    quietenSoundLibraries();
    snd_seq_t* seq = nullptr;
    if (snd_seq_open(&seq, "default", SND_SEQ_OPEN_OUTPUT, 0) < 0)
        return false;
    snd_seq_close(seq);
    return true;
}

std::unique_ptr<RtMidiOut> makeClient()
{
    if (!sequencerAvailable())
        return nullptr;
    try {
        return std::make_unique<RtMidiOut>(RtMidi::LINUX_ALSA, kClientName);
    } catch (const RtMidiError&) {
        return nullptr;
    }
}

} // namespace

QStringList alsaOutputPorts()
{
    QStringList names;
    std::unique_ptr<RtMidiOut> client = makeClient();
    if (!client)
        return names;
    const unsigned count = client->getPortCount();
    for (unsigned i = 0; i < count; ++i)
        names << QString::fromStdString(client->getPortName(i));
    return names;
}

AlsaPortOut::AlsaPortOut(QString portName)
    : portName_(std::move(portName))
{
}

AlsaPortOut::~AlsaPortOut() { close(); }

void AlsaPortOut::onError(int type, const std::string& text, void* self)
{
    if (type == RtMidiError::DEBUG_WARNING)
        return;
    auto* port = static_cast<AlsaPortOut*>(self);
    port->errorRaised_ = true;
    port->lastError_ = QString::fromStdString(text);
}

bool AlsaPortOut::open()
{
    close();
    out_ = makeClient();
    if (!out_) {
        lastError_ = QStringLiteral("没有 ALSA 音序器");
        return false;
    }
    out_->setErrorCallback(
        [](RtMidiError::Type type, const std::string& text, void* self) { onError(type, text, self); }, this);
    const unsigned count = out_->getPortCount();
    for (unsigned i = 0; i < count; ++i) {
        if (QString::fromStdString(out_->getPortName(i)) != portName_)
            continue;
        errorRaised_ = false;
        out_->openPort(i, kClientName);
        if (!errorRaised_ && out_->isPortOpen())
            return true;
        break;
    }
    if (!errorRaised_)
        lastError_ = QStringLiteral("找不到 MIDI 端口 %1").arg(portName_);
    out_.reset();
    return false;
}

void AlsaPortOut::close()
{
    if (out_)
        out_->closePort();
    out_.reset();
}

bool AlsaPortOut::send(const ShortMessage& message)
{
    if (!out_) {
        lastError_ = QStringLiteral("MIDI 端口 %1 未打开").arg(portName_);
        return false;
    }
    const std::vector<unsigned char> bytes = message.wireBytes();
    errorRaised_ = false;
    out_->sendMessage(bytes.data(), bytes.size());
    return !errorRaised_;
}

} // namespace tunvale::platform
