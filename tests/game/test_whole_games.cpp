// Whole games, played by scripted random pieces and a stream of keys and ticks on fields from
// 10x10 to 50x50 at every level, checked after every event against a small reference model of
// the rules: the field holds exactly the settled squares plus the falling piece, and every
// counter, timer period, sound and text is what the rules make of the events so far.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <deque>
#include <ostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "gametest.h"

using namespace gametest;

namespace {

using Shape = std::vector<CellOffset>;

// A second, plain model of the game's rules (choice by level, fall, landing, row removal, score,
// fall interval, drop, pause, end), sharing nothing with the view but the piece shapes and
// colours, so that a fault in the view shows up as a difference between the two.
class CReferenceGame {
public:
    CReferenceGame(int nWidth, int nHeight, int nLevel, int nFallTime)
        : W(nWidth), H(nHeight), level(nLevel), fallTime(nFallTime) {}

    const int W, H, level, fallTime;
    std::deque<int> draws;  // the same numbers the fake runtime answers, in the same order

    std::vector<COLORREF> settled;  // landed squares, row after row
    bool running = false, paused = false;
    bool inField = false;  // the falling piece's squares are in the field
    int cur = 0, x = 0, y = 0;
    Shape shape;
    int next = 0, nextX = 0, nextY = 0;
    int pieces = 0, rows = 0, bonus = 0, dropPoints = 0;
    int score = 0;  // kept as a running total of the points of each event
    int timer = 0;  // period of timer 1; 0 while stopped
    int timerSets = 0, defaults = 0, invalidations = 0, randCalls = 0;
    std::vector<UINT> beeps;
    std::vector<std::string> statuses;
    std::array<int, 6> landingsByRows{};  // how many landings removed 0, 1, ... 5 rows

    void Start() {
        settled.assign(static_cast<std::size_t>(W * H), 0);
        invalidations++;
        cur = Choose(x, y);
        next = Choose(nextX, nextY);
        shape = InitialCells(cur);
        timer = fallTime;
        timerSets++;
        pieces = rows = bonus = dropPoints = score = 0;
        running = true;
        paused = false;
        inField = Fits(shape, x, y);
        EXPECT_TRUE(inField) << "a cleared field of 10x10 or more takes every piece";
    }

    void Tick() {
        if (!running || paused) {
            return;
        }
        defaults++;
        if (Fits(shape, x, y + 1)) {
            y++;
            return;
        }
        Land();
    }

    void Key(UINT nChar, UINT nFlags) {
        const UINT nScan = nFlags & 0xFF;
        const auto is = [&](UINT vk, UINT scan) { return nChar == vk && nScan == scan; };
        if (!running || (paused && !is(19, 69))) {
            return;
        }
        defaults++;
        if (is(37, 75)) {
            Move(-1, 0);
        } else if (is(39, 77)) {
            Move(1, 0);
        } else if (is(40, 80)) {
            Move(0, 1);
        } else if (is(38, 72)) {
            Shape turned;
            for (const CellOffset& c : shape) {
                turned.push_back({-c.y, c.x});
            }
            if (Fits(turned, x, y)) {
                shape = turned;
            }
        } else if (is(35, 79)) {
            Shape mirrored;
            for (const CellOffset& c : shape) {
                mirrored.push_back({-c.x, c.y});
            }
            if (Fits(mirrored, x, y)) {
                shape = mirrored;
            }
        } else if (is(32, 57)) {
            int nRows = 0;
            while (Fits(shape, x, y + nRows + 1)) {
                nRows++;
            }
            y += nRows;
            const int nAttempts = nRows + 1;
            if (nAttempts >= 6) {
                bonus++;
                dropPoints += nAttempts;
                score += 10 + nAttempts;
            }
        } else if (is(19, 69)) {
            paused = !paused;
            if (!paused) {
                statuses.push_back("Spel is hervat");
            }
            invalidations++;
        } else if (is(27, 1)) {
            End();
        }
    }

