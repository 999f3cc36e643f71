// The yardstick of the start-up timing (startup_time.py): a bare Qt main window of the widgets the
// score window shows first, namely menus, a toolbar, a status bar and a text edit holding a score's
// text, and nothing else of the program.

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QTextEdit>
#include <QToolBar>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    for (int m = 0; m < 9; ++m) {
        QMenu* menu = window.menuBar()->addMenu(QStringLiteral("菜单%1").arg(m + 1));
        for (int i = 0; i < 12; ++i)
            menu->addAction(QStringLiteral("项目%1").arg(i + 1));
    }
    QToolBar* toolbar = window.addToolBar(QStringLiteral("工具"));
    for (int i = 0; i < 46; ++i)
        toolbar->addAction(app.style()->standardIcon(QStyle::StandardPixmap(i % 60)), QString::number(i));
    for (int i = 0; i < 9; ++i)
        window.statusBar()->addPermanentWidget(new QWidget);
    auto* edit = new QTextEdit;
    if (argc > 1) {
        QFile text(QString::fromLocal8Bit(argv[1]));
        if (text.open(QIODevice::ReadOnly))
            edit->setPlainText(QString::fromUtf8(text.readAll()));
    }
    window.setCentralWidget(edit);
    window.resize(1000, 760);
    window.show();
    return app.exec();
}
