// Reading a long score log and reporting a finished game, file append included.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "game/zorvikview.h"
#include "nullplatform.h"
#include "scorelog/scorelogfile.h"
#include "scorelog/scorelogreader.h"

namespace {

// A temporary directory holding a score log of nRecords records, removed at the end.
class CLogDir {
public:
    explicit CLogDir(int nRecords) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "zorvik-bench-XXXXXX").string();
        m_dir = ::mkdtemp(pattern.data()) != nullptr ? pattern : "";
        std::ofstream out(LogPath(), std::ios::binary);
        for (int i = 0; i < nRecords; ++i) {
            out << "Score: " << (i * 7919) % 100003 << (i % 500 == 0 ? " Nieuw Record!" : "")
                << "\nAantal stukken: 57\nBonus: 30\nInstellingen:\n  Valtijd: 800\n"
                   "  Breedte veld: 12\n  Hoogte veld: 20\n  Niveau: "
                << 1 + i % 4 << "\n\n\n";
        }
    }
    ~CLogDir() {
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }
    CLogDir(const CLogDir&) = delete;
    CLogDir& operator=(const CLogDir&) = delete;

    std::string ProgramPath() const { return (m_dir / "zorvik").string(); }
    std::string LogPath() const { return (m_dir / "zorvik.txt").string(); }

private:
    std::filesystem::path m_dir;
};

void BM_ReadScoreLogFile(benchmark::State& state) {
    const CLogDir dir(static_cast<int>(state.range(0)));
    const std::size_t nBytes = std::filesystem::file_size(dir.LogPath());
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadScoreLogFile(dir.LogPath(), CSystemRuntime().GetUserIds()));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * nBytes));
}
BENCHMARK(BM_ReadScoreLogFile)->Arg(100000)->Unit(benchmark::kMillisecond);

// The reader alone, on a log already in memory.
void BM_ReadBestScoresFrom(benchmark::State& state) {
    const CLogDir dir(static_cast<int>(state.range(0)));
    std::ifstream in(dir.LogPath(), std::ios::binary);
    const std::string log{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadBestScoresFrom(log));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * log.size()));
}
BENCHMARK(BM_ReadBestScoresFrom)->Arg(100000)->Unit(benchmark::kMillisecond);

// The end of a game: reading the best scores, building the report, the (silent) box and the
// append. Its cost grows with the log it reads first, so the log is cut back to its size after
// every iteration, outside the timing.
void BM_ReportScore(benchmark::State& state) {
    const CLogDir dir(static_cast<int>(state.range(0)));
    CZorvikDoc doc;
    CNullWindow wnd;
    CBenchRuntime runtime(dir.ProgramPath());
    CZorvikView view(doc, wnd, runtime);
    doc.m_nLevel = 2;
    view.m_nPieces = 57;
    view.m_nBonus = 3;
    view.m_nRows = 14;
    view.m_nDropPoints = 31;
    const auto nSize = static_cast<off_t>(std::filesystem::file_size(dir.LogPath()));
    for (auto _ : state) {
        view.ReportScore();
        state.PauseTiming();
        if (::truncate(dir.LogPath().c_str(), nSize) != 0) {
            state.SkipWithError("cannot cut the log back");
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ReportScore)->Arg(0)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
