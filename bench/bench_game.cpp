// The controller's costs on a window whose drawing surface does nothing: one fall step, one
// landing that removes five rows (redraw calls included), and a whole game played headless.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "game/keycodes.h"
#include "game/resource.h"
#include "game/zorvikview.h"
#include "model/piececatalogue.h"
#include "nullplatform.h"

namespace {

struct CBenchGame {
    CZorvikDoc doc;
    CNullWindow wnd;
    CBenchRuntime runtime;
    CZorvikView view{doc, wnd, runtime};

    CBenchGame(int nWidth, int nHeight, int nLevel) {
        doc.SetFieldSize(nWidth, nHeight);
        doc.m_nLevel = nLevel;
    }
    void Press(UINT nKeyCode) { view.OnKeyDown(nKeyCode / 1000, 1, nKeyCode % 1000); }
};

// One fall step of a piece in open space: erase, test, write, default processing.
void BM_TickWithoutLanding(benchmark::State& state) {
    CBenchGame game(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), 1);
    game.view.OnGameStart();
    const int nLowest = game.doc.m_field.m_nHeight - 3;
    for (auto _ : state) {
        game.view.OnTimer(kFallTimerId);
        if (game.view.m_nCurY >= nLowest) {
            // Back to the top before it could land; amortised over the rows of the field.
            game.view.PutPiece(game.view.m_nCurPiece, game.view.m_nCurX, game.view.m_nCurY, FALSE);
            game.view.m_nCurY = 1;
            game.view.PutPiece(game.view.m_nCurPiece, game.view.m_nCurX, game.view.m_nCurY, TRUE);
        }
    }
}
BENCHMARK(BM_TickWithoutLanding)->Args({10, 15})->Args({50, 50});

// Five full bottom rows but for a gap in the middle column, one square above them so that the
// field is not played empty, and an upright five-square bar resting in the gap.
void SetUpFiveRowLanding(CBenchGame& game) {
    constexpr int kBar = 6;
    CPlayField& field = game.doc.m_field;
    const int nGap = field.m_nWidth / 2;
    field.Clear();
    for (int y = field.m_nHeight - 5; y < field.m_nHeight; ++y) {
        for (int x = 0; x < field.m_nWidth; ++x) {
            if (x != nGap) {
                field.SetCell(x, y, g_aPieceColour[0]);
            }
        }
    }
    field.SetCell(0, field.m_nHeight - 6, g_aPieceColour[0]);
    game.view.m_bRunning = TRUE;
    game.view.m_nCurPiece = kBar;
    game.doc.m_pPieces[kBar].Reset();
    game.doc.m_pPieces[kBar].RotateClockwise();
    game.view.m_nCurX = nGap;
    game.view.m_nCurY = field.m_nHeight - 3;
    game.view.PutPiece(kBar, game.view.m_nCurX, game.view.m_nCurY, TRUE);
}

// The tick that lands the bar: row removal, the whole-field redraw, scoring, the new timer
// period, the next piece. Timed together with the set-up, which BM_FiveRowSetUpOnly measures
// alone: the landing costs the difference.
void BM_LandingRemovingFiveRows(benchmark::State& state) {
    CBenchGame game(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), 2);
    game.view.OnGameStart();
    for (auto _ : state) {
        SetUpFiveRowLanding(game);
        game.view.OnTimer(kFallTimerId);
    }
    if (game.view.m_nRows != 5 * static_cast<int>(state.iterations())) {
        state.SkipWithError("the landing did not remove five rows");
    }
}
BENCHMARK(BM_LandingRemovingFiveRows)->Args({10, 15})->Args({50, 50});

void BM_FiveRowSetUpOnly(benchmark::State& state) {
    CBenchGame game(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), 2);
    game.view.OnGameStart();
    for (auto _ : state) {
        SetUpFiveRowLanding(game);
        benchmark::DoNotOptimize(game.doc.m_field.m_pCells.get());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FiveRowSetUpOnly)->Args({10, 15})->Args({50, 50});

// A whole game from Start to the end: every piece turned, moved a few columns and dropped.
void BM_WholeGame(benchmark::State& state) {
    CBenchGame game(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), 3);
    std::int64_t nPieces = 0;
    for (auto _ : state) {
        game.view.OnGameStart();
        for (int nMove = 0; game.view.m_bRunning != FALSE; ++nMove) {
            game.Press(kKeyDown);
            game.Press(kKeyUp);
            for (int i = 0; i < nMove % 7; ++i) {
                game.Press(nMove % 2 == 0 ? kKeyLeft : kKeyRight);
            }
            game.Press(kKeySpace);
            game.view.OnTimer(kFallTimerId);
        }
        nPieces += game.view.m_nPieces;
    }
    state.counters["pieces/game"] =
        benchmark::Counter(static_cast<double>(nPieces), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_WholeGame)->Args({10, 15})->Args({50, 50});

}  // namespace

BENCHMARK_MAIN();
