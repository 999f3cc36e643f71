#pragma once

#include <QWidget>

class QLabel;

// The splash window shown while an ordinary start loads the main window: the program's name, a line of
// jianpu in the notation fonts, the version and a progress line. Frameless, drawn at run time.
namespace tunvale::dialogs {

class SplashWindow : public QWidget
{
    Q_OBJECT

public:
    explicit SplashWindow(QWidget* parent = nullptr);

    // Writes the progress line and repaints at once.
    void setProgress(const QString& text);

    QLabel* VerLab = nullptr;
    QLabel* LabState = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override;
};
using BeginFrm = SplashWindow;

} // namespace tunvale::dialogs
