#include "tests/tools/command_registry.h"
#include "tests/tools/rtf_runs_printout.h"
#include "tests/tools/window_loading.h"

#include "app/notation/drum_record.h"
#include "platform/desktop/prompts.h"

#include <QAction>

namespace {

using namespace tunvale;

// Gives every question the one answer of the command line.
class FixedAnswer final : public platform::Prompts
{
public:
    explicit FixedAnswer(platform::PromptAnswer answer)
        : answer_(answer)
    {
    }
    platform::PromptAnswer ask(const platform::PromptRequest&) override { return answer_; }
    std::optional<QString> input(const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }
    void beep() override { }

private:
    platform::PromptAnswer answer_;
};

int convertOld(const QStringList& args)
{
    QStringList options = args.mid(2);
    const bool no = options.contains(QStringLiteral("--no"));
    const bool undo = options.contains(QStringLiteral("--undo"));
    if (args.size() < 2 || options.size() != int(no) + int(undo) || options.removeDuplicates() > 0) {
        scoretool::err(QStringLiteral("usage: scoretool convert-old IN OUT.rtf [--no] [--undo]"));
        return 2;
    }
    const std::unique_ptr<editor::MainForm> form = scoretool::LoadWindow(args[0]);
    if (!form)
        return 1;
    std::unique_ptr<platform::Prompts> previous = platform::Prompts::install(
        std::make_unique<FixedAnswer>(no ? platform::PromptAnswer::No : platform::PromptAnswer::Yes));
    form->action(QStringLiteral("TurnVer"))->trigger();
    if (undo)
        form->action(QStringLiteral("mnuUnDo"))->trigger();
    platform::Prompts::install(std::move(previous));

    const QString rtf = form->editor().TextRTF();
    if (!scoretool::WriteOutputFile(args[1], rtf.toLatin1()))
        return 1;
    scoretool::PrintRuns(scoretool::WrittenContent(form->editor()));
    scoretool::out(QStringLiteral("drums %1").arg(notation::ProcessDrumStores().XjDrums.size()));
    return 0;
}

} // namespace

SCORETOOL_COMMAND("convert-old",
    "IN OUT.rtf [--no] [--undo]   run 版本转换 on the score answering Yes (No), then Undo once; write the "
    "editor's RTF and print its runs and the number of drum records",
    convertOld);
