#include "app/editor/parts/main_form_transposition.h"

#include "app/editor/parts/main_form_editing.h"
#include "app/editor/window/main_form.h"
#include "platform/desktop/prompts.h"

#include <QAction>

#include <array>

namespace tunvale::editor {

namespace {

constexpr std::array<int, 4> kSteps = { 2, -2, 1, -1 };

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

MainFormTransposition::MainFormTransposition(MainForm& form)
    : MainFormPart(form)
{
    form_.connectArray(QStringLiteral("mYD"), [this](int i) { transposeByItem(i); });
}

MainFormTransposition::~MainFormTransposition() = default;

void MainFormTransposition::transposeByItem(int index)
{
    if (index < 0 || index >= int(kSteps.size()))
        return;
    // The steps are commands; the one applied last alone carries a check mark, the others no box.
    for (int i = 0; i < int(kSteps.size()); ++i) {
        QAction* item = form_.action(QStringLiteral("mYD"), i);
        item->setCheckable(i == index);
        item->setChecked(i == index);
    }
    transposeScore(kSteps[std::size_t(index)]);
}

void MainFormTransposition::transposeScore(int semitones)
{
    static CurrentPrompts prompts;
    if (!transposer_)
        transposer_ = keyshift::CreateClsYD(prompts);
    transposer_->setNUporDown(semitones);
    transposer_->setTRtf(form_.editor().TextRTF());
    transposer_->setReadNotEnought(false);
    const QString transposed = transposer_->GetNewRtf();
    if (transposer_->ReadNotEnought())
        return; // the transposer has told the user; nothing changes and no step is recorded
    form_.part<MainFormEditing>().undo().ReplaceWholeText(transposed);
}

} // namespace tunvale::editor
