// Zorvik's start-up as main() makes it, ended after the first paint of the game's view.
#include "app/zorvikapp.h"
#include "bench/startupprobe.h"
#include "platform/runtime.h"
#include "qt/viewwidget.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    CSystemRuntime runtime;
    CZorvikApp theApp(runtime);
    if (!theApp.InitInstance()) {
        return 1;
    }
    CFirstPaintProbe probe(theApp.m_pMainWnd->GetView());
    return QApplication::exec();
}
