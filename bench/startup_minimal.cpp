// The yardstick of the start-up benchmark: a minimal Qt window with a menu, a toolbar and a
// status bar, nothing else, ended after the first paint of its central widget.
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include "bench/startupprobe.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("&File"))->addAction(QStringLiteral("E&xit"));
    window.addToolBar(QStringLiteral("Toolbar"))->addAction(QStringLiteral("Start"));
    window.statusBar()->showMessage(QStringLiteral("Ready"));
    QWidget central;
    window.setCentralWidget(&central);
    window.resize(470, 575);
    window.show();
    CFirstPaintProbe probe(&central);
    return QApplication::exec();
}
