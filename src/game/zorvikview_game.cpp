// The game controller: a game's life inside the view, from the Start command through the ticks
// of the fall timer to the end of the game, and the commands that wait for no game to run.
//
// The falling piece lives in the field: between events its squares are stored in the field's
// cells with its piece colour. Every change of it erases it, changes it, tests the fit against
// what is left and writes it again, drawing only the squares it touches.
#include <cstdint>

#include "game/resource.h"
#include "game/zorvikview.h"
#include "model/piececatalogue.h"
#include "platform/strformat.h"

namespace {

// Every removed row makes the pieces fall this much faster, down to the floor.
constexpr std::int64_t kFallStepPerRow = 5;          // ms
constexpr std::int64_t kShortestFallInterval = 150;  // ms

// A landing that leaves the field empty earns this many bonus units.
constexpr std::int32_t kEmptyFieldBonus = 100;

bool IsIdleOnlyCommand(UINT nID) {
    switch (nID) {
        case ID_GAME_OPTIONS:
        case ID_APP_EXIT:
        case ID_GAME_START:
        case ID_VIEW_STATUS_BAR:
        case ID_VIEW_TOOLBAR:
        case ID_GAME_SHOWSCORE:
            return true;
        default:
            return false;
    }
}

}  // namespace

void CZorvikView::OnGameStart() {
    CZorvikDoc* pDoc = GetDocument();
    pDoc->m_field.Clear();
    m_pWnd->InvalidateRect();
    m_pRuntime->srand(static_cast<std::uint32_t>(m_pRuntime->time()));
    ChoosePiece(m_nCurPiece, m_nCurX, m_nCurY);
    pDoc->m_pPieces[m_nCurPiece].Reset();
    ChoosePiece(m_nNextPiece, m_nNextX, m_nNextY);
    m_pWnd->KillTimer(kFallTimerId);
    m_pWnd->SetTimer(kFallTimerId, static_cast<UINT>(m_nFallTime));
    // After the two choices, so that the two pieces chosen here are not counted.
    ResetGameState();
    // In a cleared field of 10 by 10 squares or more every piece fits at its start. A smaller
    // field cannot hold the piece at all; the game then ends at once, as it does for any piece
    // that does not fit where it enters.
    if (!PutPiece(m_nCurPiece, m_nCurX, m_nCurY, TRUE)) {
        GameOver();
    }
    DrawNextPiece();
}

void CZorvikView::OnTimer(UINT_PTR /*nIDEvent*/) {
    // No game, or a paused one: the tick is dropped, not even passed on.
    if (!m_bRunning || m_bPaused) {
        return;
    }
    if (!ChangePiece(EPieceChange::kDown)) {
        LandPiece();
    }
    m_pWnd->Default();
}

bool CZorvikView::ChangePiece(EPieceChange change) {
    CPolyomino& piece = GetDocument()->m_pPieces[m_nCurPiece];
    // Makes the change (nStep 1) or takes it back (nStep -1).
    const auto apply = [&](int nStep) {
        switch (change) {
            case EPieceChange::kLeft:
                m_nCurX -= nStep;
                break;
            case EPieceChange::kRight:
                m_nCurX += nStep;
                break;
            case EPieceChange::kDown:
                m_nCurY += nStep;
                break;
            case EPieceChange::kRotate:
                if (nStep > 0) {
                    piece.RotateClockwise();
                } else {
                    piece.RotateCounterclockwise();
                }
                break;
            case EPieceChange::kMirror:
                piece.Mirror();  // its own inverse
                break;
        }
    };
    PutPiece(m_nCurPiece, m_nCurX, m_nCurY, FALSE);
    apply(1);
    if (PutPiece(m_nCurPiece, m_nCurX, m_nCurY, TRUE)) {
        return true;
    }
    apply(-1);
    PutPiece(m_nCurPiece, m_nCurX, m_nCurY, TRUE);
    return false;
}

