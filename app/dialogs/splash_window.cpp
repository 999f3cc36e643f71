#include "app/dialogs/splash_window.h"

#include "app/dialogs/program_version.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>

namespace tunvale::dialogs {

namespace {

// A phrase of jianpu: notes are U+4E00 + degree - 1 in the notation font (a quarter, middle octave),
// eighths 7 further on.
QString phrase()
{
    const auto note = [](int degree, int durIndex = 0) { return QChar(0x4E00 + durIndex * 7 + degree - 1); };
    const QChar notes[] = { note(1), note(2), note(3), note(1), QChar(u' '), note(5, 1), note(6, 1),
        note(5, 1), note(4, 1), note(3), note(1) };
    return QString(notes, std::size(notes));
}

} // namespace

SplashWindow::SplashWindow(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("SplashWindow"));
    setFixedSize(480, 280);
    VerLab = new QLabel(QStringLiteral("版本：") + ProgramVersionText(), this);
    VerLab->setObjectName(QStringLiteral("VerLab"));
    VerLab->setGeometry(24, 208, 200, 24);
    LabState = new QLabel(this);
    LabState->setObjectName(QStringLiteral("LabState"));
    LabState->setGeometry(24, 238, 432, 24);
    for (QLabel* label : { VerLab, LabState }) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, QColor(230, 240, 235));
        label->setPalette(palette);
    }
}

void SplashWindow::setProgress(const QString& text)
{
    LabState->setText(text);
    repaint();
}

void SplashWindow::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient background(0, 0, 0, height());
    background.setColorAt(0, QColor(0, 110, 70));
    background.setColorAt(1, QColor(0, 60, 40));
    p.fillRect(rect(), background);

    QFont title;
    title.setPixelSize(48);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRect(24, 20, width() - 48, 64), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Tunvale"));

    QFont notes(QStringLiteral("KORVA_Note"));
    notes.setPixelSize(44);
    p.setFont(notes);
    p.setPen(QColor(255, 230, 150));
    p.drawText(QRect(24, 100, width() - 48, 80), Qt::AlignLeft | Qt::AlignVCenter, phrase());
}

} // namespace tunvale::dialogs
