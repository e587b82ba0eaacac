// The end-of-game report, the score log and the best scores per level.
#include "game/zorvikview.h"
#include "platform/strformat.h"
#include "scorelog/scorelogfile.h"

void CZorvikView::ReportScore() {
    // The best scores are read before this game's record is appended, so the game never
    // competes with itself.
    ReadBestScores();
    CZorvikDoc* pDoc = GetDocument();
    const int nScore = GetScore();
    const bool bLevelKnown = pDoc->m_nLevel >= 1 && pDoc->m_nLevel <= kLevelCount;
    const bool bNewRecord =
        bLevelKnown && pDoc->m_aBestScore[static_cast<std::size_t>(pDoc->m_nLevel - 1)] < nScore;

    std::string text = StrFormat("Score: %d", nScore);
    text += bNewRecord ? " Nieuw Record!\n" : "\n";
    text += StrFormat("Aantal stukken: %d\n", m_nPieces);
    text += StrFormat("Bonus: %d\n", m_nBonus * kPointsPerBonusUnit);
    text += "Instellingen:\n";
    text += StrFormat("  Valtijd: %d\n", m_nFallTime);
    text += StrFormat("  Breedte veld: %d\n", pDoc->m_field.m_nWidth);
    text += StrFormat("  Hoogte veld: %d\n", pDoc->m_field.m_nHeight);
    text += StrFormat("  Niveau: %d\n", pDoc->m_nLevel);

    // Modal: the record is appended after the player has closed the box.
    m_pWnd->MessageBox(text, "Score", MB_OK);

    // The record is the text followed by two empty lines. A record that no place takes is not
    // lost silently after a box that may have announced a new record.
    const std::optional<CScoreLogFailure> failure =
        SaveScoreRecord(ScoreLogPlaceOf(*m_pRuntime), text + "\n\n");
    if (failure) {
        std::string message = "De score kon niet worden bewaard.";
        if (!failure->path.empty()) {
            message += "\n" + failure->path + ": " + failure->reason;
        }
        m_pWnd->MessageBox(message, "Score", MB_OK);
    }
}

// The log beside the program, which takes the records where it may; empty for an installed
// program. The player's own log takes them otherwise.
std::string CZorvikView::GetScoreLogPath() {
    return ScoreLogPlaceOf(*m_pRuntime).beside;
}

void CZorvikView::ReadBestScores() {
    GetDocument()->m_aBestScore = ReadBestScoresOf(ScoreLogPlaceOf(*m_pRuntime));
}

void CZorvikView::OnGameShowScore() {
    ReadBestScores();
    const CZorvikDoc* pDoc = GetDocument();
    std::string text;
    for (int nLevel = 1; nLevel <= kLevelCount; ++nLevel) {
        text += StrFormat("Level %d: %5d\n", nLevel,
                          pDoc->m_aBestScore[static_cast<std::size_t>(nLevel - 1)]);
    }
    m_pWnd->MessageBox(text, "Score", MB_OK);
}
