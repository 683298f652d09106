// tnsnames.ora at the sizes of large sites: reading it into the service
// entry table against the floor of reading and splitting the file alone,
// and replacing an entry in the middle.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "bde/StatusReport.h"
#include "oracle/OracleFilesWriter.h"
#include "oracle/ServiceEntryTable.h"
#include "oracle/TnsnamesReader.h"
#include "platform/TextFile.h"
#include "tests/bench/TnsnamesFiles.h"

namespace {

using bench::TnsnamesLayout;

int64_t FileSize(const std::string& folder) {
  return static_cast<int64_t>(std::filesystem::file_size(folder + "tnsnames.ora"));
}

void BM_TnsnamesSplitLines(benchmark::State& state, TnsnamesLayout layout) {
  const std::string folder = bench::TnsnamesFolder(static_cast<int>(state.range(0)), layout);
  for (auto _ : state) benchmark::DoNotOptimize(platform::ReadTextLines(folder + "tnsnames.ora"));
  state.SetBytesProcessed(state.iterations() * FileSize(folder));
}

void BM_TnsnamesRead(benchmark::State& state, TnsnamesLayout layout) {
  const std::string folder = bench::TnsnamesFolder(static_cast<int>(state.range(0)), layout);
  for (auto _ : state) {
    oracle::ServiceEntryTable table;
    oracle::ParseServiceEntries(oracle::JoinTnsnamesLines(oracle::ReadTnsnamesLines(folder)), table);
    if (table.Count() != static_cast<size_t>(state.range(0))) state.SkipWithError("entries lost");
  }
  state.SetBytesProcessed(state.iterations() * FileSize(folder));
}

void BM_TnsnamesReplaceMiddle(benchmark::State& state, TnsnamesLayout layout) {
  const int entries = static_cast<int>(state.range(0));
  const std::string source = bench::TnsnamesFolder(entries, layout);
  const std::filesystem::path target = std::filesystem::temp_directory_path() / "konfignovera-bench-write";
  std::filesystem::create_directories(target);
  const std::string folder = target.string() + "/";
  const std::vector<std::string> lines = platform::ReadTextLines(source + "tnsnames.ora");
  const oracle::ServiceEntry entry{"", "TCP", "nowy.firma.pl", "1522", "NOWA"};
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<std::string> edited = lines;
    std::vector<std::string> report;
    bde::StatusReport status(report);
    state.ResumeTiming();
    oracle::WriteTnsnamesEntry(folder, edited, bench::EntryName(entries / 2), entry, status);
  }
  state.SetBytesProcessed(state.iterations() * FileSize(source));
}

void Sizes(benchmark::internal::Benchmark* benchmark) {
  benchmark->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
}

BENCHMARK_CAPTURE(BM_TnsnamesSplitLines, writer, TnsnamesLayout::Writer)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_TnsnamesRead, writer, TnsnamesLayout::Writer)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_TnsnamesSplitLines, common, TnsnamesLayout::Common)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_TnsnamesRead, common, TnsnamesLayout::Common)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_TnsnamesReplaceMiddle, writer, TnsnamesLayout::Writer)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_TnsnamesReplaceMiddle, common, TnsnamesLayout::Common)->Apply(Sizes);

}  // namespace