    int Interval() const { return std::max(150, fallTime - 5 * rows); }

    // Squares of the settled field and of the falling piece, as the view's field must hold them.
    std::vector<COLORREF> Field() const {
        std::vector<COLORREF> field = settled;
        if (inField) {
            for (const CellOffset& c : shape) {
                field[static_cast<std::size_t>((y + c.y) * W + x + c.x)] =
                    g_aPieceColour[static_cast<std::size_t>(cur)];
            }
        }
        return field;
    }

private:
    int Choose(int& nStartX, int& nStartY) {
        static constexpr std::array<int, 17> kLevel4 = {1, 1,  3,  3,  5,  5,  7,  7, 9,
                                                        9, 11, 11, 13, 13, 15, 15, 1};
        const int d = draws.front();
        draws.pop_front();
        randCalls++;
        int nIndex = d % 17;
        if (level == 1) {
            nIndex = d % 5;
        } else if (level == 2) {
            nIndex = 5 + d % 12;
        } else if (level == 4) {
            nIndex = kLevel4[static_cast<std::size_t>(d % 17)];
        }
        nStartX = W / 2;
        nStartY = 0;
        for (const CellOffset& c : InitialCells(nIndex)) {
            nStartY = std::max(nStartY, -c.y);
        }
        return nIndex;
    }

public:
    bool Fits(const Shape& s, int nX, int nY) const {
        return std::all_of(s.begin(), s.end(), [&](const CellOffset& c) {
            const int cx = nX + c.x;
            const int cy = nY + c.y;
            return cx >= 0 && cx < W && cy >= 0 && cy < H &&
                   settled[static_cast<std::size_t>(cy * W + cx)] == 0;
        });
    }

private:
    void Move(int dx, int dy) {
        if (Fits(shape, x + dx, y + dy)) {
            x += dx;
            y += dy;
        }
    }

    void Land() {
        for (const CellOffset& c : shape) {
            settled[static_cast<std::size_t>((y + c.y) * W + x + c.x)] =
                g_aPieceColour[static_cast<std::size_t>(cur)];
        }
        // Keep the rows that are not full, in order, and fill up with empty rows on top.
        std::vector<COLORREF> kept;
        int g = 0;
        for (int r = 0; r < H; ++r) {
            const auto first = settled.begin() + r * W;
            if (std::find(first, first + W, COLORREF{0}) == first + W) {
                g++;
            } else {
                kept.insert(kept.end(), first, first + W);
            }
        }
        std::vector<COLORREF> field(static_cast<std::size_t>(g * W), 0);
        field.insert(field.end(), kept.begin(), kept.end());
        settled = field;
        EXPECT_LE(g, 5) << "one piece completes at most five rows";
        landingsByRows[static_cast<std::size_t>(std::min(g, 5))]++;

        if (g > 0) {
            static constexpr std::array<int, 6> kPoints = {0, 10, 50, 90, 140, 200};
            static constexpr std::array<int, 6> kBonusUnits = {0, 0, 3, 6, 10, 15};
            rows += g;
            bonus += kBonusUnits[static_cast<std::size_t>(std::min(g, 5))];
            score += kPoints[static_cast<std::size_t>(std::min(g, 5))];
            if (std::all_of(settled.end() - W, settled.end(), [](COLORREF c) { return c == 0; })) {
                bonus += 100;
                score += 1000;
                beeps.push_back(MB_ICONASTERISK);
            }
            timer = Interval();
            timerSets++;
        }
        statuses.push_back("Score: " + std::to_string(score) +
                           ", Valtijd: " + std::to_string(Interval()) + "ms");
        cur = next;
        x = nextX;
        y = nextY;
        shape = InitialCells(cur);
        inField = Fits(shape, x, y);
        if (!inField) {
            End();
        }
        next = Choose(nextX, nextY);
        pieces++;
        score++;
    }

