#include "app/dialogs/play_order_dialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTextEdit>
#include <QVBoxLayout>

namespace tunvale::dialogs {

namespace {

const QColor kNumberColor(255, 0, 0);

} // namespace

PlayOrderDialog::PlayOrderDialog(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("playOrderDialog"));
    setWindowTitle(QStringLiteral("设置/修改 演唱顺序"));
    auto* frame = new QGroupBox(QStringLiteral("说明与设置"), this);
    RichTextBox1 = new QTextEdit(frame);
    RichTextBox1->setObjectName(QStringLiteral("RichTextBox1"));
    RichTextBox1->setReadOnly(true);
    RichTextBox1->setFont(QFont(QStringLiteral("KORVA_Note"), 20));
    RichTextBox1->setFixedHeight(64);
    auto* label1 = new QLabel(
        QStringLiteral("    按演唱先后排列演奏块(红色阿拉伯数字)， 以逗号隔开、可以重复，即是“演"), frame);
    auto* label3 = new QLabel(QStringLiteral("唱顺序”。当前演唱顺序设置为："), frame);
    Text1 = new QLineEdit(frame);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setFont(QFont(QStringLiteral("宋体"), 11));
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(RichTextBox1);
    frameLayout->addWidget(label1);
    frameLayout->addWidget(label3);
    frameLayout->addWidget(Text1);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("CancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &PlayOrderDialog::acceptOrder);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setSizeGripEnabled(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addWidget(buttons);
    layout->addWidget(StatusBar1);
}

void PlayOrderDialog::activate(const QString& key, const notation::PlayOrderEntries& order)
{
    DialogKey_ = key;
    ShowKeyGlyphs(key);
    Text1->setText(playback::PlayOrderText(order));
    if (key.endsWith(QChar(u'0')))
        StatusBar1->showMessage(
            QStringLiteral("注意：本简谱最后无结束类记号，演奏第%1个块后，将不可返回。").arg(key.size() - 1));
    else
        StatusBar1->showMessage(QStringLiteral("请根据各跳转记号含义，设置演奏顺序，以逗号隔开。"));
    DialogStartText = Text1->text();
    Text1->setFocus();
}

void PlayOrderDialog::ShowKeyGlyphs(const QString& key)
{
    const QString shown = playback::KeyGlyphText(key);
    RichTextBox1->clear();
    QTextCursor cursor(RichTextBox1->document());
    for (qsizetype i = 0; i < shown.size(); ++i) {
        QTextCharFormat format;
        format.setForeground(playback::IsSegmentNumber(shown, i) ? kNumberColor : QColor(Qt::black));
        cursor.insertText(QString(shown[i]), format);
    }
    RichTextBox1->moveCursor(QTextCursor::Start);
}

void PlayOrderDialog::acceptOrder()
{
    chosen_ = playback::CleanPlayOrderText(Text1->text(), int(DialogKey_.size()) - 1);
    Text1->setText(chosen_.text);
    accept();
}

} // namespace tunvale::dialogs
