#pragma once

#include <QString>

#include <memory>
#include <optional>

// Every message box, question, input box and beep of the program goes through one service, so tests
// can answer them from a script and nothing blocks a run without a display.
namespace tunvale::platform {

enum class PromptIcon { None, Information, Question, Warning, Critical };
enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class PromptAnswer { Ok, Cancel, Yes, No };

inline const QString kProgramTitle = QStringLiteral("Tunvale");

struct PromptRequest {
    QString text;
    QString title = kProgramTitle;
    PromptIcon icon = PromptIcon::Information;
    PromptButtons buttons = PromptButtons::Ok;
    PromptAnswer defaultAnswer = PromptAnswer::Ok;
};

class Prompts
{
public:
    virtual ~Prompts() = default;

    // A message box; returns the button the user chose (Cancel when the box was closed).
    virtual PromptAnswer ask(const PromptRequest& request) = 0;
    // An input box; no value when cancelled.
    virtual std::optional<QString> input(
        const QString& prompt, const QString& title, const QString& defaultText)
        = 0;
    virtual void beep() = 0;

    // An OK box with the information icon.
    void information(const QString& text, const QString& title = kProgramTitle);

    // The service in use. Until one is installed, messages go to standard error and every question
    // takes its default answer.
    static Prompts& current();
    // Installs `prompts` as the service and returns the one it replaces.
    static std::unique_ptr<Prompts> install(std::unique_ptr<Prompts> prompts);
};

} // namespace tunvale::platform