    void End() {
        running = false;
        statuses.push_back("Eindscore: " + std::to_string(score));
        timer = 0;
        beeps.push_back(MB_ICONEXCLAMATION);
    }
};

// The view, its window and its runtime against the model; the first difference found.
::testing::AssertionResult Agrees(const CHeadlessGame& game, const CReferenceGame& model) {
    const CZorvikView& view = game.view;
    std::ostringstream diff;
    const auto check = [&](bool bSame, const char* pszWhat) {
        if (!bSame && diff.tellp() == 0) {
            diff << pszWhat;
        }
    };
    check(Cells(game.doc.m_field) == model.Field(),
          "the field is not the settled squares plus the falling piece");
    check((view.m_bRunning != FALSE) == model.running, "running");
    check((view.m_bPaused != FALSE) == model.paused, "paused");
    check(view.m_nPieces == model.pieces, "pieces");
    check(view.m_nRows == model.rows, "rows");
    check(view.m_nBonus == model.bonus, "bonus units");
    check(view.m_nDropPoints == model.dropPoints, "drop points");
    check(view.GetScore() == model.score, "score");
    check(model.score == model.dropPoints + 10 * (model.rows + model.bonus) + model.pieces,
          "the score formula");
    check(view.m_nCurPiece == model.cur && view.m_nCurX == model.x && view.m_nCurY == model.y,
          "the falling piece's position");
    check(view.m_nNextPiece == model.next && view.m_nNextX == model.nextX &&
              view.m_nNextY == model.nextY,
          "the next piece");
    for (int i = 0; i < kPieceCount; ++i) {
        const bool bFalling = model.running && i == model.cur;
        check(PieceCells(game.doc, i) == (bFalling ? model.shape : InitialCells(i)),
              "a piece's orientation");
    }
    check(game.wnd.HasTimer(kFallTimerId) == (model.timer != 0) &&
              game.wnd.TimerPeriod(kFallTimerId) == static_cast<UINT>(model.timer),
          "timer 1's period");
    check(std::count_if(game.wnd.m_timerCalls.begin(), game.wnd.m_timerCalls.end(),
                        [](const auto& call) { return call.bSet; }) == model.timerSets,
          "how often timer 1 was set");
    check(game.wnd.m_nDefaults == model.defaults, "default processing");
    check(game.wnd.m_nInvalidations == model.invalidations, "invalidations");
    check(game.wnd.m_beeps == model.beeps, "beeps");
    check(game.runtime.m_nRandCalls == model.randCalls, "random draws");
    check(game.wnd.m_statusTexts == model.statuses, "status texts");
    if (diff.tellp() != 0) {
        return ::testing::AssertionFailure() << diff.str();
    }
    return ::testing::AssertionSuccess();
}

struct CGameSetup {
    int nWidth;
    int nHeight;
    int nLevel;
    int nFallTime;
    unsigned nSeed;
    int nOnlyPiece = -1;  // every draw gives this piece (levels 1 to 3), for many full rows
};

void PrintTo(const CGameSetup& s, std::ostream* pOut) {
    *pOut << s.nWidth << "x" << s.nHeight << " level " << s.nLevel << " fall time " << s.nFallTime
          << " seed " << s.nSeed;
    if (s.nOnlyPiece >= 0) {
        *pOut << " only piece " << s.nOnlyPiece;
    }
}

std::string Name(const ::testing::TestParamInfo<CGameSetup>& info) {
    const CGameSetup& s = info.param;
    return "Field" + std::to_string(s.nWidth) + "x" + std::to_string(s.nHeight) + "Level" +
           std::to_string(s.nLevel) + "Seed" + std::to_string(s.nSeed) +
           (s.nOnlyPiece >= 0 ? "OnlyPiece" + std::to_string(s.nOnlyPiece) : "");
}

class WholeGames : public ::testing::TestWithParam<CGameSetup> {};

// The player: mostly places each piece where it leaves the stack lowest and completes rows
// (turned and mirrored as planned, then moved and dropped), otherwise somewhere at random; now
// and then presses a stray key, an unknown one, a key with the extended or the repeat bit, or
// pauses for a while.
class CPlayer {
public:
    explicit CPlayer(unsigned nSeed) : m_rng(nSeed) {}

