// The yardstick of the start-up benchmark: a minimal Qt window with a menu, a toolbar and a
// status bar, nothing else, ended after the first paint of its central widget.
// With --stay it stays open, the yardstick of scripts/wakeups.sh; --tick then also repaints a
// small square once a second, as a game's fall timer does.
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <cstring>
#include <memory>

#include "bench/startupprobe.h"

namespace {

bool HasArgument(int argc, char** argv, const char* pszArgument) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], pszArgument) == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("&File"))->addAction(QStringLiteral("E&xit"));
    window.addToolBar(QStringLiteral("Toolbar"))->addAction(QStringLiteral("Start"));
    window.statusBar()->showMessage(QStringLiteral("Ready"));
    QWidget central;
    window.setCentralWidget(&central);
    window.resize(470, 575);
    window.setWindowTitle(QStringLiteral("Minimal"));
    window.show();
    std::unique_ptr<CFirstPaintProbe> pProbe;
    if (!HasArgument(argc, argv, "--stay")) {
        pProbe = std::make_unique<CFirstPaintProbe>(&central);
    }
    QTimer tick;
    if (HasArgument(argc, argv, "--tick")) {
        tick.setTimerType(Qt::PreciseTimer);
        QObject::connect(&tick, &QTimer::timeout, &central, [&] { central.update(0, 0, 32, 32); });
        tick.start(1000);
    }
    return QApplication::exec();
}
