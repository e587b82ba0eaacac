// Reading the best scores back from the text of a score log.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <string_view>

#include "scorelog/scorelogreader.h"

namespace {

using Best = std::array<std::int32_t, 4>;
using namespace std::string_view_literals;

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

std::string Record(const std::string& scoreLine, int nLevel, std::string_view eol = "\n") {
    std::string text;
    for (const std::string& line :
         {scoreLine, std::string("Aantal stukken: 12"), std::string("Bonus: 0"),
          std::string("Instellingen:"), std::string("  Valtijd: 1000"),
          std::string("  Breedte veld: 10"), std::string("  Hoogte veld: 15"),
          "  Niveau: " + std::to_string(nLevel), std::string(), std::string()}) {
        text += line;
        text += eol;
    }
    return text;
}

TEST(ReadLogNumber, ReadsLikeAtoiAndSaturatesBeyondTheRange) {
    EXPECT_EQ(ReadLogNumber("258 Nieuw Record!"), 258);
    EXPECT_EQ(ReadLogNumber(" \t\n\v\f\r42x"), 42);
    EXPECT_EQ(ReadLogNumber("+7"), 7);
    EXPECT_EQ(ReadLogNumber("12\0"
                            "3"sv),
              12)
        << "a NUL byte ends the text";
    EXPECT_EQ(ReadLogNumber("-13\r"), -13);
    EXPECT_EQ(ReadLogNumber(""), 0);
    EXPECT_EQ(ReadLogNumber("Record"), 0);
    EXPECT_EQ(ReadLogNumber("- 5"), 0);
    EXPECT_EQ(ReadLogNumber("+-5"), 0);
    EXPECT_EQ(ReadLogNumber("\xff"
                            "5"),
              0);
    EXPECT_EQ(ReadLogNumber("0000000000000000000000000012"), 12) << "leading zeros";
    EXPECT_EQ(ReadLogNumber("2147483647"), kMax);
    EXPECT_EQ(ReadLogNumber("2147483648"), kMax);
    EXPECT_EQ(ReadLogNumber("-2147483648"), kMin);
    EXPECT_EQ(ReadLogNumber("-2147483649"), kMin);
    EXPECT_EQ(ReadLogNumber("4294967296"), kMax) << "would wrap to 0 in 32 bits";
    EXPECT_EQ(ReadLogNumber(std::string(5000, '9')), kMax);
    EXPECT_EQ(ReadLogNumber("-" + std::string(5000, '9')), kMin);
}

TEST(ScoreLogReader, WorkedExampleAndEachLevelCountedAlone) {
    EXPECT_EQ(ReadBestScoresFrom(""), (Best{}));
    const std::string log = Record("Score: 240", 2) + Record("Score: 900", 1) +
                            Record("Score: 258 Nieuw Record!", 2) + Record("Score: 3", 4) +
                            Record("Score: 100", 2) + Record("Score: 5", 1);
    EXPECT_EQ(ReadBestScoresFrom(log), (Best{900, 258, 0, 3}));
}

TEST(ScoreLogReader, LevelLineCountsWithTheLastScoreLineAboveIt) {
    EXPECT_EQ(ReadBestScoresFrom("  Niveau: 2\nScore: 50\n"), (Best{}))
        << "a level line before any score line counts with 0";
    EXPECT_EQ(ReadBestScoresFrom("Score: 50\n  Niveau: 2\n  Niveau: 3\n"), (Best{0, 50, 50, 0}));
    // A record without its score line takes the score of the record above it.
    EXPECT_EQ(ReadBestScoresFrom(Record("Score: 70", 1) + Record("Scoer: 999", 3)),
              (Best{70, 0, 70, 0}));
    EXPECT_EQ(ReadBestScoresFrom("Score: -9\n  Niveau: 1\n"), (Best{}))
        << "a negative score never beats the initial 0";
    EXPECT_EQ(ReadBestScoresFrom("Score: 10\n  Niveau: 0\n  Niveau: 5\n  Niveau: -1\n"
                                 "  Niveau: 4294967297\n  Niveau: 1x\n"),
              (Best{10, 0, 0, 0}))
        << "levels outside 1 to 4 are ignored; none wraps into range";
}

TEST(ScoreLogReader, NumbersAreReadAtTheirFixedIndexAndSaturated) {
    EXPECT_EQ(ReadBestScoresFrom("Score: 8\n  Niveau: 1\nScorex5\n  Niveau: 2\nScore::5\n"
                                 "  Niveau: 3\n"),
              (Best{8, 5, 0, 0}))
        << "the score starts at index 6 whatever stands there";
    EXPECT_EQ(ReadBestScoresFrom("Score: 8\n  Niveau12\n  Niveau:  3\n"), (Best{0, 8, 8, 0}))
        << "the level starts at index 9";
    EXPECT_EQ(ReadBestScoresFrom("Score\n  Niveau: 1\nScore:\n  Niveau: 2\n"), (Best{}));
    EXPECT_EQ(ReadBestScoresFrom("Score: 99999999999999\n  Niveau: 3\n"), (Best{0, 0, kMax, 0}));
    EXPECT_EQ(ReadBestScoresFrom("Score: 2147483648\n  Niveau: 3\nScore: 2147483646\n"
                                 "  Niveau: 3\n"),
              (Best{0, 0, kMax, 0}));
}

TEST(ScoreLogReader, LowerCaseAndWronglyIndentedLinesAreIgnored) {
    const std::string log =
        "score: 500\n  Niveau: 1\nSCORE: 600\n  Niveau: 2\nScore: 40\n"
        " Niveau: 3\nNiveau: 3\n   Niveau: 3\n\tNiveau: 3\n  niveau: 3\n"
        "  NIVEAU: 3\n Score: 700\n  Niveau: 4\n";
    EXPECT_EQ(ReadBestScoresFrom(log), (Best{0, 0, 0, 40}));
}

TEST(ScoreLogReader, CrLfLogReadsExactlyLikeLf) {
    std::string log;
    std::string logCrLf;
    for (int i = 0; i < 20; ++i) {
        const std::string scoreLine =
            "Score: " + std::to_string(i * 37 % 101) + (i % 3 == 0 ? " Nieuw Record!" : "");
        log += Record(scoreLine, 1 + i % 4);
        logCrLf += Record(scoreLine, 1 + i % 4, "\r\n");
    }
    EXPECT_EQ(ReadBestScoresFrom(log), (Best{94, 84, 74, 97}));
    EXPECT_EQ(ReadBestScoresFrom(logCrLf), ReadBestScoresFrom(log));
    EXPECT_EQ(ReadBestScoresFrom(log.substr(0, log.size() - 3)), ReadBestScoresFrom(log))
        << "a last line without its line end";

    // CR LF is one line end: 98 characters and CR LF make one piece, so the next line begins a
    // piece of its own. A lone CR is an ordinary character.
    const std::string x98(98, 'x');
    EXPECT_EQ(ReadBestScoresFrom(x98 + "\r\nScore: 5\r\n" + x98 + "\r\n  Niveau: 1\r\n"),
              (Best{5, 0, 0, 0}));
    EXPECT_EQ(ReadBestScoresFrom("Score: 5\rScore: 9\r\r\n  Niveau: 1\r"), (Best{5, 0, 0, 0}));
    EXPECT_EQ(ReadBestScoresFrom("Score: 6\r\n\r  Niveau: 1\r\n"), (Best{}));
}

TEST(ScoreLogReader, LongLinesAreTestedInPiecesOf99Characters) {
    const std::string x99(99, 'x');
    EXPECT_EQ(ReadBestScoresFrom(x99 + "Score: 42\n  Niveau: 1\n"), (Best{42, 0, 0, 0}))
        << "the second piece begins with Score";
    EXPECT_EQ(ReadBestScoresFrom(std::string(98, 'x') + "Score: 42\n  Niveau: 1\n"), (Best{}))
        << "a piece boundary inside the word";
    EXPECT_EQ(ReadBestScoresFrom("Score: 9\n" + x99 + x99 + "  Niveau: 3" + x99 + "\n"),
              (Best{0, 0, 9, 0}))
        << "the third piece begins with the level";
    EXPECT_EQ(ReadBestScoresFrom("Score: " + std::string(90, '0') + "12345\n  Niveau: 2\n"),
              (Best{0, 12, 0, 0}))
        << "a number is cut at the end of its piece";
    EXPECT_EQ(ReadBestScoresFrom(x99 + "\nScore: 4\n  Niveau: 4\n"), (Best{0, 0, 0, 4}))
        << "a line of exactly 99 characters leaves its line end as an empty piece";
}

// A NUL byte ends the text a piece is compared and read with, but still counts towards its 99
// characters; Ctrl-Z, the end-of-file mark some DOS-era editors leave, is skipped, so a record
// after a stray Ctrl-Z still counts for the best scores.
TEST(ScoreLogReader, NulEndsAPiecesTextAndCtrlZIsSkipped) {
    EXPECT_EQ(ReadBestScoresFrom("Sco\0re: 5\n  Niveau: 1\n"sv), (Best{}));
    EXPECT_EQ(ReadBestScoresFrom("Score: 5\0"
                                 "7\n  Niveau: 1\n"sv),
              (Best{5, 0, 0, 0}));
    EXPECT_EQ(ReadBestScoresFrom("Score\0 77\n  Niveau: 1\n"sv), (Best{77, 0, 0, 0}));
    EXPECT_EQ(ReadBestScoresFrom("\0\nScore: 3\n  Niveau: 1\n"sv), (Best{3, 0, 0, 0}))
        << "an empty-looking line does not end the log";
    EXPECT_EQ(ReadBestScoresFrom(std::string(98, '\0') + "Score: 8\n  Niveau: 2\n"), (Best{}))
        << "NUL bytes count towards the 99 characters of a piece";
    EXPECT_EQ(ReadBestScoresFrom("Score: 8\n  Niveau: 1\n\x1A"
                                 "Score: 300\n  Niveau: 2\n"),
              (Best{8, 300, 0, 0}))
        << "a record appended after the mark reads whole";
    EXPECT_EQ(ReadBestScoresFrom("Score: 8\r\x1A\n  Niveau: 1\x1A\x1A"), (Best{8, 0, 0, 0}));
}

TEST(ScoreLogReader, TheSameLogFedInAnyChunksReadsAlike) {
    const std::string log = Record("Score: 12", 3, "\r\n") + std::string(250, 'y') +
                            "\r\nScore: 20\r\r\n  Niveau: 1\r\n\x1A";
    const Best whole = ReadBestScoresFrom(log);
    ASSERT_EQ(whole, (Best{20, 0, 12, 0}));
    for (std::size_t nChunk : {1, 2, 3, 7, 99, 100, 101}) {
        CScoreLogReader reader;
        for (std::size_t i = 0; i < log.size(); i += nChunk) {
            reader.Feed(log.data() + i, std::min(nChunk, log.size() - i));
        }
        reader.Finish();
        EXPECT_EQ(reader.BestScores(), whole) << "chunks of " << nChunk;
    }
}

// A plainly written second reading of the rules, to hold the reader against.
Best ReferenceBestScores(std::string_view raw) {
    std::string text;
    for (const char c : raw) {
        if (c != '\x1A') {
            text += c;
        }
    }
    std::string lines;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
            lines += text[i];
        }
    }
    auto number = [](const std::string& buf, std::size_t nIndex) {
        const long long n = std::strtoll(buf.c_str() + nIndex, nullptr, 10);
        return static_cast<std::int32_t>(std::clamp<long long>(n, kMin, kMax));
    };
    Best best{};
    std::int32_t nScore = 0;
    std::size_t nStart = 0;
    while (nStart < lines.size()) {
        std::size_t nEnd = std::min(lines.find('\n', nStart), lines.size() - 1) + 1;
        nEnd = std::min(nEnd, nStart + 99);
        std::string buf = lines.substr(nStart, nEnd - nStart);
        buf.resize(100, '\0');
        if (buf.compare(0, 5, "Score") == 0) {
            nScore = number(buf, 6);
        }
        if (buf.compare(0, 8, "  Niveau") == 0) {
            const std::int32_t nLevel = number(buf, 9);
            if (nLevel >= 1 && nLevel <= 4) {
                best[static_cast<std::size_t>(nLevel - 1)] =
                    std::max(best[static_cast<std::size_t>(nLevel - 1)], nScore);
            }
        }
        nStart = nEnd;
    }
    return best;
}

