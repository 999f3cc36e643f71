#pragma once

#include "platform/desktop/prompts.h"
#include "platform/midi/midi_devices.h"

#include <QString>

#include <deque>
#include <memory>
#include <variant>

namespace tunvale::editor {
class MainForm;
}
namespace tunvale::drums {
class BarStrip;
}

// The main window offscreen on a score with its bar strip shown, for the test tool's drum commands.
namespace tunvale::scoretool {

// Questions, input boxes and beeps printed as they come ("prompt TEXT", "input PROMPT|DEFAULT",
// "beep") and answered from a queue: a button, or an input box's text. Unanswered, a Yes/No question
// takes Yes, any other its default, and an input box its proposed text.
class PrintedPrompts final : public platform::Prompts
{
public:
    platform::PromptAnswer ask(const platform::PromptRequest& request) override;
    std::optional<QString> input(const QString& prompt, const QString& title, const QString& text) override;
    void beep() override;

    std::deque<std::variant<platform::PromptAnswer, QString>> answers;
};

// The built-in synthesizer prints each drum note it is sent that sounds (velocity above 0) as
// "note_on KEY PAN VELOCITY", with the pan last set on the drum channel; without `print` it only keeps
// quiet.
std::unique_ptr<platform::MidiDevices> DrumNoteDevices(bool print);

// A loaded window 1280 x 900 on FILE with the strip shown and prompts printed; null (with a message)
// when the score cannot be opened. The window and the player go together at the end.
class DrumWindow
{
public:
    DrumWindow(const QString& file, bool printNotes);
    ~DrumWindow();

    editor::MainForm* form() const { return form_.get(); }
    PrintedPrompts& prompts() const { return *prompts_; }
    drums::BarStrip& strip() const;

    // The label showing `bar`, after scrolling the strip to it when it is out of view; -1 for none.
    int labelOf(int bar) const;
    // "flags 1101 bar 3": each record's has-drums flag and the strip's current bar.
    void printFlags() const;
    // "record I NAME" for every bar's record.
    void printNames() const;
    // "panel TEXT" of status panel n; false for no such panel.
    bool printPanel(int n) const;

private:
    PrintedPrompts* prompts_ = nullptr;
    std::unique_ptr<editor::MainForm> form_;
};

} // namespace tunvale::scoretool
