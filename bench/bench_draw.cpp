// Drawing cost without a screen: a full draw of the largest field, and the preview, through a
// surface that discards its fills, so only the view's own work is measured.
#include <benchmark/benchmark.h>

#include <memory>

#include "game/zorvikview.h"
#include "model/piececatalogue.h"
#include "model/zorvikdoc.h"

namespace {

class CNullDC final : public CDC {
public:
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF cr) override {
        benchmark::DoNotOptimize(x + y + cx + cy + static_cast<int>(cr));
    }
};

class CNullWindow final : public IViewWindow {
public:
    void SetTimer(UINT_PTR, UINT) override {}
    void KillTimer(UINT_PTR) override {}
    void InvalidateRect() override {}
    CRect GetClientRect() const override { return {0, 0, 1100, 1040}; }
    std::unique_ptr<CDC> GetClientDC() override { return std::make_unique<CNullDC>(); }
    void Default() override {}
    void SetMainWindowText(const std::string&) override {}
    void SetStatusPaneText(const std::string&) override {}
    int MessageBox(const std::string&, const std::string&, UINT) override { return IDOK; }
    void MessageBeep(UINT) override {}
    int DoOptionsDialog(COptionsValues&) override { return IDCANCEL; }
};

// A 50 x 50 field, half of it occupied, as a paint draws it: 2,500 squares.
void BM_DrawFieldLargest(benchmark::State& state) {
    CZorvikDoc doc;
    doc.SetFieldSize(50, 50);
    for (int y = 25; y < 50; ++y) {
        for (int x = 0; x < 50; ++x) {
            doc.m_field.SetCell(x, y, g_aPieceColour[static_cast<std::size_t>((x + y) % 17)]);
        }
    }
    doc.m_bSingleColour = state.range(0) != 0 ? TRUE : FALSE;
    CNullWindow wnd;
    CSystemRuntime runtime;
    CZorvikView view(doc, wnd, runtime);
    view.m_bRunning = TRUE;
    view.m_nNextPiece = 6;
    CNullDC dc;
    for (auto _ : state) {
        view.DrawField(&dc);
    }
    state.SetItemsProcessed(state.iterations() * 2500);
}
BENCHMARK(BM_DrawFieldLargest)->Arg(0)->Arg(1);

// The preview alone, as the controller draws it after choosing a new next piece.
void BM_DrawNextPiece(benchmark::State& state) {
    CZorvikDoc doc;
    CNullWindow wnd;
    CSystemRuntime runtime;
    CZorvikView view(doc, wnd, runtime);
    view.m_nCellSize = 20;
    view.m_nNextPiece = 6;
    for (auto _ : state) {
        view.DrawNextPiece();
    }
}
BENCHMARK(BM_DrawNextPiece);

}  // namespace

BENCHMARK_MAIN();
