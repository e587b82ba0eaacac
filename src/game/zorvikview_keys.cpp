// The keyboard moves of the falling piece: move, turn, mirror, drop, pause and stop.
#include <algorithm>
#include <array>
#include <utility>

#include "game/keycodes.h"
#include "game/zorvikview.h"

namespace {

// The keys that change the falling piece, and the change each makes. Down is only a move: a piece
// that cannot go down lands at the next tick.
using EPieceChange = CZorvikView::EPieceChange;
constexpr std::array<std::pair<UINT, EPieceChange>, 5> kPieceChangeKeys = {{
    {kKeyLeft, EPieceChange::kLeft},
    {kKeyRight, EPieceChange::kRight},
    {kKeyDown, EPieceChange::kDown},
    {kKeyUp, EPieceChange::kRotate},
    {kKeyEnd, EPieceChange::kMirror},
}};

// A drop over more than this many attempts (one-row steps tried, the failing one included)
// earns a bonus unit and one point per attempt.
constexpr int kFreeDropAttempts = 5;

}  // namespace

void CZorvikView::OnKeyDown(UINT nChar, UINT /*nRepCnt*/, UINT nFlags) {
    const UINT nKey = MakeKeyCode(nChar, nFlags);
    // Without a game no key acts, and while paused only Pause does; the others are swallowed,
    // not passed on.
    if (!m_bRunning) {
        return;
    }
    if (m_bPaused && nKey != kKeyPause) {
        return;
    }
    const auto itChange = std::find_if(kPieceChangeKeys.begin(), kPieceChangeKeys.end(),
                                       [nKey](const auto& entry) { return entry.first == nKey; });
    if (itChange != kPieceChangeKeys.end()) {
        ChangePiece(itChange->second);
    }
    switch (nKey) {
        case kKeySpace:
            DropPiece();
            break;
        case kKeyPause:
            // The timer runs on; its ticks are dropped while paused.
            m_bPaused = m_bPaused ? FALSE : TRUE;
            if (!m_bPaused) {
                SetStatusText(kResumeText);
            }
            // The paint shows the pause notice on a blank view, or the field again.
            m_pWnd->InvalidateRect();
            break;
        case kKeyEscape:
            GameOver();
            break;
        default:
            break;
    }
    m_pWnd->Default();
}

void CZorvikView::DropPiece() {
    // One-row steps down until one fails; the failed step puts the piece back where it rests.
    int nAttempts = 1;
    while (ChangePiece(EPieceChange::kDown)) {
        ++nAttempts;
    }
    if (nAttempts > kFreeDropAttempts) {
        ++m_nBonus;
        m_nDropPoints += nAttempts;
    }
}
