// Helpers shared by the controller's suites: driving a headless game by keys and ticks, laying
// out fields, and reading back what the view recorded.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "fakes/fakeplatform.h"
#include "game/keycodes.h"
#include "game/resource.h"
#include "model/piececatalogue.h"

namespace gametest {

// The colour of squares a test settles by hand; no piece has it.
constexpr COLORREF kSettled = 0x00010203;

// Piece indices by name, as the catalogue orders them.
constexpr int kI4 = 0;
constexpr int kL4 = 1;
constexpr int kT4 = 2;
constexpr int kS4 = 3;
constexpr int kO4 = 4;
constexpr int kF5 = 5;
constexpr int kI5 = 6;
constexpr int kL5 = 7;
constexpr int kU5 = 11;

// A key given by its key code (virtual key x 1000 + scan code), with extra flag bits above the
// scan code if wanted.
inline void Press(CZorvikView& view, UINT nKeyCode, UINT nExtraFlags = 0, UINT nRepeat = 1) {
    view.OnKeyDown(nKeyCode / 1000, nRepeat, (nKeyCode % 1000) | nExtraFlags);
}

inline void Tick(CZorvikView& view) {
    view.OnTimer(kFallTimerId);
}

// Starts a game at level 3, where a draw is the piece index itself: the falling piece, the next
// piece, then one piece for every landing, in the order given. The field gets the given size.
void StartWith(CHeadlessGame& game, std::initializer_list<int> pieces, int nWidth = 10,
               int nHeight = 15);

// Settles a square by hand, as if a piece had landed there.
inline void Settle(CHeadlessGame& game, int x, int y) {
    game.doc.m_field.SetCell(x, y, kSettled);
}
// Fills row y with settled squares except in the given columns.
void FillRowExcept(CHeadlessGame& game, int y, std::initializer_list<int> gaps);

// The field as text, top row first: '.' empty, '#' a square settled by hand, 'a' + index a
// square in the colour of piece index, '?' anything else.
std::vector<std::string> Rows(const CPlayField& field);
std::vector<COLORREF> Cells(const CPlayField& field);

std::vector<CellOffset> PieceCells(const CZorvikDoc& doc, int nIndex);
std::vector<CellOffset> InitialCells(int nIndex);

// The recorded events that begin with one of the prefixes, in order.
std::vector<std::string> EventsOf(const CFakeWindow& wnd,
                                  std::initializer_list<const char*> prefixes);
// The events a game step shows: timer calls, status texts and beeps, in order.
std::vector<std::string> GameEvents(const CFakeWindow& wnd);
// A list of expected events, written inline in an assertion.
using Events = std::vector<std::string>;
// The end-of-game report (a message box) comes only after the warning beep.
::testing::AssertionResult ReportFollowsTheBeep(const CFakeWindow& wnd);

}  // namespace gametest
