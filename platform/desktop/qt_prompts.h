#pragma once

#include "platform/desktop/prompts.h"

// Prompts shown as Qt message boxes. Called from another thread, a prompt is shown on the GUI thread
// and the caller waits for the answer.
namespace tunvale::platform {

class QtPrompts final : public Prompts
{
public:
    PromptAnswer ask(const PromptRequest& request) override;
    std::optional<QString> input(
        const QString& prompt, const QString& title, const QString& defaultText) override;
    void beep() override;
};

} // namespace tunvale::platform
