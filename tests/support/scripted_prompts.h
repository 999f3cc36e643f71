#pragma once

#include "platform/desktop/prompts.h"

#include <QStringList>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace tunvale::testing {

// Answers prompts from a script and records every one it was shown. Without a scripted answer a
// question takes its default answer and an input box is cancelled.
class ScriptedPrompts final : public platform::Prompts
{
public:
    platform::PromptAnswer ask(const platform::PromptRequest& request) override;
    std::optional<QString> input(
        const QString& prompt, const QString& title, const QString& defaultText) override;
    void beep() override { ++beeps; }

    std::deque<platform::PromptAnswer> answers;
    // Runs while each message or question is up, before it is answered.
    std::function<void(const platform::PromptRequest&)> whileShown;
    std::deque<std::optional<QString>> inputs;
    std::vector<platform::PromptRequest> shown;
    QStringList inputPrompts;
    int beeps = 0;

    QStringList texts() const;
};

// Installs a ScriptedPrompts for the lifetime of the guard and restores the previous service after.
class ScopedPrompts
{
public:
    ScopedPrompts();
    ~ScopedPrompts();
    ScopedPrompts(const ScopedPrompts&) = delete;
    ScopedPrompts& operator=(const ScopedPrompts&) = delete;

    ScriptedPrompts& operator*() { return *prompts_; }
    ScriptedPrompts* operator->() { return prompts_; }

private:
    ScriptedPrompts* prompts_;
    std::unique_ptr<platform::Prompts> previous_;
};

} // namespace tunvale::testing