void CZorvikView::LandPiece() {
    CZorvikDoc* pDoc = GetDocument();
    BOOL bEmpty = FALSE;
    const std::int32_t nRemoved = pDoc->m_field.RemoveFullRows(bEmpty);
    if (nRemoved > 0) {
        {
            CClientDC dc(*m_pWnd);
            DrawField(&dc);
        }
        m_nRows += nRemoved;
        if (nRemoved > 1) {
            m_nBonus += nRemoved * (nRemoved + 1) / 2;
        }
        // Every landed square rests on the bottom row or on squares below it and only whole rows
        // vanish, so an empty bottom row means an empty field.
        if (bEmpty) {
            m_nBonus += kEmptyFieldBonus;
            m_pWnd->MessageBeep(MB_ICONASTERISK);
        }
        m_pWnd->KillTimer(kFallTimerId);
        m_pWnd->SetTimer(kFallTimerId, static_cast<UINT>(GetFallInterval(m_nRows)));
    }
    // The piece that enters next is counted only after this text, by its successor's choice:
    // the text shows the pieces landed before this landing.
    SetStatusText(StrFormat(kScoreFormat, GetScore(), GetFallInterval(m_nRows)));

    pDoc->m_pPieces[m_nCurPiece].Reset();
    m_nCurX = m_nNextX;
    m_nCurY = m_nNextY;
    m_nCurPiece = m_nNextPiece;
    pDoc->m_pPieces[m_nCurPiece].Reset();
    if (!PutPiece(m_nCurPiece, m_nCurX, m_nCurY, TRUE)) {
        GameOver();
    }
    // Also after the game has ended: the preview then shows a freshly chosen piece.
    ChoosePiece(m_nNextPiece, m_nNextX, m_nNextY);
    DrawNextPiece();
}

void CZorvikView::OnDestroy() {
    // The window goes away with the program; a game in progress ends without a report.
    m_pWnd->KillTimer(kFallTimerId);
}

void CZorvikView::OnUpdateIdleOnly(CCmdUI* pCmdUI) {
    pCmdUI->Enable(!m_bRunning);
}

void CZorvikView::OnUpdateAppAbout(CCmdUI* /*pCmdUI*/) {
    // Left alone on purpose: About stays available during a game.
}

BOOL CZorvikView::OnCommand(UINT nID) {
    void (CZorvikView::*pfnHandler)() = nullptr;
    switch (nID) {
        case ID_GAME_START:
            pfnHandler = &CZorvikView::OnGameStart;
            break;
        case ID_GAME_OPTIONS:
            pfnHandler = &CZorvikView::OnGameOptions;
            break;
        case ID_GAME_SHOWSCORE:
            pfnHandler = &CZorvikView::OnGameShowScore;
            break;
        default:
            return FALSE;
    }
    // The frame asks before it offers a command, but a command that slips through while a game
    // runs (a new field size under the falling piece, a second Start) must still not be carried
    // out. It is swallowed, so nobody else carries it out either.
    CCmdUI state(nID);
    OnUpdateCommand(&state);
    if (!state.m_bEnabled) {
        return TRUE;
    }
    (this->*pfnHandler)();
    return TRUE;
}

BOOL CZorvikView::OnUpdateCommand(CCmdUI* pCmdUI) {
    if (IsIdleOnlyCommand(pCmdUI->m_nID)) {
        OnUpdateIdleOnly(pCmdUI);
        return TRUE;
    }
    if (pCmdUI->m_nID == ID_APP_ABOUT) {
        OnUpdateAppAbout(pCmdUI);
        return TRUE;
    }
    return FALSE;
}

bool CZorvikView::PieceFits(int nIndex, int x, int y) {
    const CPlayField& field = GetDocument()->m_field;
    CellOffset aCells[CPolyomino::kMaxCells];
    const std::int32_t nCount = GetDocument()->m_pPieces[nIndex].GetCells(aCells);
    for (std::int32_t i = 0; i < nCount; ++i) {
        const int nCol = x + aCells[i].x;
        const int nRow = y + aCells[i].y;
        if (nCol < 0 || nCol >= field.m_nWidth || nRow < 0 || nRow >= field.m_nHeight ||
            field.GetCell(nCol, nRow) != 0) {
            return false;
        }
    }
    return true;
}

