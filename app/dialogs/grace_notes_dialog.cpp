#include "app/dialogs/grace_notes_dialog.h"

#include "app/dialogs/glyph_palette.h"
#include "app/notation/notation_chars.h"
#include "platform/desktop/prompts.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace tunvale::dialogs {

namespace {

constexpr int kMaxNotes = 4;

const char* const kTypeTexts[] = {
    "长倚音，占本音时长的二分之一，在现代记谱中已废除。",
    "短倚音，占本音时长的四分之一，一般倚音即指短倚音。",
};

void tell(const QString& text) { platform::Prompts::current().information(text, QString()); }

// Keys that move, delete or leave the sequence box rather than type into it.
bool passesThrough(const QKeyEvent& key)
{
    switch (key.key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        return (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) == 0;
    default:
        return false;
    }
}

} // namespace

GraceNotesDialog::GraceNotesDialog(int YYInitDur, int YYInitArc, QWidget* parent)
    : QDialog(parent)
    , YYInitDur_(YYInitDur)
{
    setObjectName(QStringLiteral("YY"));
    setWindowTitle(QStringLiteral("插入倚音"));

    auto* types = new QGroupBox(QStringLiteral("倚音类型(&T)"), this);
    auto* typeLayout = new QHBoxLayout(types);
    const char* captions[] = { "长倚音(&L)", "短倚音(默认,&S)" };
    for (int t = 0; t < 2; ++t) {
        auto* option = new QRadioButton(QString::fromUtf8(captions[t]), types);
        option->setObjectName(QStringLiteral("Option1(%1)").arg(t));
        connect(option, &QRadioButton::clicked, this, [this, t] { chooseType(t); });
        typeLayout->addWidget(option);
        Option1[std::size_t(t)] = option;
    }
    typeLayout->addStretch();
    Option1[1]->setChecked(true);

    auto* notes = new QGroupBox(QStringLiteral("选择倚音(&C)"), this);
    Text2 = new GlyphPalette(notes);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setFont(QFont(notation::NoteFontFamily, 24));
    Command3 = new QPushButton(QStringLiteral("确认=>"), notes);
    Command3->setObjectName(QStringLiteral("Command3"));
    Command3->setAutoDefault(false);
    connect(Command3, &QPushButton::clicked, this, &GraceNotesDialog::confirmNote);
    Text1 = new QLineEdit(notes);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setFont(QFont(notation::NoteFontFamily, 24));
    Text1->setFixedWidth(Text2->cellSize().width() * (kMaxNotes + 1));
    // Only the palette's notes go in: no typing through an input method, no pasting, no dropping.
    Text1->setAttribute(Qt::WA_InputMethodEnabled, false);
    Text1->setContextMenuPolicy(Qt::NoContextMenu);
    Text1->setAcceptDrops(false);
    Text1->installEventFilter(this);
    auto* notesLayout = new QHBoxLayout(notes);
    notesLayout->addWidget(Text2);
    notesLayout->addWidget(Command3, 0, Qt::AlignVCenter);
    notesLayout->addWidget(Text1, 0, Qt::AlignVCenter);

    Check1 = new QCheckBox(QStringLiteral("倚音处于连音线下"), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setChecked(YYInitArc == 1);
    Check2 = new QCheckBox(QStringLiteral("后倚音"), this);
    Check2->setObjectName(QStringLiteral("Check2"));

    Command1 = new QPushButton(QStringLiteral("完成"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    Command2 = new QPushButton(QStringLiteral("取消"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setAutoDefault(false);
    connect(Command1, &QPushButton::clicked, this, &GraceNotesDialog::acceptGroup);
    connect(Command2, &QPushButton::clicked, this, &GraceNotesDialog::reject);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);

    auto* checks = new QVBoxLayout;
    checks->addWidget(Check1);
    checks->addWidget(Check2);
    auto* buttons = new QHBoxLayout;
    buttons->addLayout(checks);
    buttons->addStretch();
    buttons->addWidget(Command1, 0, Qt::AlignBottom);
    buttons->addWidget(Command2, 0, Qt::AlignBottom);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(types);
    layout->addWidget(notes);
    layout->addLayout(buttons);
    layout->addWidget(StatusBar1);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    chooseType(1);
}

void GraceNotesDialog::chooseType(int type)
{
    Text1->clear();
    GraceType_ = type;
    QStringList rows;
    for (int r = 0; r < kGraceRows; ++r) {
        QString row;
        for (int c = 0; c < kGraceColumns; ++c)
            row += GracePaletteChar(type, { r, c });
        rows << row;
    }
    Text2->setRows(rows);
    StatusBar1->showMessage(QString::fromUtf8(kTypeTexts[type]));
}

void GraceNotesDialog::appendNote(QChar note)
{
    Text1->end(false);
    Text1->insert(QString(note));
}

void GraceNotesDialog::confirmNote()
{
    if (Text1->text().size() >= kMaxNotes) {
        StatusBar1->showMessage(QStringLiteral("最长支持4个音符！"));
        return;
    }
    const QString note = Text2->selectedText();
    if (note.isEmpty())
        return;
    if (!noteStatus_)
        noteStatus_ = StatusBar1->currentMessage();
    appendNote(note.front());
    StatusBar1->showMessage(*noteStatus_);
}

bool GraceNotesDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != Text1 || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (passesThrough(*key))
        return false;
    // A typed degree stands for that note of the middle octave in the type shown.
    const QString typed = key->text();
    if (Text1->text().size() < kMaxNotes && typed.size() == 1 && typed[0] >= u'1' && typed[0] <= u'7')
        appendNote(GracePaletteChar(GraceType_, { 0, typed[0].unicode() - u'1' }));
    return true;
}

void GraceNotesDialog::acceptGroup()
{
    const QString sequence = Text1->text();
    if (sequence.isEmpty()) {
        tell(QStringLiteral("请选择正确后再进行。"));
        return;
    }
    if (sequence.size() > kMaxNotes) {
        tell(QStringLiteral("倚音最大长度不支持大于4。"));
        return;
    }
    std::vector<PaletteCell> cells;
    for (const QChar c : sequence) {
        const auto cell = GracePaletteCell(c);
        if (!cell) {
            tell(QStringLiteral("请选择正确后再进行。"));
            return;
        }
        cells.push_back(*cell);
    }
    YYCodes_ = GraceCodes(cells, { YYInitDur_, GraceType_, Check1->isChecked(), Check2->isChecked() });
    YYAccepted_ = true;
    accept();
}

} // namespace tunvale::dialogs
