// Reading the best scores of levels 1 to 4 back from the text of a score log.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/zorvikdoc.h"

// A number as the score log holds it, read the way atoi reads it: leading white space skipped,
// an optional sign, then digits up to the first other character; no digits give 0. A number
// beyond the 32-bit range gives the nearest value in range. The text ends at its end or at its
// first NUL byte, whichever comes first.
std::int32_t ReadLogNumber(std::string_view text);

// The two kinds of line the reader looks at, and where their number starts.
constexpr std::string_view kScoreLinePrefix = "Score";
constexpr std::size_t kScoreNumberIndex = 6;  // the blank of "Score: ", skipped as white space
constexpr std::string_view kLevelLinePrefix = "  Niveau";
constexpr std::size_t kLevelNumberIndex = 9;  // after "  Niveau: "'s colon

// Reads a score log fed in chunks of any size, in file order.
//
// A CR immediately before an LF is part of the line end, so logs written with CR LF read
// exactly like those written with LF. Each line is taken in pieces of at most 99 characters (a
// longer line arrives in several pieces, each tested as a line of its own). A piece beginning
// with "Score" sets the current score to the number at index 6; a piece beginning with
// "  Niveau" names the level at index 9, and a level 1 to kLevelCount whose best score is below
// the current score takes it. Every other line is ignored.
//
// A NUL byte stops what is read across it: a prefix must stand whole before the piece's first
// NUL, and a number is read up to the first NUL from its index on. A NUL between a prefix and its
// number's index hides nothing: "Score\0 12" sets the score to 12. A NUL still counts towards the
// 99 characters of the piece, so what follows it on a long line is cut at the same places as
// without it. Ctrl-Z (0x1A), the end-of-file mark some DOS-era editors leave, carries no text and
// is skipped wherever it stands, so a record appended after a stray Ctrl-Z still counts for the
// best scores.
class CScoreLogReader {
public:
    void Feed(const char* pData, std::size_t nSize);
    // The end of the file: handles a last line without a line end.
    void Finish();

    // Best scores of levels 1 to kLevelCount; 0 where no logged game of that level scored more.
    const std::array<std::int32_t, kLevelCount>& BestScores() const { return m_aBestScore; }

private:
    static constexpr std::size_t kPieceChars = 99;

    void Put(char c);
    void HandlePiece(std::string_view piece);

    // A piece that is not whole yet, or that a CR or Ctrl-Z interrupts.
    std::array<char, kPieceChars> m_acPiece{};
    std::size_t m_nLength = 0;
    bool m_bPendingCR = false;  // a CR was read; whether it is part of a line end is not known yet
    std::int32_t m_nCurrentScore = 0;
    std::array<std::int32_t, kLevelCount> m_aBestScore{};
};

// The best scores of levels 1 to kLevelCount in the whole text of a score log.
std::array<std::int32_t, kLevelCount> ReadBestScoresFrom(std::string_view text);