bool CZorvikView::PutPiece(int nIndex, int x, int y, BOOL bPlace) {
    CClientDC dc(*m_pWnd);
    if (bPlace && !PieceFits(nIndex, x, y)) {
        return false;
    }
    CPlayField& field = GetDocument()->m_field;
    const COLORREF cr = bPlace ? g_aPieceColour[static_cast<std::size_t>(nIndex)] : 0;
    CellOffset aCells[CPolyomino::kMaxCells];
    const std::int32_t nCount = GetDocument()->m_pPieces[nIndex].GetCells(aCells);
    for (std::int32_t i = 0; i < nCount; ++i) {
        const int nCol = x + aCells[i].x;
        const int nRow = y + aCells[i].y;
        // Erasing makes no fit test: it undoes the last write at the same place. A square
        // outside the field was never written, and is never touched.
        if (nCol < 0 || nCol >= field.m_nWidth || nRow < 0 || nRow >= field.m_nHeight) {
            continue;
        }
        field.SetCell(nCol, nRow, cr);
        DrawCell(&dc, nCol, nRow, FALSE);
    }
    return true;
}

void CZorvikView::ChoosePiece(int& nIndex, int& nStartX, int& nStartY) {
    const CZorvikDoc* pDoc = GetDocument();
    // The level's range of piece indices, lower bound included, upper bound excluded. A level
    // outside 1 to 4 cannot be set; should one arrive, it plays the whole set, like level 3.
    std::int32_t nLower = 0;
    std::int32_t nUpper = pDoc->m_nPieceCount;
    if (pDoc->m_nLevel == 1) {
        nUpper = kFirstPentomino;
    } else if (pDoc->m_nLevel == 2) {
        nLower = kFirstPentomino;
    }
    const std::int32_t nRange = nUpper - nLower;
    std::int32_t nDraw = m_pRuntime->rand() % nRange;
    if (nDraw < 0) {
        nDraw += nRange;  // keeps the index in range for a runtime whose numbers go negative
    }
    nIndex = nLower + nDraw;
    if (pDoc->m_nLevel == 4) {
        // Odd indices only: draws 0, 1 and 16 all give index 1.
        if (nIndex % 2 == 0) {
            ++nIndex;
        }
        if (nIndex >= pDoc->m_nPieceCount) {
            nIndex = 1;
        }
    }
    nStartX = pDoc->m_field.m_nWidth / 2;
    // The entry is in its initial orientation here: its topmost square enters in row 0.
    nStartY = pDoc->m_pPieces[nIndex].GetTopExtent();
    ++m_nPieces;
}

void CZorvikView::ResetGameState() {
    m_bRunning = TRUE;
    m_nPieces = 0;
    m_nDropPoints = 0;
    m_nBonus = 0;
    m_nRows = 0;
    m_bPaused = FALSE;
}

void CZorvikView::GameOver() {
    m_bRunning = FALSE;
    SetStatusText(StrFormat(kFinalScoreFormat, GetScore()));
    // Before the report: its box waits for the player, and no tick may arrive meanwhile.
    m_pWnd->KillTimer(kFallTimerId);
    m_pWnd->MessageBeep(MB_ICONEXCLAMATION);
    ReportScore();
    GetDocument()->m_pPieces[m_nCurPiece].Reset();
}

int CZorvikView::GetFallInterval(int nRows) const {
    const std::int64_t nInterval = m_nFallTime - kFallStepPerRow * nRows;
    return nInterval < kShortestFallInterval ? static_cast<int>(kShortestFallInterval)
                                             : static_cast<int>(nInterval);
}

int CZorvikView::GetScore() const {
    return m_nDropPoints + kPointsPerRow * m_nRows + kPointsPerBonusUnit * m_nBonus + m_nPieces;
}
