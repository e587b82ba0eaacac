// The drawing half of the view: the field as a grid of squares, the preview of the next piece,
// the main window's caption and the status texts.
//
// The view keeps no picture of its own. A paint redraws the whole field from the document;
// between paints the controller draws only the squares it changes, with the pitch of the last
// full draw. Pixels are client coordinates, x to the right and y downward.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "game/zorvikview.h"
#include "model/piececatalogue.h"
#include "platform/strformat.h"

namespace {

// The largest client width or height the drawing works with: 16,777,215 pixels, the largest a
// Qt widget can be. Kept to it, no pitch times a column or row count and no edge of the preview
// can leave the int range, whatever rectangle the window reports.
constexpr std::int64_t kMaxClientSize = 16777215;

struct CClientSize {
    int cx = 0;
    int cy = 0;
};

// The client area's width and height, each worked out in 64 bits and kept within
// plus or minus kMaxClientSize.
CClientSize ClientSizeOf(const IViewWindow& wnd) {
    const CRect rc = wnd.GetClientRect();
    const auto clamp = [](std::int64_t n) {
        return static_cast<int>(std::clamp(n, -kMaxClientSize, kMaxClientSize));
    };
    return {clamp(std::int64_t{rc.right} - rc.left), clamp(std::int64_t{rc.bottom} - rc.top)};
}

}  // namespace

void CZorvikView::OnDraw(CDC* pDC) {
    // The Pause key erases the whole view, and a paused paint draws nothing, so the field stays
    // hidden until play resumes. The caption is left as it stands.
    if (m_bPaused) {
        SetStatusText(kPauseText);
        return;
    }
    DrawField(pDC);
    const CPlayField& field = m_pDocument->m_field;
    m_pWnd->SetMainWindowText(StrFormat("Zorvik niveau %d, %dx%d", m_pDocument->m_nLevel,
                                        field.m_nWidth, field.m_nHeight));
}

void CZorvikView::DrawField(CDC* pDC) {
    m_nCellSize = CalcCellSize();
    const CPlayField& field = m_pDocument->m_field;
    for (int nRow = 0; nRow < field.m_nHeight; ++nRow) {
        for (int nCol = 0; nCol < field.m_nWidth; ++nCol) {
            DrawCell(pDC, nCol, nRow, FALSE);
        }
    }
    // The falling piece lives in the field and was drawn with it; only the preview is extra.
    if (m_bRunning) {
        DrawNextPiece();
    }
}

// The largest pitch at which the field and its margins fit the client area both ways. Each
// quotient truncates toward zero, so a client area smaller than the margins gives 0 or less.
int CZorvikView::CalcCellSize() {
    const CClientSize client = ClientSizeOf(*m_pWnd);
    const std::int64_t m = m_pDocument->m_nMargin;
    const CPlayField& field = m_pDocument->m_field;
    // The field always has a row and a column; the guard only keeps a division by zero out.
    if (field.m_nWidth <= 0 || field.m_nHeight <= 0) {
        return 0;
    }
    const std::int64_t nByHeight = (client.cy - 2 * m) / field.m_nHeight;
    const std::int64_t nByWidth = (client.cx - 2 * m) / field.m_nWidth;
    return static_cast<int>(
        std::clamp<std::int64_t>(std::min(nByHeight, nByWidth), -kMaxClientSize, kMaxClientSize));
}

// Fills one square, leaving the grid line to its left and the one above it unpainted. With bNext
// set, nCol counts preview columns to the right of the field and the square takes the next
// piece's colour. Called up to 2,500 times per full draw: no allocation here.
void CZorvikView::DrawCell(CDC* pDC, int nCol, int nRow, BOOL bNext) {
    const int s = m_nCellSize;
    // A pitch of 1 or less leaves no room inside the grid lines: nothing to fill, and no
    // rectangle of zero or negative size is handed to the surface.
    if (s <= 1) {
        return;
    }
    const CZorvikDoc& doc = *m_pDocument;
    const int m = doc.m_nMargin;
    COLORREF v = 0;
    int x = 0;
    if (bNext) {
        if (m_nNextPiece < 0 || m_nNextPiece >= doc.m_nPieceCount) {
            return;
        }
        v = g_aPieceColour[static_cast<std::size_t>(m_nNextPiece)];
        x = m + (doc.m_field.m_nWidth + nCol) * s;
    } else {
        v = doc.m_field.GetCell(nCol, nRow);
        x = m + nCol * s;
    }
    const int y = m + nRow * s;

    COLORREF cr = v;
    if (v == 0) {
        cr = doc.m_crEmpty;
    } else if (doc.m_bSingleColour) {
        cr = doc.m_crSingle;
    }
    pDC->FillSolidRect(x + 1, y + 1, s - 1, s - 1, cr);
}

// Wipes the preview area from the field's right edge to the client's right edge over the full
// height in the view's background colour (white in a light palette, so a dark desktop gets no
// bright column), then draws the next piece in its present orientation: its leftmost squares in
// preview column 1, one empty pitch from the field, and its rows offset by the start row stored
// when it was chosen, so its top squares stand level with field row 0.
void CZorvikView::DrawNextPiece() {
    CClientDC dc(*m_pWnd);
    const CClientSize client = ClientSizeOf(*m_pWnd);
    if (client.cx <= 0 || client.cy <= 0) {
        return;  // a minimised window: nothing to show, and no empty rectangle to hand on
    }
    const CZorvikDoc& doc = *m_pDocument;
    // A pitch below 0 means the field has no room at all; its right edge is then taken at the
    // margin, so the area neither covers the left margin nor stops short of the right edge.
    const int nFieldRight = doc.m_nMargin + doc.m_field.m_nWidth * std::max(m_nCellSize, 0);
    dc.FillSolidRect(nFieldRight, 0, client.cx, client.cy, m_pWnd->GetBackgroundColour());

    if (m_nNextPiece < 0 || m_nNextPiece >= doc.m_nPieceCount) {
        return;
    }
    const CPolyomino& piece = doc.m_pPieces[m_nNextPiece];
    CellOffset aCells[CPolyomino::kMaxCells];
    const int nCount = piece.GetCells(aCells);
    const int nLeft = piece.GetLeftExtent();
    for (int i = 0; i < nCount; ++i) {
        DrawCell(&dc, aCells[i].x + nLeft + 1, aCells[i].y + m_nNextY, TRUE);
    }
}

void CZorvikView::SetStatusText(const std::string& text) {
    m_pWnd->SetStatusPaneText(text);
}

std::vector<std::string> CZorvikView::WidestStatusTexts() {
    constexpr int kWideScore = 999999;
    return {kPauseText, kResumeText, StrFormat(kScoreFormat, kWideScore, kMaxFallTime),
            StrFormat(kFinalScoreFormat, kWideScore)};
}
