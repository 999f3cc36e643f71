#pragma once

#include "app/playback/play_window.h"

#include <QStringList>

#include <map>
#include <thread>

namespace tunvale::testing {

// A main window that keeps what the play commands do to it.
class FakePlayWindow final : public playback::PlayWindow
{
public:
    notation::ScoreHeader& header() override { return scoreHeader; }
    notation::DrumStores& drumStores() override { return stores; }
    platform::RichTextSnapshot scoreSnapshot() const override { return snapshot; }
    QString scoreText() const override { return text; }
    notation::PlayOrderSource playOrderSource() const override { return {}; }

    int editorCaret() const override { return caret; }
    void setEditorCaret(int position) override { caret = position; }
    int caretBar() const override { return bar; }

    bool isChecked(playback::PlayItem item) const override
    {
        const auto found = checks.find(item);
        return found != checks.end() && found->second;
    }
    void setChecked(playback::PlayItem item, bool checked) override { checks[item] = checked; }
    int instrument() const override { return program; }

    void PlayControlsEnabled(bool playing, bool melody) override
    {
        locked = playing;
        log << QStringLiteral("lock %1 %2").arg(playing).arg(melody);
    }
    void setPauseText(const QString& text) override { pauseText = text; }
    void showPlayTime(const QString& text) override { status = text; }
    void setBreakpointCaption(const QString& text) override { caption = text; }

    void MakeWorkingCopy() override { playbackView = true; }
    void RestoreScoreView() override { playbackView = false; }
    void restorePlayedNote(std::optional<platform::SnapshotColor> ownColor) override
    {
        log << QStringLiteral("restore %1").arg(ownColor ? qint64(*ownColor) : -1);
    }
    void selectPlayedNote(int position) override
    {
        selected = position;
        ++highlights;
        log << QStringLiteral("select %1").arg(position);
    }
    void markPlayedNoteBack() override { log << QStringLiteral("back"); }
    void clearPlaySelection() override { selected = -1; }
    int caretViewRow() const override { return viewRow; }
    void scrollViewLines(int lines) override { log << QStringLiteral("scroll %1").arg(lines); }

    void showPlayedBar(int played) override { playedBar = played; }
    void setStripBar(int current) override { stripBar = current; }
    std::pair<int, int> stripRange() const override { return range; }

    void keepScreenAwake(bool awake) override { log << QStringLiteral("awake %1").arg(awake); }
    void showBusy(bool busy) override { log << QStringLiteral("busy %1").arg(busy); }
    void drumEditorControlsEnabled(bool enabled) override
    {
        ++drumEditorCalls;
        drumEditorEnabled = enabled;
        drumEditorThread = std::this_thread::get_id();
    }

    notation::ScoreHeader scoreHeader;
    notation::DrumStores stores;
    platform::RichTextSnapshot snapshot;
    QString text;
    int caret = 0;
    int bar = 0;
    std::map<playback::PlayItem, bool> checks;
    int program = 0;
    bool locked = false;
    QString pauseText;
    QString status;
    QString caption;
    bool playbackView = false;
    int selected = -1;
    int highlights = 0;
    int viewRow = 0;
    int playedBar = -1;
    int stripBar = -1;
    std::pair<int, int> range { -1, -1 };
    int drumEditorCalls = 0;
    bool drumEditorEnabled = false;
    std::thread::id drumEditorThread;
    QStringList log;
};

} // namespace tunvale::testing
