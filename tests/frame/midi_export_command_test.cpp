#include "app/frame/first_text_line.h"
#include "app/frame/midi_export_command.h"

#include "app/notation/play_order_key.h"
#include "tests/frame/hand_snapshot.h"

#include <gtest/gtest.h>

#include <vector>

using namespace tunvale;
using tunvale::testing::snapshotOf;

namespace {

class FakeWindow final : public frame::MidiExportWindow
{
public:
    QWidget* dialogOwner() const override { return nullptr; }
    platform::RichTextSnapshot scoreSnapshot() const override { return score; }
    std::pair<int, int> selection() const override { return selected; }
    QString Text_Speed() const override { return speed; }
    QString Text_Volume() const override { return volume; }
    int ComSoundsListIndex() const override { return instrument; }
    void SetTonicFromKey() override
    {
        ++tonicCalls;
        key = tonicKey;
    }
    int ScoreKey() const override { return key; }
    const notation::DrumStore& XjDrums() const override { return drums; }
    notation::PlayOrderSource playOrderSource() const override
    {
        return [this](const QString& text) {
            orderAskedFor = text;
            return keptOrder;
        };
    }

    platform::RichTextSnapshot score = snapshotOf({
        { { 't', u"小河" } },
        { { 'n', u"1 2\u6357" }, { '1', u"一二" }, { 'n', u"3" } },
        { { 'n', u"4 5" } },
    });
    std::pair<int, int> selected { 0, 0 };
    QString speed = QStringLiteral("120");
    QString volume = QStringLiteral("98");
    int instrument = 0;
    int key = 0; // set only by SetTonicFromKey
    int tonicKey = 31;
    int tonicCalls = 0;
    notation::DrumStore drums = notation::DrumStore(3);
    std::vector<int> keptOrder { 1, 0, 1 };
    mutable QString orderAskedFor;
};

// Records what the command hands over; it may also change the window while "its dialog is up".
class RecordingMakeMid final : public sequor::MakeMid
{
public:
    explicit RecordingMakeMid(std::function<void(const sequor::MakeMidArguments&)> onShow)
        : onShow_(std::move(onShow))
    {
    }
    void ShowMainInfo(const sequor::MakeMidArguments& arguments) override { onShow_(arguments); }

private:
    std::function<void(const sequor::MakeMidArguments&)> onShow_;
};

struct Recorded {
    std::vector<platform::FileDialogRequest> requests;
    int objects = 0;
    int calls = 0;
    std::optional<sequor::MakeMidArguments> arguments;
    std::vector<notation::DrumRecord> drumsSeen;
};

void export_(
    FakeWindow& window, Recorded& run, const QString& answer, std::function<void()> duringDialog = [] {})
{
    frame::MidiExportServices services;
    services.saveDialog = [&](const platform::FileDialogRequest& request) {
        run.requests.push_back(request);
        return answer;
    };
    services.makeMid = [&](QWidget*) {
        ++run.objects;
        return std::make_unique<RecordingMakeMid>([&](const sequor::MakeMidArguments& a) {
            ++run.calls;
            duringDialog();
            run.arguments = a;
            run.drumsSeen.assign(a.add1.begin(), a.add1.end());
        });
    };
    services.folders = { QStringLiteral("/user"), QStringLiteral("/data") };
    frame::exportMidi(window, services);
}

} // namespace

TEST(OutputMid, CancelDoesNothing)
{
    FakeWindow window;
    Recorded run;
    export_(window, run, QString());
    ASSERT_EQ(run.requests.size(), 1u);
    EXPECT_EQ(run.objects, 0);
    EXPECT_EQ(window.tonicCalls, 0);
}

TEST(OutputMid, SaveDialog)
{
    FakeWindow window;
    window.score = snapshotOf({ { { 't', u"\u0001小\t河\u0002" } }, { { 'n', u"1" } } });
    Recorded run;
    export_(window, run, QString());
    const platform::FileDialogRequest& r = run.requests.at(0);
    EXPECT_EQ(r.title, QStringLiteral("制作Mid音序文件..."));
    EXPECT_EQ(r.filters, (QStringList { QStringLiteral("Mid文件(*.Mid)"), QStringLiteral("*.Mid") }));
    EXPECT_EQ(r.filterIndex, 1);
    EXPECT_EQ(r.defaultExtension, QStringLiteral(".Mid"));
    EXPECT_TRUE(r.initialFolder.isEmpty()); // the desktop
    EXPECT_EQ(r.fileName, QStringLiteral("小河"));
}

