#include "sequor/make_mid.h"

#include "components/sequor/core/midi_export.h"
#include "components/sequor/core/play_order_expansion.h"
#include "platform/desktop/prompts.h"
#include "platform/settings/write_failure.h"

namespace tunvale::sequor {

namespace {

const QString SavedMessage = QStringLiteral("保存成功！");
const QString FailedMessage = QStringLiteral("保存失败！");

class MakeMidExport final : public MakeMid
{
public:
    MakeMidExport(platform::Prompts& prompts, std::unique_ptr<ExportOptionsDialog> dialog)
        : prompts_(prompts)
        , dialog_(std::move(dialog))
    {
    }

    void ShowMainInfo(const MakeMidArguments& a) override
    {
        const std::optional<ExportOptions> options
            = dialog_->run(a.FileName1, !a.JPWord2.isEmpty(), a.AppPath1);
        if (!options)
            return;
        ExportInput input;
        input.text = a.JPWord;
        if (options->SelectionOnly && !a.JPWord2.isEmpty())
            input.text = SelectionPlayText(a.JPWord2);
        input.OldSpeed1 = a.OldSpeed1;
        input.JeiPai1 = a.JeiPai1;
        input.OldYDiao1 = a.OldYDiao1;
        input.ComSoundsListIndex1 = a.ComSoundsListIndex1;
        input.Text_VolumeText1 = a.Text_VolumeText1;
        input.drums = a.add1;
        input.options = *options;
        input.folders = a.AppPath1;
        input.loadedOrder = a.PlayOrder;
        const ExportResult result = ExportMidi(input, a.FileName1);
        QString text;
        switch (result.status) {
        case ExportResult::Written:
            text = SavedMessage;
            break;
        case ExportResult::NoOrder:
            text = result.message;
            break;
        case ExportResult::Failed:
            text = platform::WriteFailureText(FailedMessage, a.FileName1, result.error);
            break;
        }
        prompts_.ask({ text, QString(), platform::PromptIcon::Information });
    }

private:
    platform::Prompts& prompts_;
    std::unique_ptr<ExportOptionsDialog> dialog_;
};

} // namespace

std::unique_ptr<MakeMid> CreateMakeMid(
    platform::Prompts& prompts, QWidget* parent, std::unique_ptr<ExportOptionsDialog> dialog)
{
    return std::make_unique<MakeMidExport>(
        prompts, dialog ? std::move(dialog) : CreateExportOptionsDialog(parent));
}

} // namespace tunvale::sequor
