#include "gametest.h"

#include <algorithm>

namespace gametest {

void StartWith(CHeadlessGame& game, std::initializer_list<int> pieces, int nWidth, int nHeight) {
    game.doc.SetFieldSize(nWidth, nHeight);
    game.doc.m_nLevel = 3;
    game.runtime.m_randScript.assign(pieces.begin(), pieces.end());
    game.view.OnGameStart();
    game.wnd.ClearRecords();
}

void FillRowExcept(CHeadlessGame& game, int y, std::initializer_list<int> gaps) {
    for (int x = 0; x < game.doc.m_field.m_nWidth; ++x) {
        if (std::find(gaps.begin(), gaps.end(), x) == gaps.end()) {
            Settle(game, x, y);
        }
    }
}

std::vector<std::string> Rows(const CPlayField& field) {
    std::vector<std::string> rows;
    for (int y = 0; y < field.m_nHeight; ++y) {
        std::string row;
        for (int x = 0; x < field.m_nWidth; ++x) {
            const COLORREF cr = field.GetCell(x, y);
            char c = '?';
            if (cr == 0) {
                c = '.';
            } else if (cr == kSettled) {
                c = '#';
            } else {
                const auto it = std::find(g_aPieceColour.begin(), g_aPieceColour.end(), cr);
                if (it != g_aPieceColour.end()) {
                    c = static_cast<char>('a' + (it - g_aPieceColour.begin()));
                }
            }
            row += c;
        }
        rows.push_back(row);
    }
    return rows;
}

std::vector<COLORREF> Cells(const CPlayField& field) {
    const auto nCount = static_cast<std::size_t>(field.m_nWidth * field.m_nHeight);
    return {field.m_pCells.get(), field.m_pCells.get() + nCount};
}

std::vector<CellOffset> PieceCells(const CZorvikDoc& doc, int nIndex) {
    const CPolyomino& piece = doc.m_pPieces[nIndex];
    return {piece.m_pCells.get(), piece.m_pCells.get() + piece.m_nCount};
}

std::vector<CellOffset> InitialCells(int nIndex) {
    const CPieceShape& shape = g_aPieceShape[static_cast<std::size_t>(nIndex)];
    return {shape.aCells.begin(), shape.aCells.begin() + shape.nCount};
}

std::vector<std::string> EventsOf(const CFakeWindow& wnd,
                                  std::initializer_list<const char*> prefixes) {
    std::vector<std::string> events;
    for (const std::string& event : wnd.m_events) {
        for (const char* pszPrefix : prefixes) {
            if (event.starts_with(pszPrefix)) {
                events.push_back(event);
                break;
            }
        }
    }
    return events;
}

std::vector<std::string> GameEvents(const CFakeWindow& wnd) {
    return EventsOf(wnd, {"SetTimer", "KillTimer", "Status", "Beep"});
}

::testing::AssertionResult ReportFollowsTheBeep(const CFakeWindow& wnd) {
    const auto itBeep = std::find(wnd.m_events.begin(), wnd.m_events.end(), "Beep 48");
    for (auto it = wnd.m_events.begin(); it != wnd.m_events.end(); ++it) {
        if (it->starts_with("MessageBox") && (itBeep == wnd.m_events.end() || it < itBeep)) {
            return ::testing::AssertionFailure() << "\"" << *it << "\" before the warning beep";
        }
    }
    return ::testing::AssertionSuccess();
}

}  // namespace gametest
