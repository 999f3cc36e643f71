#pragma once

#include "platform/midi/builtin_synth.h"
#include "platform/midi/midi_devices.h"

#include <QObject>
#include <QStringList>
#include <QVariant>

#include <atomic>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace tunvale::playback {

// The instrument list as the main window shows it.
struct SoundList {
    QStringList items;
    int selected = 0;
    QString toolTip;
};

// One entry of the device menu: its name and the item data that OpenDevice takes.
struct DeviceEntry {
    QString name;
    int itemData = 0;

    friend bool operator==(const DeviceEntry&, const DeviceEntry&) = default;
};

// The program's only way to make sound: one open MIDI output and the messages the program sends
// through it. The GUI thread and the sending thread call at once; the messages of one operation
// always leave together.
//
// A failing output never ends the program: one message tells the user why, outputFailed() is
// emitted once so the playback stops, and later messages are dropped until a device is opened again.
class PlayNote : public QObject
{
    Q_OBJECT

public:
    // Starts opening the built-in synthesizer on a worker thread: loading its soundfont takes longer
    // than showing the window. A sound asked for meanwhile waits for it; when it cannot open, the first
    // sound asked for says why.
    explicit PlayNote(
        std::unique_ptr<platform::MidiDevices> devices = std::make_unique<platform::SystemMidiDevices>(),
        QObject* parent = nullptr);
    ~PlayNote() override;

    // Items "1 name" .. "128 name" of "genmidi.txt"; fills InstrumentNames.
    SoundList fill_sound_list();
    // The built-in synthesizer (item data -1), then one entry per port of the system.
    QList<DeviceEntry> Midi_OutDevsToList();
    // kind -1: the 12 sounds of the percussion sound dialog; any other: the 75 drum sounds.
    QStringList fill_DrumSound_list(int kind);
    // Moves the output to the device of a Midi_OutDevsToList entry. On failure the user is told and
    // the output stays where it was.
    bool OpenDevice(int itemData);
    QString outputName() const;
    // Hands every block the built-in synthesizer renders to `tap`, also after the output moves away and
    // back; an empty tap removes it. False when the output in use is not the built-in synthesizer.
    bool tapBuiltInSynth(platform::BuiltInSynth::FrameTap tap);
    // The output has finished opening (or failing to); waitUntilReady() blocks until it has.
    bool isReady() const;
    void waitUntilReady() const;

    void note_on(int channel, int note, int velocity);
    void note_off(int channel, int note);
    void control_change(int channel, int controller, int value);
    void program_change(int channel, int bank, int program);
    void allNotes_off(int channel);
    void pitch_bend(int channel, int low, int high);
    void midisetrpn(int channel, int parameterMsb, int parameterLsb, int valueMsb, int valueLsb);
    void DrumNote_on(int sound, int pan, int velocity);
    void DrumNote_on00(int sound, int pan, int velocity);
    void DrumNote_on01(std::uint32_t message1, std::uint32_t message2);
    void Note_on00(int, int, int) { }
    void noteOnUnchecked(int channel, int note, int velocity);
    void Note_on01(std::uint32_t message);
    void Note_on02(std::uint32_t message1, std::uint32_t message2);
    void note_off00(int, int) { }
    void note_offall01(const QVariant& message);

signals:
    // The output failed (or could not be opened); emitted once per device, from the sending thread.
    void outputFailed();

private:
    using Message = std::optional<platform::ShortMessage>;

    void send(std::initializer_list<Message> messages);
    bool deliverLocked(const platform::ShortMessage& message);

    std::unique_ptr<platform::MidiDevices> devices_;
    mutable std::mutex mutex_;
    std::unique_ptr<platform::MidiOut> out_;
    // Opens out_; joined by the first wait.
    mutable std::thread opener_;
    mutable std::once_flag joined_;
    std::atomic<bool> ready_ { false };
    bool failed_ = false;
    bool reported_ = false;
    QString failure_;
    QStringList portNames_;
    platform::BuiltInSynth::FrameTap frameTap_;
};

} // namespace tunvale::playback
