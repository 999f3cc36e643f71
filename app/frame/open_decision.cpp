#include "app/frame/open_decision.h"

#include "app/notation/score_template.h"
#include "platform/desktop/prompts.h"

namespace tunvale::frame {

namespace {

using platform::PromptAnswer;

// Loading replaces this window's score: changes are saved first or given up on purpose.
bool MayReplaceScore(OpenServices& services)
{
    if (!services.ScoreModified())
        return true;
    platform::PromptRequest question;
    question.text = kSaveFirstQuestion;
    question.icon = platform::PromptIcon::Question;
    question.buttons = platform::PromptButtons::YesNoCancel;
    question.defaultAnswer = PromptAnswer::Yes;
    switch (platform::Prompts::current().ask(question)) {
    case PromptAnswer::Yes:
        return services.SaveScore();
    case PromptAnswer::No:
        return true;
    default:
        return false;
    }
}

OpenOutcome StartWindow(const QString& path, OpenServices& services)
{
    if (services.StartWindow(path))
        return OpenOutcome::Started;
    platform::Prompts::current().information(kStartFailedMessage);
    return OpenOutcome::Nothing;
}

OpenOutcome LoadHere(const QString& path, bool changesSettled, OpenServices& services)
{
    if (!changesSettled && !MayReplaceScore(services))
        return OpenOutcome::Nothing;
    services.Register(path);
    return OpenOutcome::LoadHere;
}

} // namespace

OpenOutcome DecideOpen(
    const QString& path, const QString& currentFile, bool changesSettled, OpenServices& services)
{
    const bool untitled = notation::IsTemplatePath(currentFile);
    const bool named = !currentFile.isEmpty() && !untitled;

    if (named && path != currentFile) {
        const qint64 id = services.FindFileWindow(path);
        if (id == 0) {
            services.WriteWinPos();
            return StartWindow(path, services);
        }
        services.AddRecentFile(path);
        services.WriteWinPos();
        switch (services.RestoreWindow(id, path)) {
        case RaiseVerdict::Raised:
            return OpenOutcome::Raised;
        case RaiseVerdict::Busy:
            platform::Prompts::current().information(kBusyWindowMessage);
            return OpenOutcome::Nothing;
        case RaiseVerdict::Gone:
            break;
        }
        services.RemoveEntry(path, id);
        return StartWindow(path, services);
    }

    if (untitled && path != currentFile) {
        services.AddRecentFile(path);
        if (const qint64 id = services.FindFileWindow(path)) {
            switch (services.RestoreWindow(id, path)) {
            case RaiseVerdict::Raised:
                return services.ScoreModified() ? OpenOutcome::Raised : OpenOutcome::CloseThisWindow;
            case RaiseVerdict::Busy:
                platform::Prompts::current().information(kBusyWindowMessage);
                return OpenOutcome::Nothing;
            case RaiseVerdict::Gone:
                services.RemoveEntry(path, id);
                break;
            }
        }
    }

    return LoadHere(path, changesSettled, services);
}

bool ShownByAnotherWindow(const QString& path, const OpenScoreRegistry& registry, qint64 ownId)
{
    const qint64 id = registry.FindFileWindow(path);
    if (id == 0 || id == ownId)
        return false;
    switch (WindowRaiser::AskToRaise(id, path)) {
    case RaiseVerdict::Raised:
        return true;
    case RaiseVerdict::Busy:
        platform::Prompts::current().information(kBusyWindowMessage);
        return true;
    case RaiseVerdict::Gone:
        break;
    }
    registry.RemoveIfHeldBy(path, id);
    return false;
}

} // namespace tunvale::frame