// A few thousand random logs built from the pieces a log is made of and from stray bytes: the
// reader never fails, agrees with the plain reading, and is independent of how it is fed.
TEST(ScoreLogReader, RandomLogsReadLikeThePlainReadingOfTheRules) {
    std::mt19937 random(20240601u);
    const std::string_view tokens[] = {"Score: 31\n",
                                       "  Niveau: 1\n",
                                       "  Niveau: 3\n",
                                       "Score",
                                       "Score: ",
                                       "  Niveau",
                                       "  Niveau: ",
                                       " Niveau",
                                       "score",
                                       " Nieuw Record!",
                                       "\n",
                                       "\r\n",
                                       "\r",
                                       "\0"sv,
                                       "\x1A",
                                       " ",
                                       "\t",
                                       "-",
                                       "+",
                                       "1",
                                       "2",
                                       "4",
                                       "0"};
    std::uniform_int_distribution<std::size_t> pickToken(0, std::size(tokens) + 3);
    std::uniform_int_distribution<int> pickByte(0, 255);
    std::uniform_int_distribution<std::size_t> pickCount(0, 120);
    int nWithBest = 0;
    for (int nCase = 0; nCase < 3000; ++nCase) {
        std::string log;
        const std::size_t nTokens = pickCount(random);
        for (std::size_t i = 0; i < nTokens; ++i) {
            const std::size_t nToken = pickToken(random);
            if (nToken < std::size(tokens)) {
                log += tokens[nToken];
            } else if (nToken == std::size(tokens)) {
                log += static_cast<char>(pickByte(random));
            } else if (nToken == std::size(tokens) + 1) {
                log.append(pickCount(random), 'x');
            } else {
                log += std::to_string(random()) + std::to_string(random());
            }
        }
        const Best best = ReadBestScoresFrom(log);
        ASSERT_EQ(best, ReferenceBestScores(log)) << "case " << nCase;
        CScoreLogReader reader;
        for (std::size_t i = 0; i < log.size();) {
            const std::size_t nChunk = std::min(pickCount(random) + 1, log.size() - i);
            reader.Feed(log.data() + i, nChunk);
            i += nChunk;
        }
        reader.Finish();
        ASSERT_EQ(reader.BestScores(), best) << "case " << nCase;
        nWithBest += best != Best{} ? 1 : 0;
    }
    EXPECT_GT(nWithBest, 100) << "the random logs reach the rules";
}

}  // namespace
