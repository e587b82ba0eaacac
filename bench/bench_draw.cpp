// Drawing cost without a screen: a full draw of the largest field, and the preview, through a
// surface that discards its fills, so only the view's own work is measured.
#include <benchmark/benchmark.h>

#include <memory>

#include "game/zorvikview.h"
#include "model/piececatalogue.h"
#include "model/zorvikdoc.h"
#include "nullplatform.h"

namespace {

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
    CNullWindow wnd({0, 0, 1100, 1040});
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
    CNullWindow wnd({0, 0, 1100, 1040});
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
