#include "app/dialogs/key_picker_dialog.h"

#include "app/dialogs/glyph_palette.h"
#include "app/dialogs/notation_palettes.h"
#include "app/notation/notation_chars.h"
#include "platform/desktop/prompts.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace tunvale::dialogs {

KeyPickerDialog::KeyPickerDialog(QString& KeyPickText, QWidget* parent)
    : QDialog(parent)
    , KeyPickText_(KeyPickText)
{
    setObjectName(QStringLiteral("Instr_YD"));
    setWindowTitle(QStringLiteral("插入音调..."));

    Text1 = new GlyphPalette(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setFont(QFont(notation::NoteFontFamily, 30));
    QStringList rows;
    for (int r = 0; r < kKeyRows; ++r) {
        QString row;
        for (int c = 0; c < kKeyColumns; ++c)
            row += KeyPaletteChar({ r, c });
        rows << row;
    }
    Text1->setRows(rows);
    connect(Text1, &GlyphPalette::pressed, this, &KeyPickerDialog::keyPressed);
    connect(Text1, &GlyphPalette::doubleClicked, this, &KeyPickerDialog::keyDoubleClicked);

    auto* keys = new QGroupBox(QStringLiteral("音调选择"), this);
    auto* keysLayout = new QGridLayout(keys);
    keysLayout->setVerticalSpacing(0);
    const char* registers[] = { "低", "中", "高" };
    for (int r = 0; r < kKeyRows; ++r) {
        auto* label = new QLabel(QString::fromUtf8(registers[r]), keys);
        label->setObjectName(QStringLiteral("Label2(%1)").arg(r));
        label->setFixedHeight(Text1->cellSize().height());
        label->setAlignment(Qt::AlignCenter);
        keysLayout->addWidget(label, r, 0);
    }
    keysLayout->addWidget(Text1, 0, 1, kKeyRows, 1);

    auto* prefixes = new QGroupBox(QStringLiteral("升降号"), this);
    auto* prefixLayout = new QVBoxLayout(prefixes);
    const char* captions[] = { "无", "升号(#)", "降号(b)" };
    for (int i = 0; i < 3; ++i) {
        auto* option = new QRadioButton(QString::fromUtf8(captions[i]), prefixes);
        option->setObjectName(QStringLiteral("Upanddown(%1)").arg(i));
        prefixLayout->addWidget(option);
        Upanddown[std::size_t(i)] = option;
    }
    Upanddown[0]->setChecked(true);
    prefixLayout->addStretch();

    Command1 = new QPushButton(QStringLiteral("确定"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    Command2 = new QPushButton(QStringLiteral("取消"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    connect(Command1, &QPushButton::clicked, this, &KeyPickerDialog::acceptKey);
    connect(Command2, &QPushButton::clicked, this, &KeyPickerDialog::reject);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    buttons->addStretch();

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->showMessage(QStringLiteral("音调选择，前边可插入升降号。"));

    auto* body = new QHBoxLayout;
    body->addWidget(keys);
    body->addWidget(prefixes);
    body->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addWidget(StatusBar1);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void KeyPickerDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Text1->setFocus();
    Text1->setSelectedCell(std::nullopt);
    if (KeyPickText_.isEmpty())
        return;
    for (int i = 0; i < kKeyRows * kKeyColumns; ++i) {
        const PaletteCell cell { i / kKeyColumns, i % kKeyColumns };
        const QChar key = KeyPaletteChar(cell);
        if (key == KeyPickText_.front() || key == KeyPickText_.back()) {
            Text1->setSelectedCell(cell);
            return;
        }
    }
}

void KeyPickerDialog::keyPressed()
{
    const auto cell = Text1->selectedCell();
    // Only the enabling follows the key: a marked option stays marked.
    for (int i = 0; i < 3; ++i) {
        Upanddown[std::size_t(i)]->setEnabled(!cell || KeyPrefixAllowed(cell->column, KeyPrefix(i)));
    }
}

void KeyPickerDialog::keyDoubleClicked()
{
    if (!Text1->selectedCell())
        return;
    KeyPickText_ = Text1->selectedText();
    accept();
}

void KeyPickerDialog::acceptKey()
{
    if (!Text1->selectedCell()) {
        platform::Prompts::current().information(QStringLiteral("请选择一个字符。"), QString());
        return;
    }
    KeyPrefix prefix = KeyPrefix::None;
    if (Upanddown[1]->isChecked())
        prefix = KeyPrefix::Sharp;
    else if (Upanddown[2]->isChecked())
        prefix = KeyPrefix::Flat;
    KeyPickText_ = KeyText(Text1->selectedText().front(), prefix);
    accept();
}

void KeyPickerDialog::reject()
{
    KeyPickText_.clear();
    QDialog::reject();
}

} // namespace tunvale::dialogs
