#include "tests/tools/drum_window.h"

#include "tests/tools/command_registry.h"
#include "tests/tools/window_loading.h"

#include "app/drums/bar_strip.h"
#include "app/editor/window/main_form.h"
#include "app/editor/window/status_panels.h"
#include "app/editor/window/wheel_filter.h"
#include "app/notation/drum_accessor.h"
#include "app/playback/playback_state.h"

#include <QAction>
#include <QCoreApplication>

#include <array>
#include <mutex>

namespace tunvale::scoretool {

using platform::PromptAnswer;

PromptAnswer PrintedPrompts::ask(const platform::PromptRequest& request)
{
    out(QStringLiteral("prompt ") + request.text);
    std::optional<PromptAnswer> given;
    if (!answers.empty()) {
        if (const auto* button = std::get_if<PromptAnswer>(&answers.front()))
            given = *button;
        answers.pop_front();
    }
    if (!given)
        return request.buttons == platform::PromptButtons::YesNo ? PromptAnswer::Yes : request.defaultAnswer;
    // "yes" and "ok" agree, as do "no" and "cancel", whichever pair the question shows.
    const bool agreed = *given == PromptAnswer::Yes || *given == PromptAnswer::Ok;
    switch (request.buttons) {
    case platform::PromptButtons::YesNo:
        return agreed ? PromptAnswer::Yes : PromptAnswer::No;
    case platform::PromptButtons::OkCancel:
        return agreed ? PromptAnswer::Ok : PromptAnswer::Cancel;
    default:
        return *given;
    }
}

std::optional<QString> PrintedPrompts::input(const QString& prompt, const QString&, const QString& text)
{
    out(QStringLiteral("input %1|%2").arg(prompt, text));
    if (answers.empty())
        return text;
    const auto answer = answers.front();
    answers.pop_front();
    if (const auto* typed = std::get_if<QString>(&answer))
        return *typed;
    const PromptAnswer button = std::get<PromptAnswer>(answer);
    return button == PromptAnswer::Cancel || button == PromptAnswer::No ? std::nullopt
                                                                        : std::optional<QString>(text);
}

void PrintedPrompts::beep() { out(QStringLiteral("beep")); }

namespace {

// Sounds nothing; prints the drum notes when told to. Called from the GUI and the sending thread.
class DrumNoteOut final : public platform::MidiOut
{
public:
    explicit DrumNoteOut(bool print)
        : print_(print)
    {
    }
    bool open() override { return true; }
    void close() override { }
    bool send(const platform::ShortMessage& m) override
    {
        std::lock_guard lock(mutex_);
        if (m.kind() == 0xB0 && m.data1 == 10)
            pan_[std::size_t(m.channel())] = m.data2;
        else if (print_ && m.kind() == 0x90 && m.channel() == 9 && m.data2 > 0)
            out(QStringLiteral("note_on %1 %2 %3").arg(m.data1).arg(pan_[9]).arg(m.data2));
        return true;
    }
    QString name() const override { return QStringLiteral("内置合成器"); }
    QString lastError() const override { return {}; }

private:
    bool print_;
    std::mutex mutex_;
    std::array<int, 16> pan_ {};
};

class DrumNoteDeviceList final : public platform::MidiDevices
{
public:
    explicit DrumNoteDeviceList(bool print)
        : print_(print)
    {
    }
    std::unique_ptr<platform::MidiOut> builtIn() override { return std::make_unique<DrumNoteOut>(print_); }
    QStringList portNames() override { return {}; }
    std::unique_ptr<platform::MidiOut> port(const QString&) override { return nullptr; }

private:
    bool print_;
};

} // namespace

std::unique_ptr<platform::MidiDevices> DrumNoteDevices(bool print)
{
    return std::make_unique<DrumNoteDeviceList>(print);
}

DrumWindow::DrumWindow(const QString& file, bool printNotes)
{
    auto prompts = std::make_unique<PrintedPrompts>();
    prompts_ = prompts.get();
    platform::Prompts::install(std::move(prompts));
    form_ = LoadWindow(file, {}, DrumNoteDevices(printNotes));
    if (!form_)
        return;
    if (!form_->action(QStringLiteral("GroupBar"), 0)->isChecked())
        form_->action(QStringLiteral("GroupBar"), 0)->trigger();
    form_->resize(1280, 900);
    form_->show();
    QCoreApplication::processEvents();
}

DrumWindow::~DrumWindow()
{
    form_.reset();
    playback::NotePlayer.reset();
    editor::UnhookWheel();
}

drums::BarStrip& DrumWindow::strip() const { return form_->barStrip(); }

int DrumWindow::labelOf(int bar) const
{
    drums::BarStrip& s = strip();
    if (s.labelOfBar(bar) < 0)
        s.setMyXj(bar);
    return s.labelOfBar(bar);
}

void DrumWindow::printFlags() const
{
    QString flags;
    for (const notation::DrumRecord& record : notation::ProcessDrumStores().XjDrums)
        flags += record.HaveDrum == 1 ? u'1' : u'0';
    out(QStringLiteral("flags %1 bar %2").arg(flags).arg(strip().MyXj()));
}

void DrumWindow::printNames() const
{
    notation::DrumAccessor drum(notation::ProcessDrumStores());
    drum.DrumType(notation::DrumAccessor::XjDrums);
    for (int i = 0; i < drum.recordCount(); ++i)
        out(QStringLiteral("record %1 %2").arg(i).arg(drum.DrumName(i)));
}

bool DrumWindow::printPanel(int n) const
{
    if (n < 1 || n > editor::StatusPanels::kPanelCount)
        return false;
    out(QStringLiteral("panel ") + form_->statusPanels().panelText(editor::StatusPanel(n)));
    return true;
}

} // namespace tunvale::scoretool
