#include "platform/desktop/prompts.h"

#include <QMutex>

#include <cstdio>

namespace tunvale::platform {

namespace {

class ConsolePrompts final : public Prompts
{
public:
    PromptAnswer ask(const PromptRequest& request) override
    {
        std::fprintf(stderr, "%s: %s\n", qUtf8Printable(request.title), qUtf8Printable(request.text));
        return request.defaultAnswer;
    }
    std::optional<QString> input(const QString&, const QString&, const QString& defaultText) override
    {
        return defaultText;
    }
    void beep() override { }
};

QMutex serviceMutex;
std::unique_ptr<Prompts>& service()
{
    static std::unique_ptr<Prompts> s = std::make_unique<ConsolePrompts>();
    return s;
}

} // namespace

void Prompts::information(const QString& text, const QString& title)
{
    ask(PromptRequest { text, title, PromptIcon::Information, PromptButtons::Ok, PromptAnswer::Ok });
}

Prompts& Prompts::current()
{
    QMutexLocker lock(&serviceMutex);
    return *service();
}

std::unique_ptr<Prompts> Prompts::install(std::unique_ptr<Prompts> prompts)
{
    QMutexLocker lock(&serviceMutex);
    std::unique_ptr<Prompts> old = std::move(service());
    service() = prompts ? std::move(prompts) : std::make_unique<ConsolePrompts>();
    return old;
}

} // namespace tunvale::platform
