// libFuzzer target of the score-log reader: any bytes at all are a score log it must read
// without fault, the same whether it gets them at once or in pieces, and no best score is ever
// below the 0 it starts from.
//
//   cmake --build build --target fuzz_scorelog
//   build/bench/fuzz/fuzz_scorelog -max_total_time=60 -max_len=4096
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "scorelog/scorelogreader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    const char* pText = reinterpret_cast<const char*>(pData);
    const auto best = ReadBestScoresFrom(std::string_view(pText, nSize));
    for (const std::int32_t nBest : best) {
        if (nBest < 0) {
            __builtin_trap();
        }
    }
    // The first byte chooses the size of the pieces it is fed in.
    const std::size_t nChunk = nSize > 0 ? pData[0] % 17u + 1u : 1u;
    CScoreLogReader reader;
    for (std::size_t i = 0; i < nSize; i += nChunk) {
        reader.Feed(pText + i, nSize - i < nChunk ? nSize - i : nChunk);
    }
    reader.Finish();
    if (reader.BestScores() != best) {
        __builtin_trap();
    }
    return 0;
}
