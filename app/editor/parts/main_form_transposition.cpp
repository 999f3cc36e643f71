#include "app/editor/window/main_form.h"

#include "platform/desktop/prompts.h"

#include <QAction>

#include <array>

namespace tunvale::editor {

namespace {

// The transposer keeps its own copy of the platform code, so it is handed the program's prompt
// service; this one passes each prompt to the service in use when it is shown.
class CurrentPrompts final : public platform::Prompts
{
public:
    platform::PromptAnswer ask(const platform::PromptRequest& request) override
    {
        return platform::Prompts::current().ask(request);
    }
    std::optional<QString> input(
        const QString& prompt, const QString& title, const QString& defaultText) override
    {
        return platform::Prompts::current().input(prompt, title, defaultText);
    }
    void beep() override { platform::Prompts::current().beep(); }
};

} // namespace

void MainForm::transposeByItem(int Index)
{
    constexpr std::array<int, 4> steps = { 2, -2, 1, -1 };
    if (Index < 0 || Index >= int(steps.size()))
        return;
    for (int i = 0; i < int(steps.size()); ++i)
        action(QStringLiteral("mYD"), i)->setChecked(i == Index);
    transposeScore(steps[size_t(Index)]);
}

void MainForm::transposeScore(int n)
{
    static CurrentPrompts prompts;
    if (!Keyshifter)
        Keyshifter = keyshift::CreateClsYD(prompts);
    Keyshifter->setNUporDown(n);
    Keyshifter->setTRtf(editor().TextRTF());
    Keyshifter->setReadNotEnought(false);
    const QString s = Keyshifter->GetNewRtf();
    if (Keyshifter->ReadNotEnought())
        return; // the transposer has told the user; nothing changes and no step is recorded
    // One undo step of its own: typing before it is a step already, typing after it another.
    hooks.FlushUndoSnapshot();
    editor().setTextRTF(s);
    hooks.FlushUndoSnapshot();
}

} // namespace tunvale::editor
