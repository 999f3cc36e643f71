#include "app/dialogs/solfege_dialog.h"

#include "platform/desktop/notation_fonts.h"
#include "platform/desktop/prompts.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QVBoxLayout>

namespace tunvale::dialogs {

namespace {

const QString kSaveFailed = QStringLiteral("保存失败！");

constexpr const char* kPitchLabels[SolfegeDialog::kNameCount]
    = { "1", "#1 b2", "2", "#2 b3", "3", "4", "#4 b5", "5", "#5 b6", "6", "#6 b7", "7" };
constexpr int kLabelsPerRow = 6;

} // namespace

SolfegeDialog::SolfegeDialog(SolfegeWindow& window, QWidget* parent)
    : QDialog(parent)
    , window_(window)
{
    setObjectName(QStringLiteral("CMing"));
    setWindowTitle(QStringLiteral("唱名"));
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("TabStrip1"));
    tabs_->addTab(buildSyllablesTab(), QStringLiteral("简谱唱名"));
    tabs_->addTab(buildSettingsTab(), QStringLiteral("设置"));
    buildMenu();
    command3_ = new QPushButton(QStringLiteral("退出"), this);
    command3_->setObjectName(QStringLiteral("Command3"));
    connect(command3_, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(command3_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addLayout(buttons);
    for (QPushButton* button : { command1_, command2_, command3_ })
        button->setAutoDefault(false);

    command2_->setEnabled(false);
    names_ = notation::Readm_YM();
    showTab(SyllablesTab);
    connect(tabs_, &QTabWidget::currentChanged, this, &SolfegeDialog::showTab);
}

QWidget* SolfegeDialog::buildSyllablesTab()
{
    auto* page = new QWidget;
    text_ = new QTextEdit(page);
    text_->setObjectName(QStringLiteral("RichTextBox1"));
    text_->setAcceptRichText(false);
    QFont textFont(platform::kSansFontName);
    textFont.setPointSizeF(14.25);
    text_->setFont(textFont);
    text_->setContextMenuPolicy(Qt::NoContextMenu);
    text_->viewport()->installEventFilter(this);
    connect(text_, &QTextEdit::selectionChanged, this,
        [this] { command1_->setEnabled(text_->textCursor().hasSelection()); });
    command1_ = new QPushButton(QStringLiteral("复制"), page);
    command1_->setObjectName(QStringLiteral("Command1"));
    connect(command1_, &QPushButton::clicked, this, [this] {
        text_->copy();
        text_->setFocus();
    });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(command1_);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(text_);
    layout->addLayout(buttons);
    return page;
}

QWidget* SolfegeDialog::buildSettingsTab()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("Picture1"));
    auto* grid = new QGridLayout;
    for (int i = 0; i < kNameCount; ++i) {
        auto* label = new QLabel(QString::fromLatin1(kPitchLabels[i]), page);
        label->setObjectName(QStringLiteral("Label1(%1)").arg(i));
        auto* box = new QLineEdit(page);
        box->setObjectName(QStringLiteral("Text1(%1)").arg(i));
        box->setFont(QFont(platform::kSansFontName, 12));
        box->setAlignment(Qt::AlignLeft);
        box->installEventFilter(this);
        boxes_[std::size_t(i)] = box;
        const int row = i / kLabelsPerRow * 2;
        grid->addWidget(label, row, i % kLabelsPerRow);
        grid->addWidget(box, row + 1, i % kLabelsPerRow);
    }
    auto* explanation
        = new QLabel(QStringLiteral("唱名：在演唱旋律时为方便唱谱而采用的名称。正常情况下，七个基本音级分"
                                    "别唱作do、re、mi、fa、sol、la、si（或ti）。"),
            page);
    explanation->setObjectName(QStringLiteral("Label2"));
    explanation->setWordWrap(true);
    command2_ = new QPushButton(QStringLiteral("确定"), page);
    command2_->setObjectName(QStringLiteral("Command2"));
    connect(command2_, &QPushButton::clicked, this, &SolfegeDialog::saveNames);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(command2_);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(grid);
    layout->addWidget(explanation);
    layout->addStretch();
    layout->addLayout(buttons);
    return page;
}

void SolfegeDialog::buildMenu()
{
    menu_ = new QMenu(this);
    menu_->setObjectName(QStringLiteral("CD"));
    menu_->addAction(QStringLiteral("全选"), this, &SolfegeDialog::selectAllText)
        ->setObjectName(QStringLiteral("m_SelectAll"));
    menu_->addSeparator();
    const auto clipboardItem = [this](const char* name, const QString& caption, void (QTextEdit::*edit)()) {
        menu_
            ->addAction(caption, this,
                [this, edit] {
                    (text_->*edit)();
                    text_->setFocus();
                })
            ->setObjectName(QString::fromLatin1(name));
    };
    clipboardItem("m_COPY", QStringLiteral("复制"), &QTextEdit::copy);
    clipboardItem("m_Cut", QStringLiteral("剪切"), &QTextEdit::cut);
    clipboardItem("m_PAST", QStringLiteral("粘贴"), &QTextEdit::paste);
}

void SolfegeDialog::showTab(int index)
{
    if (index == SyllablesTab) {
        text_->setPlainText(window_.GetmyCM());
        command1_->setEnabled(text_->textCursor().hasSelection());
        return;
    }
    command1_->setEnabled(false);
    command2_->setEnabled(false);
    for (int i = 0; i < kNameCount; ++i)
        boxes_[std::size_t(i)]->setText(names_[std::size_t(i)]);
}

void SolfegeDialog::selectAllText()
{
    text_->selectAll();
    text_->verticalScrollBar()->setValue(0);
}

bool SolfegeDialog::saveNames()
{
    notation::CMingNames names;
    for (int i = 0; i < kNameCount; ++i)
        names[std::size_t(i)] = boxes_[std::size_t(i)]->text().trimmed();
    if (!notation::SaveSolfegeNames(names)) {
        platform::Prompts::current().information(kSaveFailed);
        return false;
    }
    names_ = names;
    command2_->setEnabled(false);
    return true;
}

bool SolfegeDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyRelease && qobject_cast<QLineEdit*>(watched))
        command2_->setEnabled(true);
    if (watched == text_->viewport() && event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton)
            menu_->popup(mouse->globalPosition().toPoint());
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tunvale::dialogs
