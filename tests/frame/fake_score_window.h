#pragma once

#include "app/frame/editor_score_file.h"
#include "app/frame/score_window.h"
#include "platform/richtext/rich_text_box.h"

#include <QStringList>

namespace tunvale::testing {

// The score window as the commands see it; every member call is recorded.
class FakeScoreWindow final : public frame::ScoreWindow
{
public:
    FakeScoreWindow()
        : orderScore(box, head)
    {
        order.setScore(&orderScore);
    }

    notation::ScoreHeader& header() override { return head; }
    notation::ColorScheme& colors() override { return colorScheme; }
    notation::DrumStore& XjDrums() override { return drums; }
    notation::PlayOrder& playOrder() override { return order; }
    platform::RichTextBox& RichTextBox1() override { return box; }
    bool PrintStart() const override { return false; }
    QWidget* dialogOwner() override { return nullptr; }
    int screenDpi() const override { return 96; }

    void fillSoundList() override { calls << QStringLiteral("fillSoundList"); }
    void showScoreValues() override
    {
        instrument = head.Instrument;
        speed = QString::number(head.Speed);
        volume = QString::number(head.Volume);
    }
    int instrumentIndex() const override { return instrument; }
    QString speedText() const override { return speed; }
    QString volumeText() const override { return volume; }
    bool drumPZChecked() const override { return drumPZ; }
    void setCaption(const QString& text) override { caption = text; }
    void setBarPanelText(const QString& text) override { barPanel = text; }
    void resetCaret() override { calls << QStringLiteral("resetCaret"); }

    void keepCurrentFile(const QString& path) override { kept = path; }
    void startHighlightCleaner() override { calls << QStringLiteral("Timer8"); }
    void UndoReset() override { calls << QStringLiteral("UndoReset"); }
    void JzRTB(bool) override { calls << QStringLiteral("JzRTB"); }
    std::pair<int, int> paragraphIndents(const notation::ScoreHeader& header) const override
    {
        return { header.LeftSpace, header.RightSpace };
    }
    int XJInteger() const override { return bars; }
    void RefreshDrumSlider(int) override { calls << QStringLiteral("RefreshDrumSlider"); }
    void InitDrumUndo() override { calls << QStringLiteral("InitDrumUndo"); }
    void clearDrumUndoLists() override { calls << QStringLiteral("clearDrumUndoLists"); }
    QString WindowPos() const override { return QStringLiteral("1200,900,12000,9000,Normal"); }
    void ShowRecentFiles() override { ++menuRebuilds; }
    void closeWindow() override { ++closes; }

    void setDrumPZChecked(bool checked) override { drumPZ = checked; }
    void setAccompanimentType(int) override { }
    void setSameSpeedChecked(bool) override { }
    void setHeYingChecked(bool) override { }
    void setRulerLeftSpace(int) override { }
    void setRulerRightSpace(int) override { }

    notation::ScoreHeader head;
    notation::ColorScheme colorScheme;
    notation::DrumStore drums;
    notation::PlayOrder order;
    platform::RichTextBox box;
    frame::EditorPlayOrderScore orderScore;
    QString speed = QStringLiteral("120");
    QString volume = QStringLiteral("98");
    int instrument = 0;
    bool drumPZ = true;
    QString caption;
    QString barPanel;
    QString kept;
    int bars = 0;
    int menuRebuilds = 0;
    int closes = 0;
    QStringList calls;
};

} // namespace tunvale::testing
