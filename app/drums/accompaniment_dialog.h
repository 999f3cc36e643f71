#pragma once

#include "app/notation/accompaniment.h"

#include <QDialog>

#include <array>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace tunvale::drums {

class AccompanimentStyles;
class ChoiceList;

// A viewer of the accompaniment styles: the style list, and for a double-clicked style its name and
// the drum sound of each note-length class. Nothing shown is written back.
class AccompanimentDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AccompanimentDialog(const AccompanimentStyles& styles, QWidget* parent = nullptr);

    // Shows the style of list row `row` (from 0); nothing for -1.
    void showStyle(int row);

    QListWidget* myDrumList = nullptr;
    QPushButton* Command3 = nullptr; // 添加, no action
    QPushButton* Command4 = nullptr; // 删除, no action
    QLineEdit* Text1 = nullptr;
    std::array<QLabel*, notation::AccompClassCount> Label1 {};
    std::array<ChoiceList*, notation::AccompClassCount> ComboDrum {};
    QPushButton* Command1 = nullptr; // 确定
    QPushButton* Command2 = nullptr; // 取消

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const AccompanimentStyles& styles_;
};
using SetPZ = AccompanimentDialog;

} // namespace tunvale::drums
