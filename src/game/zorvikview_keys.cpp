// The keyboard moves of the falling piece: move, turn, mirror, drop, pause and stop.
#include "game/keycodes.h"
#include "game/zorvikview.h"

namespace {

// A drop over more than this many attempts (one-row steps tried, the failing one included)
// earns a bonus unit and one point per attempt.
constexpr int kFreeDropAttempts = 5;

// The one path of every move, turn and mirror: erase the piece, make the change, write it; when
// it does not fit, take the change back and write the piece where and as it was, which always
// fits. A refused change is silent.
template <typename FChange, typename FUndo>
void TryChange(CZorvikView& view, FChange fnChange, FUndo fnUndo) {
    view.PutPiece(view.m_nCurPiece, view.m_nCurX, view.m_nCurY, FALSE);
    fnChange();
    if (!view.PutPiece(view.m_nCurPiece, view.m_nCurX, view.m_nCurY, TRUE)) {
        fnUndo();
        view.PutPiece(view.m_nCurPiece, view.m_nCurX, view.m_nCurY, TRUE);
    }
}

}  // namespace

void CZorvikView::OnKeyDown(UINT nChar, UINT /*nRepCnt*/, UINT nFlags) {
    const UINT nKey = MakeKeyCode(nChar, nFlags);
    // Without a game no key acts, and while paused only Pause does; the others are swallowed,
    // not passed on.
    if (m_bRunning == FALSE) {
        return;
    }
    if (m_bPaused != FALSE && nKey != kKeyPause) {
        return;
    }

    CPolyomino& piece = GetDocument()->m_pPieces[m_nCurPiece];
    switch (nKey) {
        case kKeyLeft:
            TryChange(
                *this, [this] { --m_nCurX; }, [this] { ++m_nCurX; });
            break;
        case kKeyRight:
            TryChange(
                *this, [this] { ++m_nCurX; }, [this] { --m_nCurX; });
            break;
        case kKeyDown:
            // Only a move: a piece that cannot go down lands at the next tick, not here.
            TryChange(
                *this, [this] { ++m_nCurY; }, [this] { --m_nCurY; });
            break;
        case kKeyUp:
            TryChange(
                *this, [&piece] { piece.RotateClockwise(); },
                [&piece] { piece.RotateCounterclockwise(); });
            break;
        case kKeyEnd:
            TryChange(
                *this, [&piece] { piece.Mirror(); }, [&piece] { piece.Mirror(); });
            break;
        case kKeySpace: {
            // The piece ends at its lowest row without landing: it can still be moved until
            // the next tick lands it.
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
            break;
        }
        case kKeyPause:
            // The timer runs on; its ticks are dropped while paused.
            m_bPaused = m_bPaused != FALSE ? FALSE : TRUE;
            if (m_bPaused == FALSE) {
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
