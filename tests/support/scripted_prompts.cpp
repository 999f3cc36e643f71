#include "tests/support/scripted_prompts.h"

namespace tunvale::testing {

platform::PromptAnswer ScriptedPrompts::ask(const platform::PromptRequest& request)
{
    shown.push_back(request);
    if (whileShown)
        whileShown(request);
    if (answers.empty())
        return request.defaultAnswer;
    const platform::PromptAnswer answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<QString> ScriptedPrompts::input(const QString& prompt, const QString&, const QString&)
{
    inputPrompts << prompt;
    if (inputs.empty())
        return std::nullopt;
    std::optional<QString> value = std::move(inputs.front());
    inputs.pop_front();
    return value;
}

QStringList ScriptedPrompts::texts() const
{
    QStringList out;
    for (const auto& r : shown)
        out << r.text;
    return out;
}

ScopedPrompts::ScopedPrompts()
{
    auto prompts = std::make_unique<ScriptedPrompts>();
    prompts_ = prompts.get();
    previous_ = platform::Prompts::install(std::move(prompts));
}

ScopedPrompts::~ScopedPrompts() { platform::Prompts::install(std::move(previous_)); }

} // namespace tunvale::testing
