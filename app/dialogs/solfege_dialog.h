#pragma once

#include "app/notation/play_records.h"

#include <QDialog>

#include <array>

class QLineEdit;
class QMenu;
class QPushButton;
class QTabWidget;
class QTextEdit;

namespace tunvale::dialogs {

// What the solfège window asks of the score window.
class SolfegeWindow
{
public:
    virtual ~SolfegeWindow() = default;
    // The open score compiled and spelt in sung syllables.
    virtual QString GetmyCM() = 0;
};

// "唱名": the open score's sung syllables to copy ("简谱唱名"), and the twelve syllables by pitch class
// that the compiler spells with ("设置").
class SolfegeDialog : public QDialog
{
    Q_OBJECT

public:
    enum Tab { SyllablesTab = 0, SettingsTab = 1 };
    static constexpr int kNameCount = 12;

    explicit SolfegeDialog(SolfegeWindow& window, QWidget* parent = nullptr);

    // Writes the trimmed boxes as the syllables; false (and "保存失败！") when the file was not written.
    bool saveNames();

    QTabWidget* tabs() const { return tabs_; }
    QTextEdit* syllableText() const { return text_; }
    QMenu* textMenu() const { return menu_; }
    QLineEdit* nameBox(int index) const { return boxes_[std::size_t(index)]; }
    QPushButton* copyButton() const { return command1_; }
    QPushButton* saveButton() const { return command2_; }
    QPushButton* closeButton() const { return command3_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildSyllablesTab();
    QWidget* buildSettingsTab();
    void buildMenu();
    void showTab(int index);
    void selectAllText();

    SolfegeWindow& window_;
    notation::CMingNames names_;
    QTabWidget* tabs_ = nullptr;
    QTextEdit* text_ = nullptr;
    QMenu* menu_ = nullptr;
    std::array<QLineEdit*, kNameCount> boxes_ {};
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
    QPushButton* command3_ = nullptr;
};
using CMing = SolfegeDialog;

} // namespace tunvale::dialogs