    struct CEvent {
        bool bTick;
        UINT nChar;
        UINT nFlags;
    };

    double m_dSkill = 0.9;  // how often a piece is placed with care

    CEvent Next(const CReferenceGame& model) {
        if (model.pieces != m_nPlannedFor || model.cur != m_nPlannedPiece) {
            Plan(model);
        }
        if (model.paused) {
            return Chance(0.3) ? Key(kKeyPause) : Chance(0.5) ? Tick() : RandomKey();
        }
        if (Chance(0.05)) {
            return Tick();
        }
        if (Chance(0.02)) {
            return RandomKey();
        }
        if (m_nLowered < 3) {
            ++m_nLowered;  // room to turn below the top row
            return Key(kKeyDown);
        }
        if (m_nTurns > 0) {
            --m_nTurns;
            return Key(kKeyUp);
        }
        if (m_bMirror) {
            m_bMirror = false;
            return Key(kKeyEnd);
        }
        if (model.x != m_nTargetX && m_nSteps < model.W) {
            ++m_nSteps;
            return Key(model.x < m_nTargetX ? kKeyRight : kKeyLeft);
        }
        if (!m_bDropped) {
            m_bDropped = true;
            return Key(kKeySpace);
        }
        return Tick();
    }

private:
    int Random(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }
    bool Chance(double p) { return std::bernoulli_distribution(p)(m_rng); }
    static CEvent Tick() { return {true, 0, 0}; }
    CEvent Key(UINT nKeyCode) {
        UINT nExtra = 0;
        if (Chance(0.1)) {
            nExtra |= 0x100;  // the extended-key bit
        }
        if (Chance(0.1)) {
            nExtra |= 0x4000;  // auto-repeat
        }
        return {false, nKeyCode / 1000, (nKeyCode % 1000) | nExtra};
    }
    CEvent RandomKey() {
        static constexpr std::array<UINT, 11> kKeys = {kKeyLeft, kKeyRight, kKeyDown,  kKeyUp,
                                                       kKeyEnd,  kKeySpace, kKeyPause, 100075,
                                                       37076,    65030,     kKeyPause};
        return Key(kKeys[static_cast<std::size_t>(Random(static_cast<int>(kKeys.size())))]);
    }

    void Plan(const CReferenceGame& model) {
        m_nPlannedFor = model.pieces;
        m_nPlannedPiece = model.cur;
        m_nSteps = 0;
        m_nLowered = 0;
        m_bDropped = false;
        m_nTurns = Random(4);
        m_bMirror = Chance(0.5);
        m_nTargetX = Random(model.W);
        if (!Chance(m_dSkill)) {
            return;
        }
        // The highest square of every column and the squares of every row, once per piece.
        std::vector<int> tops(static_cast<std::size_t>(model.W), model.H);
        std::vector<int> counts(static_cast<std::size_t>(model.H), 0);
        for (int r = model.H - 1; r >= 0; --r) {
            for (int c = 0; c < model.W; ++c) {
                if (model.settled[static_cast<std::size_t>(r * model.W + c)] != 0) {
                    tops[static_cast<std::size_t>(c)] = r;
                    ++counts[static_cast<std::size_t>(r)];
                }
            }
        }
        int nBest = INT_MIN;
        for (int nTurns = 0; nTurns < 4; ++nTurns) {
            for (int nMirror = 0; nMirror < 2; ++nMirror) {
                Shape shape = InitialCells(model.cur);
                for (int t = 0; t < nTurns; ++t) {
                    for (CellOffset& c : shape) {
                        c = {-c.y, c.x};
                    }
                }
                if (nMirror != 0) {
                    for (CellOffset& c : shape) {
                        c.x = -c.x;
                    }
                }
                for (int x = 0; x < model.W; ++x) {
                    const int nValue = Value(model, shape, x, tops, counts);
                    if (nValue > nBest) {
                        nBest = nValue;
                        m_nTurns = nTurns;
                        m_bMirror = nMirror != 0;
                        m_nTargetX = x;
                    }
                }
            }
        }
    }

