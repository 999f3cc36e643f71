#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The about box: the program's icon, name and version.
namespace tunvale::dialogs {

class frmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(QWidget* parent = nullptr);

    QLabel* picIcon = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QPushButton* cmdOK = nullptr;
};

} // namespace tunvale::dialogs
