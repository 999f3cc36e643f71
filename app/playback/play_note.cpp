#include "app/playback/play_note.h"

#include "app/playback/genmidi_file.h"
#include "app/playback/gui_message.h"
#include "app/playback/playback_state.h"

namespace tunvale::playback {

using platform::ShortMessage;

namespace {

const QString kIncompleteList = QStringLiteral("乐器列表文件 genmidi.txt 缺失或不完整。");

bool isDataByte(int value) { return value >= 0 && value <= 127; }

// A message built from separate arguments; none when an argument does not fit its field.
std::optional<ShortMessage> channelMessage(int kind, int channel, int data1, int data2)
{
    if (channel < 0 || channel > 15 || !isDataByte(data1) || !isDataByte(data2))
        return std::nullopt;
    return ShortMessage { std::uint8_t(kind + channel), std::uint8_t(data1), std::uint8_t(data2) };
}

std::optional<ShortMessage> packedMessage(std::uint32_t message) { return ShortMessage::unpack(message); }

void showMessage(const QString& text)
{
    postMessage(platform::PromptRequest { text, platform::kProgramTitle, platform::PromptIcon::None,
        platform::PromptButtons::Ok, platform::PromptAnswer::Ok });
}

QString outputError(const QString& reason) { return QStringLiteral("MIDI 输出错误：") + reason; }

} // namespace

PlayNote::PlayNote(std::unique_ptr<platform::MidiDevices> devices, QObject* parent)
    : QObject(parent)
    , devices_(std::move(devices))
    , out_(devices_->builtIn())
{
    opener_ = std::thread([this, out = out_.get()] {
        const bool opened = out->open();
        std::lock_guard lock(mutex_);
        if (!opened) {
            failed_ = true;
            failure_ = out->lastError();
        }
        ready_ = true;
    });
}

PlayNote::~PlayNote()
{
    waitUntilReady();
    out_->close();
}

bool PlayNote::isReady() const { return ready_; }

void PlayNote::waitUntilReady() const
{
    std::call_once(joined_, [this] { opener_.join(); });
}

SoundList PlayNote::fill_sound_list()
{
    const GenMidiFile file = GenMidiFile::load();
    if (!file.isComplete())
        showMessage(kIncompleteList);
    SoundList list;
    for (int k = 0; k < GenMidiFile::kInstruments; ++k) {
        InstrumentNames[size_t(k)] = file.instrumentName(k);
        list.items << QString::number(k + 1) + QLatin1Char(' ') + file.instrumentText(k);
    }
    list.toolTip = QStringLiteral("乐器选择：") + InstrumentNames[0];
    return list;
}

QStringList PlayNote::fill_DrumSound_list(int kind)
{
    const GenMidiFile file = GenMidiFile::load();
    if (!file.isComplete())
        showMessage(kIncompleteList);
    return file.drumSounds(kind);
}

QList<DeviceEntry> PlayNote::Midi_OutDevsToList()
{
    const QStringList ports = devices_->portNames();
    QList<DeviceEntry> list { { QStringLiteral("内置合成器"), -1 } };
    for (int i = 0; i < ports.size(); ++i)
        list.append({ ports.at(i), i });
    std::lock_guard lock(mutex_);
    portNames_ = ports;
    return list;
}

bool PlayNote::OpenDevice(int itemData)
{
    waitUntilReady();
    std::unique_lock lock(mutex_);
    std::unique_ptr<platform::MidiOut> next;
    if (itemData == -1) {
        next = devices_->builtIn();
    } else if (itemData >= 0 && itemData < portNames_.size()) {
        next = devices_->port(portNames_.at(itemData));
    } else {
        showMessage(outputError(QStringLiteral("没有这个 MIDI 输出设备")));
        return false;
    }
    if (!next->open()) {
        showMessage(outputError(next->lastError()));
        return false;
    }
    if (!failed_) {
        for (int channel : { 0, 1, 2, 9 })
            out_->send(*channelMessage(0xB0, channel, 120, 0));
    }
    out_->close();
    out_ = std::move(next);
    if (auto* synth = dynamic_cast<platform::BuiltInSynth*>(out_.get()))
        synth->setFrameTap(frameTap_);
    failed_ = false;
    reported_ = false;
    return true;
}

QString PlayNote::outputName() const
{
    std::lock_guard lock(mutex_);
    return out_->name();
}

bool PlayNote::tapBuiltInSynth(platform::BuiltInSynth::FrameTap tap)
{
    std::lock_guard lock(mutex_);
    auto* synth = dynamic_cast<platform::BuiltInSynth*>(out_.get());
    if (!synth && tap)
        return false;
    frameTap_ = std::move(tap);
    if (synth)
        synth->setFrameTap(frameTap_);
    return true;
}

void PlayNote::send(std::initializer_list<Message> messages)
{
    waitUntilReady();
    bool failedNow = false;
    {
        std::lock_guard lock(mutex_);
        for (const Message& message : messages) {
            // Status bytes below 0x80 (the empty messages of a cut play) and data above 127 (a third
            // above note 127) are no messages: they never reach the output.
            if (message && message->isValid())
                failedNow = deliverLocked(*message) || failedNow;
        }
    }
    if (failedNow)
        emit outputFailed();
}

// True when this message is the one that made the failure known.
bool PlayNote::deliverLocked(const ShortMessage& message)
{
    if (!failed_) {
        if (out_->send(message))
            return false;
        failed_ = true;
        failure_ = out_->lastError();
    }
    if (reported_)
        return false;
    reported_ = true;
    showMessage(outputError(failure_));
    return true;
}

void PlayNote::note_on(int channel, int note, int velocity)
{
    send({ channelMessage(0x90, channel, note, velocity) });
}

void PlayNote::note_off(int channel, int note) { send({ channelMessage(0x80, channel, note, 0) }); }

void PlayNote::control_change(int channel, int controller, int value)
{
    send({ channelMessage(0xB0, channel, controller, value) });
}

void PlayNote::program_change(int channel, int bank, int program)
{
    send({ channelMessage(0xB0, channel, 0, bank), channelMessage(0xC0, channel, program, 0) });
}

void PlayNote::allNotes_off(int channel) { send({ channelMessage(0xB0, channel, 120, 0) }); }

void PlayNote::pitch_bend(int channel, int low, int high)
{
    send({ channelMessage(0xE0, channel, low, high) });
}

void PlayNote::midisetrpn(int channel, int parameterMsb, int parameterLsb, int valueMsb, int valueLsb)
{
    send({ channelMessage(0xB0, channel, 101, parameterMsb), channelMessage(0xB0, channel, 100, parameterLsb),
        channelMessage(0xB0, channel, 6, valueMsb), channelMessage(0xB0, channel, 38, valueLsb) });
}

void PlayNote::DrumNote_on(int sound, int pan, int velocity)
{
    send({ channelMessage(0xB0, 9, 10, pan), channelMessage(0x90, 9, sound, velocity) });
}

void PlayNote::DrumNote_on00(int sound, int pan, int velocity) { DrumNote_on(sound, pan, velocity); }

void PlayNote::DrumNote_on01(std::uint32_t message1, std::uint32_t message2)
{
    send({ packedMessage(message1), packedMessage(message2) });
}

void PlayNote::noteOnUnchecked(int channel, int note, int velocity) { note_on(channel, note, velocity); }

void PlayNote::Note_on01(std::uint32_t message)
{
    // The modulation wheel goes to channel 0 before every melody note, whatever its channel.
    send({ channelMessage(0xB0, 0, 1, 30), packedMessage(message) });
}

void PlayNote::Note_on02(std::uint32_t message1, std::uint32_t message2)
{
    DrumNote_on01(message1, message2);
}

void PlayNote::note_offall01(const QVariant& message)
{
    bool ok = false;
    const qlonglong value = message.toLongLong(&ok);
    if (ok)
        send({ packedMessage(std::uint32_t(value)) });
}

} // namespace tunvale::playback
