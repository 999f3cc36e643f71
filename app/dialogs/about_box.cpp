#include "app/dialogs/about_box.h"

#include "app/dialogs/program_icon.h"
#include "app/dialogs/program_version.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace tunvale::dialogs {

AboutBox::AboutBox(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("关于 Tunvale"));

    picIcon = new QLabel(this);
    picIcon->setPixmap(ProgramIcon().pixmap(64, 64));
    lblTitle = new QLabel(QStringLiteral("Tunvale"), this);
    QFont title = lblTitle->font();
    title.setPointSizeF(title.pointSizeF() * 1.6);
    title.setBold(true);
    lblTitle->setFont(title);
    lblVersion = new QLabel(QStringLiteral("版本 ") + ProgramVersionText(), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    cmdOK = new QPushButton(QStringLiteral("确定"), this);
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(20, 20, 20, 16);
    grid->setHorizontalSpacing(16);
    grid->addWidget(picIcon, 0, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(lblTitle, 0, 1);
    grid->addWidget(lblVersion, 1, 1);
    grid->addWidget(cmdOK, 2, 1, Qt::AlignRight);
    setFixedSize(sizeHint().expandedTo(QSize(320, 0)));
}

} // namespace tunvale::dialogs