    // How good it is to drop the shape straight down in column x, by the stack it leaves:
    // completed rows count for it; height, new holes and bumps against it. INT_MIN where the
    // shape does not fit.
    static int Value(const CReferenceGame& model, const Shape& shape, int x,
                     const std::vector<int>& tops, const std::vector<int>& counts) {
        int y = model.H;
        for (const CellOffset& c : shape) {
            const int nCol = x + c.x;
            if (nCol < 0 || nCol >= model.W) {
                return INT_MIN;
            }
            y = std::min(y, tops[static_cast<std::size_t>(nCol)] - 1 - c.y);
        }
        if (!model.Fits(shape, x, y)) {
            return INT_MIN;
        }
        std::vector<int> newTops = tops;
        std::vector<int> added(static_cast<std::size_t>(model.H), 0);
        int nHoles = 0;
        for (const CellOffset& c : shape) {
            const auto nCol = static_cast<std::size_t>(x + c.x);
            ++added[static_cast<std::size_t>(y + c.y)];
            newTops[nCol] = std::min(newTops[nCol], y + c.y);
            const bool bLowest = std::none_of(shape.begin(), shape.end(), [&](const CellOffset& o) {
                return o.x == c.x && o.y > c.y;
            });
            if (bLowest) {
                nHoles += tops[nCol] - (y + c.y) - 1;
            }
        }
        int nRows = 0;
        for (int r = 0; r < model.H; ++r) {
            const auto i = static_cast<std::size_t>(r);
            if (added[i] != 0 && counts[i] + added[i] == model.W) {
                ++nRows;
            }
        }
        int nDepth = 0;  // rows of the squares: the lower the better
        for (const CellOffset& c : shape) {
            nDepth += y + c.y;
        }
        return 50 * nRows - 40 * nHoles + nDepth;
    }

