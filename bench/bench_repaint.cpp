// A full repaint of the largest field (50x50) into the view's real backing image, in the main
// window at its starting size, on Qt's offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>
#include <memory>

#include "app/zorvikapp.h"
#include "game/resource.h"
#include "platform/runtime.h"
#include "qt/viewwidget.h"

namespace {

// The program in its starting window, a game running on a 50x50 field with its lower half
// filled in many colours.
struct CBigField {
    CSystemRuntime runtime;
    CZorvikApp app{runtime};

    CBigField() {
        app.InitInstance();
        QApplication::processEvents();
        CZorvikView& view = app.m_pMainWnd->GetView()->View();
        CZorvikDoc& doc = *view.GetDocument();
        doc.SetFieldSize(50, 50);
        doc.m_bSingleColour = FALSE;
        view.m_nFallTime = 1000000;  // no tick while measuring
        app.m_pMainWnd->OnCommand(ID_GAME_START);
        for (int y = 25; y < 50; ++y) {
            for (int x = 0; x < 50; ++x) {
                if ((x + y) % 7 != 0) {
                    doc.m_field.SetCell(x, y, 0x00102030u * static_cast<COLORREF>(1 + x % 5));
                }
            }
        }
        QApplication::processEvents();
    }
    CViewWidget& Widget() { return *app.m_pMainWnd->GetView(); }
};

// Made by the first benchmark that needs it; main() ends it while the application still exists,
// for its windows cannot outlive the QApplication.
std::unique_ptr<CBigField> g_pBigField;

CBigField& BigField() {
    if (!g_pBigField) {
        g_pBigField = std::make_unique<CBigField>();
    }
    return *g_pBigField;
}

// Erase and OnDraw into the backing image: the view's own work of a paint.
void BM_FullRepaintIntoBackingImage(benchmark::State& state) {
    CViewWidget& widget = BigField().Widget();
    for (auto _ : state) {
        widget.PaintImage();
        benchmark::DoNotOptimize(widget.Image().constBits());
    }
    state.counters["client_w"] = widget.width();
    state.counters["client_h"] = widget.height();
    state.counters["cell"] = widget.View().m_nCellSize;
}
BENCHMARK(BM_FullRepaintIntoBackingImage)->Unit(benchmark::kMicrosecond);

// The same through Qt: invalidate, paint event, and the blit into the window's backing store.
void BM_FullRepaintThroughQt(benchmark::State& state) {
    CViewWidget& widget = BigField().Widget();
    for (auto _ : state) {
        widget.InvalidateRect();
        widget.repaint();
    }
}
BENCHMARK(BM_FullRepaintThroughQt)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("QT_SCALE_FACTOR", "1", 0);
    setenv("CANBERRA_DRIVER", "none", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    g_pBigField.reset();
    benchmark::Shutdown();
    return 0;
}
