#include "components/sequor/export_options_dialog.h"

#include "app/playback/genmidi_file.h"
#include "platform/text/gbk.h"
#include "platform/text/runtime_numbers.h"
#include "sequor/make_mid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStatusBar>
#include <QVBoxLayout>

namespace tunvale::sequor {

const std::array<QString, 3> ExportOptionsForm::TextPlaceholders
    = { QStringLiteral("写在MID文件中的标题(缺省为空)..."), QStringLiteral("MID版权信息（缺省为空）..."),
          QStringLiteral("备注信息（缺省为空）...") };

namespace {

QLineEdit* NumberBox(const QString& name, const QString& text, QWidget* parent)
{
    auto* box = new QLineEdit(text, parent);
    box->setObjectName(name);
    // Digits and the decimal point only; anything else typed is dropped.
    box->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9.]*")), box));
    box->setMaximumWidth(60);
    return box;
}

} // namespace

ExportOptionsForm::ExportOptionsForm(
    const QString& path, bool hasSelection, const QStringList& folders, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("制作Mid..."));
    auto* layout = new QVBoxLayout(this);

    Text1 = new QLineEdit(path, this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    layout->addWidget(Text1);
    for (std::size_t i = 0; i < Text2.size(); ++i) {
        Text2[i] = new QLineEdit(this);
        Text2[i]->setObjectName(QStringLiteral("Text2_%1").arg(i));
        Text2[i]->setPlaceholderText(TextPlaceholders[i]);
        layout->addWidget(Text2[i]);
    }

    auto* frame = new QGroupBox(QStringLiteral("选项"), this);
    auto* grid = new QGridLayout(frame);
    const auto check = [&](int i, const QString& text) {
        Check[std::size_t(i)] = new QCheckBox(text, frame);
        Check[std::size_t(i)]->setObjectName(QStringLiteral("Check%1").arg(i));
        return Check[std::size_t(i)];
    };
    Text3[0] = NumberBox(QStringLiteral("Text3_0"), QStringLiteral("80"), frame);
    Text3[1] = NumberBox(QStringLiteral("Text3_1"), QStringLiteral("64"), frame);
    Text3[3] = NumberBox(QStringLiteral("Text3_3"), QStringLiteral("60"), frame);
    Text3[4] = NumberBox(QStringLiteral("Text3_4"), QStringLiteral("64"), frame);
    grid->addWidget(check(1, QStringLiteral("按节奏自动配置打击乐器，音量（0-127）：")), 0, 0);
    grid->addWidget(Text3[0], 0, 1);
    grid->addWidget(check(0, QStringLiteral("使用简谱中的鼓点。")), 1, 0, 1, 2);
    grid->addWidget(check(4, QStringLiteral("仅针对选中的简谱（按顺序转换）。")), 2, 0, 1, 2);
    grid->addWidget(check(3, QStringLiteral("主音轨声像（0-127）：")), 3, 0);
    grid->addWidget(Text3[1], 3, 1);
    grid->addWidget(check(2, QStringLiteral("叠加一个音轨，其中，音色：")), 4, 0);
    Combo1 = new QComboBox(frame);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    grid->addWidget(Combo1, 4, 1);
    grid->addWidget(new QLabel(QStringLiteral("音量占主音量比%："), frame), 5, 0, Qt::AlignRight);
    grid->addWidget(Text3[3], 5, 1);
    grid->addWidget(new QLabel(QStringLiteral("声像（0-127）："), frame), 6, 0, Qt::AlignRight);
    grid->addWidget(Text3[4], 6, 1);
    layout->addWidget(frame);
    Check[1]->setChecked(true);
    Check[4]->setEnabled(hasSelection);

    auto* buttons = new QHBoxLayout;
    auto* save = new QPushButton(QStringLiteral("确定(&O)"), this);
    save->setObjectName(QStringLiteral("SaveFile"));
    save->setToolTip(QStringLiteral("注意：本界面各数据只记录在Mid。"));
    save->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("取消(&C)"), this);
    cancel->setObjectName(QStringLiteral("Command1"));
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    auto* status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setSizeGripEnabled(false);
    status->showMessage(QStringLiteral("“自动配置打击乐器”有随机性，做两次配置前后并不会完全一致。"));
    layout->addWidget(status);

    connect(save, &QPushButton::clicked, this, &ExportOptionsForm::acceptOptions);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    FillInstrumentList(folders);
}

// The 128 instruments of "genmidi.txt"; a name the file lacks shows the program number.
void ExportOptionsForm::FillInstrumentList(const QStringList& folders)
{
    playback::GenMidiFile file;
    for (const QString& folder : folders) {
        QFile text(QDir(folder).filePath(QStringLiteral("genmidi.txt")));
        if (text.open(QIODevice::ReadOnly)) {
            file = playback::GenMidiFile::fromText(platform::DecodeTextFileBytes(text.readAll()));
            break;
        }
    }
    Combo1->clear();
    for (int program = 0; program < playback::GenMidiFile::kInstruments; ++program) {
        const QString name = file.instrumentListText(program);
        Combo1->addItem(name.isEmpty() ? QString::number(program) : name);
    }
    Combo1->setCurrentIndex(0);
}

std::optional<int> ExportOptionsForm::checkedNumber(QLineEdit* box, int top)
{
    const double value = platform::RoundHalfEven(platform::Val(box->text()));
    if (value >= 0 && value <= top)
        return int(value);
    box->setFocus();
    box->selectAll();
    return std::nullopt;
}

void ExportOptionsForm::acceptOptions()
{
    ExportOptions& o = options_;
    o.SelectionOnly = Check[4]->isChecked();
    const auto text = [&](std::size_t i) {
        return Text2[i]->text() == TextPlaceholders[i] ? QString() : Text2[i]->text();
    };
    o.MidTitle = text(0);
    o.MidNotice = text(1);
    o.MidComment = text(2);
    o.AutoPercussion = Check[1]->isChecked();
    o.UseScoreDrums = Check[0]->isChecked();
    o.OverlayTrack = Check[2]->isChecked();
    o.MainPanOn = Check[3]->isChecked();
    o.OverlayProgram = Combo1->currentIndex();
    // In the window's order; the first box out of range keeps the window open.
    const struct {
        QLineEdit* box;
        int top;
        int* value;
    } boxes[] = { { Text3[0], 127, &o.PercussionVolume }, { Text3[1], 127, &o.MainPan },
        { Text3[3], 100, &o.OverlayVolume }, { Text3[4], 127, &o.OverlayPan } };
    for (const auto& b : boxes) {
        const std::optional<int> value = checkedNumber(b.box, b.top);
        if (!value)
            return;
        *b.value = *value;
    }
    accept();
}

namespace {

class ModalOptionsDialog final : public ExportOptionsDialog
{
public:
    explicit ModalOptionsDialog(QWidget* parent)
        : parent_(parent)
    {
    }

    std::optional<ExportOptions> run(
        const QString& path, bool hasSelection, const QStringList& folders) override
    {
        ExportOptionsForm dialog(path, hasSelection, folders, parent_);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.options();
    }

private:
    QWidget* parent_;
};

} // namespace

std::unique_ptr<ExportOptionsDialog> CreateExportOptionsDialog(QWidget* parent)
{
    return std::make_unique<ModalOptionsDialog>(parent);
}

} // namespace tunvale::sequor
