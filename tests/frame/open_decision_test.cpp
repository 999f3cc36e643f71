#include "app/frame/open_decision.h"

#include "app/notation/score_template.h"
#include "tests/support/scripted_prompts.h"

#include <gtest/gtest.h>

#include <map>

using namespace tunvale;
using frame::OpenOutcome;
using frame::RaiseVerdict;
using platform::PromptAnswer;

namespace {

constexpr qint64 kOwnId = 100;

// Records what the decision asked of its services.
class FakeOpenServices final : public frame::OpenServices
{
public:
    qint64 FindFileWindow(const QString& path) const override
    {
        const auto it = entries.find(path);
        return it == entries.end() ? 0 : it->second;
    }
    void Register(const QString& path) override
    {
        if (!notation::IsTemplatePath(path))
            entries[path] = kOwnId;
        log << QStringLiteral("register ") + path;
    }
    void RemoveEntry(const QString& path, qint64 id) override
    {
        if (FindFileWindow(path) == id)
            entries.erase(path);
        log << QStringLiteral("remove %1 %2").arg(path).arg(id);
    }
    RaiseVerdict RestoreWindow(qint64 id, const QString& path) override
    {
        log << QStringLiteral("raise %1 %2").arg(id).arg(path);
        return verdict;
    }
    void WriteWinPos() override { log << QStringLiteral("winpos"); }
    bool StartWindow(const QString& path) override
    {
        log << QStringLiteral("start ") + path;
        return startWorks;
    }
    void AddRecentFile(const QString& path) override { log << QStringLiteral("recent ") + path; }
    bool ScoreModified() const override { return modified; }
    bool SaveScore() override
    {
        log << QStringLiteral("save");
        return saveWorks;
    }

    std::map<QString, qint64> entries;
    RaiseVerdict verdict = RaiseVerdict::Raised;
    bool startWorks = true;
    bool modified = false;
    bool saveWorks = true;
    QStringList log;
};

const QString A = QStringLiteral("/scores/a.vls");
const QString B = QStringLiteral("/scores/b.vls");

struct DecisionCase {
    const char* name;
    QString path;
    QString current; // "T" for the template
    qint64 registeredB = 0; // the id B is registered under
    RaiseVerdict verdict = RaiseVerdict::Raised;
    bool modified = false;
    std::optional<PromptAnswer> answer; // to the save question
    bool saveWorks = true;
    bool startWorks = true;
    OpenOutcome outcome;
    QStringList log;
    QStringList messages;
};

} // namespace

