#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The about box: the program's icon, name and version.
namespace tunvale::dialogs {

class AboutBox : public QDialog
{
    Q_OBJECT

public:
    explicit AboutBox(QWidget* parent = nullptr);

    QLabel* picIcon = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QPushButton* cmdOK = nullptr;
};
using frmAbout = AboutBox;

} // namespace tunvale::dialogs
