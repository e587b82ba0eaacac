// The view: the game controller and the drawing surface of the field in one class.
//
// Its members are defined by concern: the controller, the keys and the command handlers in
// src/game/, the drawing in src/view/, the end-of-game report and the score log in
// src/scorelog/. It meets the desktop only through IViewWindow and IRuntime.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/zorvikdoc.h"
#include "platform/cdc.h"
#include "platform/cmdui.h"
#include "platform/runtime.h"
#include "platform/viewwindow.h"
#include "platform/wintypes.h"

// The starting fall interval the player may set, and its value in a new view, in milliseconds.
constexpr std::int32_t kMinFallTime = 400;
constexpr std::int32_t kMaxFallTime = 2000;
constexpr std::int32_t kDefaultFallTime = 1000;

// Each removed row and each bonus unit is worth this many points.
constexpr std::int32_t kPointsPerRow = 10;
constexpr std::int32_t kPointsPerBonusUnit = 10;

class CZorvikView {
public:
    CZorvikView(CZorvikDoc& doc, IViewWindow& wnd, IRuntime& runtime);
    ~CZorvikView() = default;
    CZorvikView(const CZorvikView&) = delete;
    CZorvikView& operator=(const CZorvikView&) = delete;

    CZorvikDoc* GetDocument() const { return m_pDocument; }

    // --- Message and command handlers ------------------------------------------------------
    void OnGameStart();
    void OnTimer(UINT_PTR nIDEvent);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnDestroy();
    void OnGameOptions();
    void OnGameShowScore();
    // Enables a command exactly when no game runs.
    void OnUpdateIdleOnly(CCmdUI* pCmdUI);
    // Leaves About in its default state: available at all times.
    void OnUpdateAppAbout(CCmdUI* pCmdUI);

    // The view's command table: carries out nID and returns TRUE when the view handles it.
    BOOL OnCommand(UINT nID);
    // Answers an update request and returns TRUE when the view has an update handler for it.
    BOOL OnUpdateCommand(CCmdUI* pCmdUI);

    // --- Controller -------------------------------------------------------------------------
    // One change of the falling piece: a step of one square, or a turn or mirror about its
    // origin.
    enum class EPieceChange { kLeft, kRight, kDown, kRotate, kMirror };

    bool PieceFits(int nIndex, int x, int y);
    // bPlace TRUE: writes the piece into the field and draws it if it fits; FALSE: erases it.
    bool PutPiece(int nIndex, int x, int y, BOOL bPlace);
    // The one path of every move, turn, mirror and fall step: erases the falling piece, makes
    // the change and writes the piece again. Where it does not fit, the change is taken back and
    // the piece written where and as it was, which always fits. Returns whether it fitted.
    bool ChangePiece(EPieceChange change);
    // Space: the piece falls as far as it fits and stays there, still movable, until the next
    // tick lands it. A long drop scores.
    void DropPiece();
    // A tick found the piece unable to fall: full rows go and score, and the next piece enters;
    // the game ends when it does not fit.
    void LandPiece();
    void ChoosePiece(int& nIndex, int& nStartX, int& nStartY);
    void ResetGameState();
    void GameOver();
    int GetFallInterval(int nRows) const;
    int GetScore() const;

    // --- Drawing ----------------------------------------------------------------------------
    void OnDraw(CDC* pDC);
    void DrawField(CDC* pDC);
    int CalcCellSize();
    void DrawCell(CDC* pDC, int nCol, int nRow, BOOL bNext);
    void DrawNextPiece();
    void SetStatusText(const std::string& text);
    // The texts the view writes into the status bar's message pane.
    static constexpr char kPauseText[] = "Er wordt gepauzeerd, toets <Pause> om door te gaan.";
    static constexpr char kResumeText[] = "Spel is hervat";
    static constexpr char kScoreFormat[] = "Score: %d, Valtijd: %dms";
    static constexpr char kFinalScoreFormat[] = "Eindscore: %d";
    // Each of those texts at its widest (six-digit scores), for a pane that must show them whole.
    static std::vector<std::string> WidestStatusTexts();

    // --- Score log --------------------------------------------------------------------------
    void ReportScore();
    std::string GetScoreLogPath();
    void ReadBestScores();

    // --- Game state, in this order ----------------------------------------------------------
    std::int32_t m_nBonus = 0;                    // bonus units this game
    std::int32_t m_nPieces = 0;                   // pieces counted this game, 1 point each
    std::int32_t m_nDropPoints = 0;               // points of long drops
    std::int32_t m_nFallTime = kDefaultFallTime;  // starting fall interval, ms; a setting
    BOOL m_bPaused = FALSE;
    std::int32_t m_nRows = 0;       // full rows removed this game
    BOOL m_bRunning = FALSE;        // a game runs, paused or not
    std::int32_t m_nCurPiece = 0;   // piece index of the falling piece
    std::int32_t m_nNextPiece = 0;  // piece index of the next piece
    std::int32_t m_nCurX = 0;       // field column of the falling piece's origin
    std::int32_t m_nCurY = 0;       // field row of the falling piece's origin
    std::int32_t m_nNextX = 0;      // start column chosen for the next piece
    std::int32_t m_nNextY = 0;      // start row chosen for the next piece
    std::int32_t m_nCellSize = 0;   // grid pitch in pixels, from the last full draw

private:
    CZorvikDoc* m_pDocument;
    IViewWindow* m_pWnd;
    IRuntime* m_pRuntime;
};