TEST(OpenDecision, EveryBranchDoesWhatItsServicesRecord)
{
    const QString T = notation::TemplatePath();
    ASSERT_FALSE(T.isEmpty());
    const QString busy = frame::kBusyWindowMessage;
    const QString failed = frame::kStartFailedMessage;
    const QString ask = frame::kSaveFirstQuestion;
    const std::vector<DecisionCase> cases = {
        // A named window: B opens in another window.
        { "named, no window for B: a further window beside this one", B, A, 0, {}, false, {}, true, true,
            OpenOutcome::Started, { "winpos", "start " + B }, {} },
        { "named, changes stay here: no question", B, A, 0, {}, true, {}, true, true, OpenOutcome::Started,
            { "winpos", "start " + B }, {} },
        { "named, B's window lives: it comes up, nothing starts", B, A, 7, RaiseVerdict::Raised, false, {},
            true, true, OpenOutcome::Raised, { "recent " + B, "winpos", "raise 7 " + B }, {} },
        { "named, B's window gone: entry removed, a further window", B, A, 7, RaiseVerdict::Gone, false, {},
            true, true, OpenOutcome::Started,
            { "recent " + B, "winpos", "raise 7 " + B, "remove " + B + " 7", "start " + B }, {} },
        { "named, B's window busy: nothing opens", B, A, 7, RaiseVerdict::Busy, false, {}, true, true,
            OpenOutcome::Nothing, { "recent " + B, "winpos", "raise 7 " + B }, { busy } },
        { "named, the start fails", B, A, 0, {}, false, {}, true, false, OpenOutcome::Nothing,
            { "winpos", "start " + B }, { failed } },
        { "named, New: the template in a further window", T, A, 0, {}, false, {}, true, true,
            OpenOutcome::Started, { "winpos", "start " + T }, {} },
        // An untitled window.
        { "untitled, unchanged, B shown elsewhere: this window goes", B, T, 7, RaiseVerdict::Raised, false,
            {}, true, true, OpenOutcome::CloseThisWindow, { "recent " + B, "raise 7 " + B }, {} },
        { "untitled, changed, B shown elsewhere: this window stays", B, T, 7, RaiseVerdict::Raised, true, {},
            true, true, OpenOutcome::Raised, { "recent " + B, "raise 7 " + B }, {} },
        { "untitled, B's window gone: stale entry removed, loaded here", B, T, 7, RaiseVerdict::Gone, false,
            {}, true, true, OpenOutcome::LoadHere,
            { "recent " + B, "raise 7 " + B, "remove " + B + " 7", "register " + B }, {} },
        { "untitled, B's window busy: nothing opens", B, T, 7, RaiseVerdict::Busy, false, {}, true, true,
            OpenOutcome::Nothing, { "recent " + B, "raise 7 " + B }, { busy } },
        { "untitled, no window: registered and loaded", B, T, 0, {}, false, {}, true, true,
            OpenOutcome::LoadHere, { "recent " + B, "register " + B }, {} },
        { "untitled with changes, Yes and saved: loaded", B, T, 0, {}, true, PromptAnswer::Yes, true, true,
            OpenOutcome::LoadHere, { "recent " + B, "save", "register " + B }, { ask } },
        { "untitled with changes, Yes but not saved: kept", B, T, 0, {}, true, PromptAnswer::Yes, false, true,
            OpenOutcome::Nothing, { "recent " + B, "save" }, { ask } },
        { "untitled with changes, No: loaded", B, T, 0, {}, true, PromptAnswer::No, true, true,
            OpenOutcome::LoadHere, { "recent " + B, "register " + B }, { ask } },
        { "untitled with changes, Cancel: kept", B, T, 0, {}, true, PromptAnswer::Cancel, true, true,
            OpenOutcome::Nothing, { "recent " + B }, { ask } },
        // Loading the first score, and reloading the own one.
        { "first load", B, QString(), 0, {}, false, {}, true, true, OpenOutcome::LoadHere,
            { "register " + B }, {} },
        { "first load of the template registers nothing", T, QString(), 0, {}, false, {}, true, true,
            OpenOutcome::LoadHere, { "register " + T }, {} },
        { "reload of the own score registers again", A, A, 0, {}, false, {}, true, true,
            OpenOutcome::LoadHere, { "register " + A }, {} },
        { "reload over changes asks first", A, A, 0, {}, true, PromptAnswer::Cancel, true, true,
            OpenOutcome::Nothing, {}, { ask } },
    };
    for (const DecisionCase& c : cases) {
        SCOPED_TRACE(c.name);
        tunvale::testing::ScopedPrompts prompts;
        if (c.answer)
            prompts->answers.push_back(*c.answer);
        FakeOpenServices services;
        if (c.registeredB)
            services.entries[B] = c.registeredB;
        services.verdict = c.verdict;
        services.modified = c.modified;
        services.saveWorks = c.saveWorks;
        services.startWorks = c.startWorks;
        const QString current = c.current == QStringLiteral("T") ? T : c.current;
        EXPECT_EQ(frame::DecideOpen(c.path, current, false, services), c.outcome);
        EXPECT_EQ(services.log, c.log);
        EXPECT_EQ(prompts->texts(), c.messages);
    }
}

TEST(OpenDecision, SettledChangesAreNotAskedAgain)
{
    tunvale::testing::ScopedPrompts prompts;
    FakeOpenServices services;
    services.modified = true;
    const QString T = notation::TemplatePath();
    EXPECT_EQ(frame::DecideOpen(T, T, true, services), OpenOutcome::LoadHere);
    EXPECT_TRUE(prompts->texts().isEmpty());
}
