#include "app/dialogs/font_set_dialog.h"

#include "platform/desktop/prompts.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tunvale::dialogs {

namespace {

struct Row {
    const char* caption;
    QStringList items;
    int preset; // entry chosen at the opening; -1: the selection's size
    const char* panelLabel;
    QString DialogResults::*result;
};

const std::array<Row, 3>& rows()
{
    static const std::array<Row, 3> table { {
        { "按比例(%) ", { "75", "85", "90", "95", "98", "100", "105", "110", "115", "120", "130", "150" }, 5,
            "字号缩放比例：", &DialogResults::FontScalePercent },
        { "按缩放绝对值", { "-10", "-5", "-2", "-1", "-0.5", "0.5", "1", "2", "5", "10" }, 6, "字号缩放值：",
            &DialogResults::FontScaleStep },
        { "字体大小",
            { "10", "12", "14", "16", "18", "20", "24", "26", "28", "30", "32", "34", "36", "38", "40",
                "42" },
            -1, "字号：", &DialogResults::FontScaleSize },
    } };
    return table;
}

void tell(const QString& text) { platform::Prompts::current().information(text, QString()); }

} // namespace

FontSetDialog::FontSetDialog(DialogResults& results, double selectionSize,
    std::function<void(const QString&)> showBrushPanel, QWidget* parent)
    : QDialog(parent)
    , results_(results)
    , showBrushPanel_(std::move(showBrushPanel))
{
    setObjectName(QStringLiteral("FrmFontSet"));
    setWindowTitle(QStringLiteral("字号缩放设置"));
    results_.FontSetApplied = false;

    auto* grid = new QGridLayout;
    for (int i = 0; i < 3; ++i) {
        const Row& row = rows()[std::size_t(i)];
        auto* option = new QRadioButton(QString::fromUtf8(row.caption), this);
        option->setObjectName(QStringLiteral("Option1(%1)").arg(i));
        auto* box = new QComboBox(this);
        box->setObjectName(QStringLiteral("Combo1(%1)").arg(i));
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->addItems(row.items);
        int preset = row.preset;
        if (preset < 0)
            preset = selectionSize > 0 ? int(row.items.indexOf(QString::number(selectionSize))) : -1;
        box->setCurrentIndex(preset);
        connect(box->lineEdit(), &QLineEdit::textEdited, option, [option] { option->setChecked(true); });
        connect(box, &QComboBox::activated, option, [option] { option->setChecked(true); });
        grid->addWidget(option, i, 0);
        grid->addWidget(box, i, 1);
        Option1[std::size_t(i)] = option;
        Combo1[std::size_t(i)] = box;
    }

    Command1 = new QPushButton(QStringLiteral("确定"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    Command2 = new QPushButton(QStringLiteral("取消"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    connect(Command1, &QPushButton::clicked, this, &FontSetDialog::acceptChoice);
    connect(Command2, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    buttons->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(12);
    layout->addLayout(buttons);
}

void FontSetDialog::typeInto(int row, const QString& text)
{
    if (row < 0 || row > 2)
        return;
    QLineEdit* edit = Combo1[std::size_t(row)]->lineEdit();
    edit->setText(text);
    emit edit->textEdited(text);
}

void FontSetDialog::acceptChoice()
{
    results_.FontScalePercent.clear();
    results_.FontScaleStep.clear();
    results_.FontScaleSize.clear();
    int marked = -1;
    for (int i = 0; i < 3 && marked < 0; ++i) {
        if (Option1[std::size_t(i)]->isChecked())
            marked = i;
    }
    if (marked < 0) {
        tell(QStringLiteral("你没有选择!"));
        return;
    }
    const Row& row = rows()[std::size_t(marked)];
    const QString text = Combo1[std::size_t(marked)]->currentText();
    if (showBrushPanel_)
        showBrushPanel_(QString::fromUtf8(row.panelLabel) + text);
    results_.*row.result = text;
    if (text.isEmpty()) {
        tell(QStringLiteral("你的设置有误!"));
        return;
    }
    results_.FontSetApplied = true;
    accept();
}

} // namespace tunvale::dialogs
