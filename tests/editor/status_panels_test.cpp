#include "app/editor/editing/editor_keyboard.h"
#include "app/editor/editing/format_brush.h"
#include "app/editor/window/start_up.h"
#include "app/editor/window/status_panels.h"
#include "app/playback/play_texts.h"
#include "tests/editor/window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QToolTip>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

using namespace tunvale;
using namespace tunvale::editor;
using tunvale::testing::WindowTest;

namespace {

using PanelTexts = std::map<StatusPanel, QString>;

// The longest texts each panel shows: the play time of a three-minute song, the recording states, the
// caret, bar and drum range of a score of two-digit lines and bars, the brush states and the font-size
// dialog's choices, sizes, and the hints.
const std::map<StatusPanel, QStringList>& panelTexts()
{
    static const std::map<StatusPanel, QStringList> texts {
        { StatusPanel::PlayTime, { playback::PlayTimeText(3.5), playback::PlayTimeText(185.25) } },
        { StatusPanel::Recording, { QStringLiteral("录制WAV..."), QStringLiteral("未录音...") } },
        { StatusPanel::Caret, { CaretPanelText({ 38, 64, false }) } },
        { StatusPanel::Bar, { BarPanelText(63, 64) } },
        { StatusPanel::DrumRange, { QStringLiteral("鼓点选择:12-16") } },
        { StatusPanel::Brush,
            { FormatBrush::stateText(BrushKind::None), FormatBrush::stateText(BrushKind::Pitch),
                QStringLiteral("字号缩放比例：150"), QStringLiteral("字号缩放值：-0.5"),
                QStringLiteral("字号：42") } },
        { StatusPanel::FontSize, { FontSizePanelText(10.5), FontSizePanelText(48) } },
        { StatusPanel::Hint,
            { FormatBrush::hintText(),
                QStringLiteral("如打开时界面颜色不协调，用“工具-颜色”重新设置、保存。"),
                QStringLiteral("保存当前界面到鼓点模板，成功！") } },
    };
    return texts;
}

// A panel shows its text whole when it is as wide as the label needs for it: the text's advance in the
// panel's font, the frame and the indent before the text.
bool whole(const QLabel& panel) { return panel.width() >= panel.QLabel::sizeHint().width(); }

std::string describe(const QLabel& panel)
{
    return QStringLiteral("%1 \"%2\": %3 px wide, text %4 px")
        .arg(panel.objectName(), panel.text())
        .arg(panel.width())
        .arg(panel.fontMetrics().horizontalAdvance(panel.text()))
        .toStdString();
}

// A window as a start shows it, with its status bar on.
struct StartedWindow {
    WindowTest test;
    StartResult started;

    StartedWindow()
        : started(StartProgram({ test.sampleScore() }, tunvale::testing::FakeServices()))
    {
        QAction* statusBar = started.window->action(QStringLiteral("GroupBar"), 1);
        if (!statusBar->isChecked())
            statusBar->trigger();
        QCoreApplication::processEvents();
    }
    StatusPanels& panels() { return started.window->statusPanels(); }
    // The panels that hold a text after `texts` are written over what the start left in them.
    std::vector<const QLabel*> show(const PanelTexts& texts)
    {
        std::vector<const QLabel*> written;
        for (const auto& [number, text] : texts)
            panels().setPanelText(number, text);
        QCoreApplication::processEvents();
        for (int number = 1; number <= StatusPanels::kPanelCount; ++number) {
            const QLabel* panel = panels().panel(StatusPanel(number));
            if (!panel->text().isEmpty())
                written.push_back(panel);
        }
        return written;
    }
};

} // namespace

// At the size a start gives the window, each panel shows each of its texts whole, beside what the start
// wrote in the others (caret, bar, size and the colour hint), and so do the panels of a play, of a
// recording and after a font scaling, as the status bar shows them then.
TEST(StatusPanels, EveryTextIsWholeAtTheStartSize)
{
    StartedWindow w;
    ASSERT_TRUE(w.started.window);
    ASSERT_EQ(w.started.window->size(), kStartWindowSize);
    ASSERT_TRUE(w.panels().isVisible());
    const PanelTexts atStart = [&] {
        PanelTexts texts;
        for (int number = 1; number <= StatusPanels::kPanelCount; ++number)
            texts[StatusPanel(number)] = w.panels().panelText(StatusPanel(number));
        return texts;
    }();
    EXPECT_FALSE(atStart.at(StatusPanel::Hint).isEmpty());

    for (const auto& [number, texts] : panelTexts()) {
        for (const QString& text : texts) {
            PanelTexts state = atStart;
            state[number] = text;
            for (const QLabel* panel : w.show(state))
                EXPECT_TRUE(whole(*panel)) << describe(*panel);
        }
    }

    const QString playTime = playback::PlayTimeText(185.25);
    const std::vector<PanelTexts> states {
        { { StatusPanel::PlayTime, playTime } },
        { { StatusPanel::PlayTime, playTime }, { StatusPanel::Recording, QStringLiteral("录制WAV...") } },
        { { StatusPanel::PlayTime, playTime }, { StatusPanel::Recording, QStringLiteral("未录音...") },
            { StatusPanel::Brush, QStringLiteral("字号缩放比例：150") },
            { StatusPanel::FontSize, FontSizePanelText(48) } },
        { { StatusPanel::PlayTime, playTime }, { StatusPanel::DrumRange, QStringLiteral("鼓点选择:12-16") },
            { StatusPanel::Brush, FormatBrush::stateText(BrushKind::None) },
            { StatusPanel::Hint, FormatBrush::hintText() } },
    };
    for (const PanelTexts& changes : states) {
        PanelTexts state = atStart;
        for (const auto& [number, text] : changes)
            state[number] = text;
        for (const QLabel* panel : w.show(state))
            EXPECT_TRUE(whole(*panel)) << describe(*panel);
    }
}

// With every panel at its longest text at once, panels 1 to 8 still show theirs whole; the hint panel
// is the one that gives way: it keeps its text, ends what it shows with "…" and shows it whole as its
// tool tip.
TEST(StatusPanels, TheHintGivesWayWhenEveryPanelIsFull)
{
    StartedWindow w;
    ASSERT_TRUE(w.started.window);
    PanelTexts longest;
    for (const auto& [number, texts] : panelTexts()) {
        const QLabel* panel = w.panels().panel(number);
        longest[number] = *std::max_element(
            texts.begin(), texts.end(), [&](const QString& a, const QString& b) {
                return panel->fontMetrics().horizontalAdvance(a) < panel->fontMetrics().horizontalAdvance(b);
            });
    }
    longest[StatusPanel::Caret] = CaretPanelText({ 138, 164, false });
    longest[StatusPanel::Bar] = BarPanelText(163, 164);
    longest[StatusPanel::DrumRange] = QStringLiteral("鼓点选择:112-116");
    for (const QLabel* panel : w.show(longest)) {
        if (panel != w.panels().panel(StatusPanel::Hint)) {
            EXPECT_TRUE(whole(*panel)) << describe(*panel);
        }
    }
    QLabel* hint = w.panels().panel(StatusPanel::Hint);
    ASSERT_FALSE(whole(*hint)) << "the test wants a bar too narrow for every text";
    EXPECT_EQ(w.panels().panelText(StatusPanel::Hint), longest[StatusPanel::Hint]);
    const QPoint at = hint->rect().center();
    QHelpEvent help(QEvent::ToolTip, at, hint->mapToGlobal(at));
    QApplication::sendEvent(hint, &help);
    EXPECT_EQ(QToolTip::text(), longest[StatusPanel::Hint]);
    QToolTip::hideText();
}