TEST(OutputMid, ProposedNameFitsWithItsExtension)
{
    // 90 three-byte characters are 270 bytes; 251 bytes leave room for ".Mid": 83 characters.
    const std::u16string title(90, u'歌');
    const QString name
        = frame::ProposedFileName(snapshotOf({ { { 't', title.c_str() } } }), QStringLiteral(".Mid"));
    EXPECT_EQ(name, QString(83, QChar(u'歌')));
    std::u16string wide = u"a";
    for (int i = 0; i < 100; ++i)
        wide += u"\U0001D11E"; // four bytes, two UTF-16 units
    const QString cut
        = frame::ProposedFileName(snapshotOf({ { { 't', wide.c_str() } } }), QStringLiteral(".Mid"));
    EXPECT_EQ(cut.size(), 1 + 2 * 62);
    EXPECT_FALSE(cut.back().isHighSurrogate());
}

TEST(OutputMid, TheTenValues)
{
    struct Case {
        const char* name;
        QString speed, volume;
        int key, instrument;
        int OldSpeed1, OldYDiao1, Text_VolumeText1;
    };
    const std::vector<Case> cases = {
        { "a score in C", QStringLiteral("120"), QStringLiteral("98"), 31, 0, 120, 0, 98 },
        { "halves round to even", QStringLiteral("12.5"), QStringLiteral("13.5"), 33, 40, 12, 2, 14 },
        { "Val reads the leading number", QStringLiteral(" 96bpm"), QStringLiteral("x"), 28, 127, 96, -3, 0 },
        { "huge numbers stay in range", QStringLiteral("1e30"), QStringLiteral("-1e30"), 42, 5,
            std::numeric_limits<int>::max(), 11, std::numeric_limits<int>::min() },
    };
    for (const Case& c : cases) {
        FakeWindow window;
        window.speed = c.speed;
        window.volume = c.volume;
        window.tonicKey = c.key;
        window.instrument = c.instrument;
        window.selected = { 6, 8 };
        Recorded run;
        export_(window, run, QStringLiteral("/tmp/song.Mid"));
        ASSERT_TRUE(run.arguments) << c.name;
        const sequor::MakeMidArguments& a = *run.arguments;
        EXPECT_EQ(run.objects, 1) << c.name;
        EXPECT_EQ(run.calls, 1) << c.name;
        EXPECT_EQ(window.tonicCalls, 1) << c.name;
        EXPECT_EQ(a.FileName1, QStringLiteral("/tmp/song.Mid")) << c.name;
        EXPECT_EQ(a.AppPath1, (QStringList { QStringLiteral("/user"), QStringLiteral("/data") })) << c.name;
        EXPECT_EQ(a.JPWord, QStringLiteral("1 2\u6357掊一二34 5")) << c.name;
        EXPECT_EQ(a.JPWord2, QStringLiteral("2\u6357")) << c.name;
        EXPECT_EQ(a.OldSpeed1, c.OldSpeed1) << c.name;
        EXPECT_EQ(a.JeiPai1, QStringLiteral("4/4")) << c.name;
        EXPECT_EQ(a.OldYDiao1, c.OldYDiao1) << c.name;
        EXPECT_EQ(a.ComSoundsListIndex1, c.instrument) << c.name;
        EXPECT_EQ(a.Text_VolumeText1, c.Text_VolumeText1) << c.name;
    }
}

TEST(OutputMid, DrumsAreACopyTakenBeforeTheDialog)
{
    FakeWindow window;
    window.drums[1].HaveDrum = 1;
    Recorded run;
    // A timer running while the dialog is up drops the window's drums.
    export_(window, run, QStringLiteral("/tmp/song.Mid"), [&] { window.drums.clear(); });
    ASSERT_EQ(run.drumsSeen.size(), 3u);
    EXPECT_EQ(run.drumsSeen[1].HaveDrum, 1);
}

TEST(OutputMid, ThePlayCommandsOrderGoesWithItsKey)
{
    FakeWindow window;
    Recorded run;
    export_(window, run, QStringLiteral("/tmp/song.Mid"));
    ASSERT_TRUE(run.arguments && run.arguments->PlayOrder);
    const QString notationText = notation::NotationText(window.score.lines);
    EXPECT_EQ(window.orderAskedFor, notationText);
    EXPECT_EQ(run.arguments->PlayOrder->key, notation::PlayOrderKey(notationText));
    EXPECT_EQ(run.arguments->PlayOrder->key, QStringLiteral("010"));
    EXPECT_EQ(run.arguments->PlayOrder->segments, window.keptOrder);
}
