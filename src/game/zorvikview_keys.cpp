// The keyboard moves of the falling piece: move, turn, mirror, drop, pause and stop.
#include "game/keycodes.h"
#include "game/zorvikview.h"

namespace {

// A drop over more than this many attempts (one-row steps tried, the failing one included)
// earns a bonus unit and one point per attempt.
constexpr int kFreeDropAttempts = 5;

// The change of the falling piece that a move, turn or mirror key makes.
CZorvikView::EPieceChange PieceChangeOf(UINT nKey) {
    using EPieceChange = CZorvikView::EPieceChange;
    switch (nKey) {
        case kKeyLeft:
            return EPieceChange::kLeft;
        case kKeyRight:
            return EPieceChange::kRight;
        case kKeyUp:
            return EPieceChange::kRotate;
        case kKeyEnd:
            return EPieceChange::kMirror;
        default:  // kKeyDown
            return EPieceChange::kDown;
    }
}

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
    switch (nKey) {
        case kKeyLeft:
        case kKeyRight:
        case kKeyDown:  // only a move: a piece that cannot go down lands at the next tick
        case kKeyUp:
        case kKeyEnd:
            ChangePiece(PieceChangeOf(nKey));
            break;
        case kKeySpace:
            DropPiece();
            break;
        case kKeyPause:
            // The timer runs on; its ticks are dropped while paused.
            m_bPaused = m_bPaused ? FALSE : TRUE;
            if (!m_bPaused) {
                SetStatusText("Spel is hervat");
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
    // Each attempt erases the piece and writes it one row lower; the failed attempt writes
    // nothing, so the piece is written back one row up.
    int nAttempts = 0;
    do {
        PutPiece(m_nCurPiece, m_nCurX, m_nCurY, FALSE);
        ++m_nCurY;
        ++nAttempts;
    } while (PutPiece(m_nCurPiece, m_nCurX, m_nCurY, TRUE));
    --m_nCurY;
    if (nAttempts > kFreeDropAttempts) {
        ++m_nBonus;
        m_nDropPoints += nAttempts;
    }
    PutPiece(m_nCurPiece, m_nCurX, m_nCurY, TRUE);
}