    std::mt19937 m_rng;
    int m_nPlannedFor = -1;
    int m_nPlannedPiece = -1;
    int m_nLowered = 0;
    int m_nTurns = 0;
    bool m_bMirror = false;
    int m_nTargetX = 0;
    int m_nSteps = 0;
    bool m_bDropped = false;
};

TEST_P(WholeGames, EveryEventKeepsFieldAndCountersToTheRules) {
    const CGameSetup& setup = GetParam();
    CHeadlessGame game;
    game.doc.SetFieldSize(setup.nWidth, setup.nHeight);
    game.doc.m_nLevel = setup.nLevel;
    game.view.m_nFallTime = setup.nFallTime;
    CReferenceGame model(setup.nWidth, setup.nHeight, setup.nLevel, setup.nFallTime);
    CPlayer player(setup.nSeed);
    std::mt19937 draws(setup.nSeed * 7919u + 1u);
    const auto feed = [&] {
        while (game.runtime.m_randScript.size() < 4) {
            int d = std::uniform_int_distribution<int>(0, 32000)(draws);
            if (setup.nOnlyPiece >= 0) {
                const int nFirst = setup.nLevel == 2 ? 5 : 0;
                const int nRange = setup.nLevel == 1 ? 5 : setup.nLevel == 2 ? 12 : 17;
                d = d - d % nRange + setup.nOnlyPiece - nFirst;
            }
            game.runtime.m_randScript.push_back(d);
            model.draws.push_back(d);
        }
    };
    const auto play = [&](const CPlayer::CEvent& e) {
        feed();
        if (e.bTick) {
            Tick(game.view);
            model.Tick();
        } else {
            game.view.OnKeyDown(e.nChar, 1, e.nFlags);
            model.Key(e.nChar, e.nFlags);
        }
    };
    // Long enough for most games to fill up; a game still running then is stopped with Esc.
    const int nEventLimit = 60 * setup.nWidth * setup.nHeight / 10 + 2000;

    int nLandings = 0;
    int nRowsTotal = 0;
    for (int nGame = 0; nGame < 2; ++nGame) {
        SCOPED_TRACE("game " + std::to_string(nGame + 1));
        player.m_dSkill = nGame == 0 ? 0.97 : 0.6;  // a careful game, then a careless one
        feed();
        game.view.OnGameStart();
        model.Start();
        ASSERT_TRUE(Agrees(game, model)) << "after Start";
        int nEvents = 0;
        while (model.running) {
            const CPlayer::CEvent e = ++nEvents < nEventLimit
                                          ? player.Next(model)
                                          : CPlayer::CEvent{false, VK_ESCAPE, kScanEscape};
            const int nPieces = model.pieces;
            if (model.paused && nEvents >= nEventLimit) {
                play({false, VK_PAUSE, kScanPause});
            }
            play(e);
            nLandings += model.pieces - nPieces;
            ASSERT_TRUE(Agrees(game, model))
                << "event " << nEvents << (e.bTick ? ": tick" : ": key ")
                << (e.bTick ? 0 : e.nChar * 1000 + (e.nFlags & 0xFF));
        }
        nRowsTotal += model.rows;
        // After the end nothing acts until the next Start.
        for (int i = 0; i < 20; ++i) {
            play(player.Next(model));
            ASSERT_TRUE(Agrees(game, model)) << "after the end, event " << i;
        }
    }
    EXPECT_GE(nLandings, 10) << "the games were played, not just started";
    RecordProperty("landings", nLandings);
    RecordProperty("rows", nRowsTotal);
    std::string byRows;
    for (int n : model.landingsByRows) {
        byRows += std::to_string(n) + " ";
    }
    RecordProperty("landings by rows removed", byRows);
    RecordProperty(
        "fields played empty",
        static_cast<int>(std::count(model.beeps.begin(), model.beeps.end(), MB_ICONASTERISK)));
}

std::vector<CGameSetup> Setups() {
    const std::array<std::pair<int, int>, 7> sizes = {
        {{10, 10}, {10, 15}, {15, 10}, {10, 50}, {50, 10}, {23, 31}, {50, 50}}};
    const std::array<int, 4> fallTimes = {1000, 400, 2000, 1450};
    std::vector<CGameSetup> setups;
    unsigned nSeed = 1;
    for (const auto& [w, h] : sizes) {
        for (int nLevel = 1; nLevel <= 4; ++nLevel) {
            setups.push_back(
                {w, h, nLevel, fallTimes[static_cast<std::size_t>(nLevel - 1)], nSeed++});
        }
    }
    // Bars only: fields played empty, and four and five rows at once.
    setups.push_back({10, 15, 2, 1000, nSeed++, kI5});
    setups.push_back({10, 20, 2, 400, nSeed++, kI5});
    setups.push_back({20, 30, 2, 1000, nSeed++, kI5});
    setups.push_back({50, 50, 2, 1000, nSeed++, kI5});
    setups.push_back({12, 16, 1, 1000, nSeed++, kI4});
    setups.push_back({16, 24, 3, 400, nSeed++, kI4});
    // More games on the small fields, where rows go and games end quickly.
    for (int i = 0; i < 8; ++i) {
        setups.push_back({10, 10 + i, 1 + i % 4, 1000, nSeed++});
    }
    return setups;
}

INSTANTIATE_TEST_SUITE_P(Fields, WholeGames, ::testing::ValuesIn(Setups()), Name);

}  // namespace
