#include "app/playback/play_note.h"

#include "platform/midi/alsa_port_out.h"
#include "platform/midi/builtin_synth.h"
#include "platform/midi/recording_sink.h"
#include "tests/playback/slow_opening.h"
#include "tests/support/fake_devices.h"
#include "tests/support/scripted_prompts.h"

#include <QCoreApplication>
#include <QFile>

#include <gtest/gtest.h>

#include <functional>
#include <future>
#include <thread>

using namespace tunvale;
using platform::MidiRecording;
using platform::RecordingSink;
using platform::ShortMessage;
using playback::PlayNote;
using tunvale::testing::FakeDevices;

namespace {

struct Player {
    explicit Player(QStringList ports = {})
    {
        auto owned = std::make_unique<FakeDevices>(std::move(ports));
        devices = owned.get();
        note = std::make_unique<PlayNote>(std::move(owned));
    }
    std::vector<ShortMessage> sent() const { return devices->builtInRecording->shortMessages(); }

    FakeDevices* devices;
    std::unique_ptr<PlayNote> note;
};

ShortMessage msg(int status, int data1, int data2)
{
    return ShortMessage { std::uint8_t(status), std::uint8_t(data1), std::uint8_t(data2) };
}

struct FailureCount {
    explicit FailureCount(PlayNote& note)
    {
        QObject::connect(&note, &PlayNote::outputFailed, [this] { ++count; });
    }
    std::atomic<int> count { 0 };
};

// Posted messages are shown once the GUI thread runs its queue.
void showPostedMessages() { QCoreApplication::sendPostedEvents(); }

struct MessageCase {
    const char* what;
    std::function<void(PlayNote&)> call;
    std::vector<ShortMessage> expected;
};

TEST(PlayNoteTest, EveryOperationSendsItsMessagesInOrder)
{
    const std::vector<MessageCase> cases = {
        { "note_on", [](PlayNote& p) { p.note_on(3, 60, 100); }, { msg(0x93, 60, 100) } },
        { "noteOnUnchecked", [](PlayNote& p) { p.noteOnUnchecked(0, 72, 1); }, { msg(0x90, 72, 1) } },
        { "note_off", [](PlayNote& p) { p.note_off(0, 64); }, { msg(0x80, 64, 0) } },
        { "control_change", [](PlayNote& p) { p.control_change(15, 7, 127); }, { msg(0xBF, 7, 127) } },
        { "program_change bank first", [](PlayNote& p) { p.program_change(0, 0, 40); },
            { msg(0xB0, 0, 0), msg(0xC0, 40, 0) } },
        { "allNotes_off", [](PlayNote& p) { p.allNotes_off(2); }, { ShortMessage::unpack(0x78B2) } },
        { "pitch_bend low then high", [](PlayNote& p) { p.pitch_bend(1, 5, 64); }, { msg(0xE1, 5, 64) } },
        { "midisetrpn", [](PlayNote& p) { p.midisetrpn(0, 0, 0, 0, 12); },
            { msg(0xB0, 101, 0), msg(0xB0, 100, 0), msg(0xB0, 6, 0), msg(0xB0, 38, 12) } },
        { "DrumNote_on", [](PlayNote& p) { p.DrumNote_on(38, 64, 100); },
            { msg(0xB9, 10, 64), msg(0x99, 38, 100) } },
        { "DrumNote_on00", [](PlayNote& p) { p.DrumNote_on00(38, 64, 100); },
            { msg(0xB9, 10, 64), msg(0x99, 38, 100) } },
        { "DrumNote_on01 unpacks", [](PlayNote& p) { p.DrumNote_on01(0x400AB9, 0x642699); },
            { msg(0xB9, 10, 64), msg(0x99, 38, 100) } },
        { "Note_on02", [](PlayNote& p) { p.Note_on02(0x200AB9, 0x7F2499); },
            { msg(0xB9, 10, 32), msg(0x99, 36, 127) } },
        { "Note_on01 modulation on channel 0 first", [](PlayNote& p) { p.Note_on01(0x643C95); },
            { msg(0xB0, 1, 30), msg(0x95, 60, 100) } },
        { "note_offall01", [](PlayNote& p) { p.note_offall01(QVariant(0x3C80)); }, { msg(0x80, 60, 0) } },
        { "Note_on00 and note_off00 do nothing",
            [](PlayNote& p) { p.Note_on00(0, 60, 100), p.note_off00(0, 60); }, {} },
    };
    for (const MessageCase& c : cases) {
        Player player;
        c.call(*player.note);
        EXPECT_EQ(player.sent(), c.expected) << c.what;
    }
}

TEST(PlayNoteTest, MessagesThatAreNoMessagesNeverReachTheOutput)
{
    const std::vector<MessageCase> cases = {
        { "status 0 of an emptied event", [](PlayNote& p) { p.DrumNote_on01(0, 0x642699); },
            { msg(0x99, 38, 100) } },
        { "a third above note 127", [](PlayNote& p) { p.Note_on01(0x648390); }, { msg(0xB0, 1, 30) } },
        { "velocity above 127", [](PlayNote& p) { p.DrumNote_on01(0x400AB9, 0x802699); },
            { msg(0xB9, 10, 64) } },
        { "system status", [](PlayNote& p) { p.note_offall01(QVariant(0xF0)); }, {} },
        { "not a number", [](PlayNote& p) { p.note_offall01(QVariant(QStringLiteral("x"))); }, {} },
        { "note 128", [](PlayNote& p) { p.note_on(0, 128, 100); }, {} },
        { "channel 16", [](PlayNote& p) { p.note_on(16, 60, 100); }, {} },
        { "negative controller", [](PlayNote& p) { p.control_change(0, -1, 0); }, {} },
        { "bank out of range keeps the program", [](PlayNote& p) { p.program_change(0, 200, 5); },
            { msg(0xC0, 5, 0) } },
        { "pan out of range keeps the hit", [](PlayNote& p) { p.DrumNote_on(38, -3, 100); },
            { msg(0x99, 38, 100) } },
    };
    for (const MessageCase& c : cases) {
        Player player;
        c.call(*player.note);
        EXPECT_EQ(player.sent(), c.expected) << c.what;
    }
}

TEST(PlayNoteTest, MessagesOfOneOperationStayTogetherAcrossThreads)
{
    Player player;
    constexpr int kHits = 10000;
    auto drummer = [&](int sound, int pan) {
        for (int i = 0; i < kHits; ++i)
            player.note->DrumNote_on(sound, pan, 100);
    };
    std::thread a(drummer, 35, 10);
    std::thread b(drummer, 38, 100);
    a.join();
    b.join();

    const std::vector<ShortMessage> sent = player.sent();
    ASSERT_EQ(sent.size(), size_t(4 * kHits));
    for (size_t i = 0; i < sent.size(); i += 2) {
        ASSERT_EQ(sent[i].status, 0xB9) << i;
        ASSERT_EQ(sent[i + 1].status, 0x99) << i;
        ASSERT_EQ(sent[i + 1].data1, sent[i].data2 == 10 ? 35 : 38) << i;
    }
}

TEST(PlayNoteTest, AFailingOutputIsReportedOnceAndThenSilent)
{
    tunvale::testing::ScopedPrompts prompts;
    Player player;
    const FailureCount failures(*player.note);
    player.devices->builtInRecording->failFromSend(3);

    for (int i = 0; i < 3; ++i)
        player.note->DrumNote_on(38, 64, 100);
    showPostedMessages();

    EXPECT_EQ(player.sent().size(), 2u);
    EXPECT_EQ(failures.count, 1);
    ASSERT_EQ(prompts->shown.size(), 1u);
    EXPECT_EQ(prompts->shown[0].text, QStringLiteral("MIDI 输出错误：the recording sink was told to fail"));
    EXPECT_EQ(prompts->shown[0].title, QStringLiteral("Tunvale"));
    EXPECT_EQ(prompts->shown[0].icon, platform::PromptIcon::None);
    EXPECT_EQ(prompts->shown[0].buttons, platform::PromptButtons::Ok);

    // Opening a device again ends the silence.
    player.devices->builtInRecording->failFromSend(0);
    ASSERT_TRUE(player.note->OpenDevice(-1));
    player.note->note_on(0, 60, 90);
    showPostedMessages();
    EXPECT_EQ(player.sent().back(), msg(0x90, 60, 90));
    EXPECT_EQ(prompts->shown.size(), 1u);
    EXPECT_EQ(failures.count, 1);
}

TEST(PlayNoteTest, ASynthesizerWithoutSoundfontSpeaksUpAtTheFirstSound)
{
    class NoSoundfont final : public platform::MidiDevices
    {
    public:
        std::unique_ptr<platform::MidiOut> builtIn() override
        {
            platform::SynthOptions options;
            options.soundfont = QStringLiteral("/nonexistent/none.sf2");
            return std::make_unique<platform::BuiltInSynth>(options);
        }
        QStringList portNames() override { return {}; }
        std::unique_ptr<platform::MidiOut> port(const QString&) override { return nullptr; }
    };
    tunvale::testing::ScopedPrompts prompts;
    PlayNote note(std::make_unique<NoSoundfont>());
    const FailureCount failures(note);
    showPostedMessages();
    EXPECT_TRUE(prompts->shown.empty());

    note.program_change(0, 0, 0);
    note.note_on(0, 60, 100);
    showPostedMessages();
    EXPECT_EQ(prompts->texts(), QStringList { QStringLiteral("MIDI 输出错误：找不到 General MIDI 音色库") });
    EXPECT_EQ(failures.count, 1);
}

TEST(PlayNoteTest, WithoutSequencerTheListHoldsTheBuiltInSynthesizerAloneAndSaysNothing)
{
    if (QFile::exists(QStringLiteral("/dev/snd/seq")))
        GTEST_SKIP() << "this machine has an ALSA sequencer";
    ::testing::internal::CaptureStderr();
    PlayNote note;
    const QList<playback::DeviceEntry> list = note.Midi_OutDevsToList();
    // A port remembered from another machine or an earlier run fails quietly.
    platform::AlsaPortOut port(QStringLiteral("Midi Through:Midi Through Port-0 14:0"));
    const bool opened = port.open();
    const bool sent = port.send(msg(0x90, 60, 100));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(list, (QList<playback::DeviceEntry> { { QStringLiteral("内置合成器"), -1 } }));
    EXPECT_FALSE(opened);
    EXPECT_FALSE(sent);
    EXPECT_FALSE(port.lastError().isEmpty());
}

TEST(PlayNoteTest, OpenDeviceMovesTheOutputAndSilencesTheOldOne)
{
    Player player({ QStringLiteral("Port A"), QStringLiteral("Port B") });
    EXPECT_EQ(player.note->Midi_OutDevsToList(),
        (QList<playback::DeviceEntry> { { QStringLiteral("内置合成器"), -1 }, { QStringLiteral("Port A"), 0 },
            { QStringLiteral("Port B"), 1 } }));
    player.note->note_on(0, 60, 100);

    ASSERT_TRUE(player.note->OpenDevice(1));
    player.note->note_on(0, 62, 100);

    const auto& oldOne = player.devices->builtInRecording;
    EXPECT_FALSE(oldOne->isOpen());
    EXPECT_EQ(oldOne->shortMessages(),
        (std::vector<ShortMessage> { msg(0x90, 60, 100), msg(0xB0, 120, 0), msg(0xB1, 120, 0),
            msg(0xB2, 120, 0), msg(0xB9, 120, 0) }));
    EXPECT_EQ(
        player.devices->portRecordings[1]->shortMessages(), std::vector<ShortMessage> { msg(0x90, 62, 100) });
    EXPECT_EQ(player.note->outputName(), QStringLiteral("Port B"));
}

TEST(PlayNoteTest, AFailedOpenKeepsTheOldOutput)
{
    tunvale::testing::ScopedPrompts prompts;
    Player player({ QStringLiteral("Port A") });
    player.note->Midi_OutDevsToList();
    player.devices->portRecordings[0]->failOpen(true);

    EXPECT_FALSE(player.note->OpenDevice(0));
    EXPECT_FALSE(player.note->OpenDevice(7));
    player.note->note_on(0, 60, 100);
    showPostedMessages();

    EXPECT_EQ(prompts->texts(),
        (QStringList { QStringLiteral("MIDI 输出错误：the recording sink was told to refuse opening"),
            QStringLiteral("MIDI 输出错误：没有这个 MIDI 输出设备") }));
    EXPECT_EQ(player.sent(), std::vector<ShortMessage> { msg(0x90, 60, 100) });
    EXPECT_TRUE(player.devices->builtInRecording->isOpen());
}

} // namespace

TEST(PlayNoteTest, TheOutputOpensBesideTheWindowAndASoundWaitsForIt)
{
    auto owned = std::make_unique<tunvale::testing::SlowOpening>();
    tunvale::testing::SlowOpening& devices = *owned;
    PlayNote note(std::move(owned));
    EXPECT_FALSE(note.isReady());

    std::thread player([&note] { note.note_on(0, 60, 100); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(devices.recording->shortMessages().empty());
    devices.finish.set_value();
    player.join();
    EXPECT_TRUE(note.isReady());
    EXPECT_EQ(devices.recording->shortMessages(), std::vector<ShortMessage> { msg(0x90, 60, 100) });
}
