// The peak memory of reading the largest tnsnames.ora into the service
// entry table, against the file's size. The peak is the process's, so each
// layout is measured by a run of its own:
//
//   tnsnames_memory writer|common
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <string_view>

#include "oracle/ServiceEntryTable.h"
#include "oracle/TnsnamesReader.h"
#include "tests/bench/TnsnamesFiles.h"

namespace {

long PeakKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
  constexpr int kEntries = 100000;
  const bool common = argc > 1 && std::string_view(argv[1]) == "common";
  {
    const bench::TnsnamesLayout layout = common ? bench::TnsnamesLayout::Common : bench::TnsnamesLayout::Writer;
    const std::string folder = bench::TnsnamesFolder(kEntries, layout);
    const double fileMb = static_cast<double>(std::filesystem::file_size(folder + "tnsnames.ora")) / 1048576.0;
    const long before = PeakKilobytes();
    {
      oracle::ServiceEntryTable table;
      oracle::ParseServiceEntries(oracle::JoinTnsnamesLines(oracle::ReadTnsnamesLines(folder)), table);
    }
    const double peakMb = static_cast<double>(PeakKilobytes() - before) / 1024.0;
    std::printf("%-7s %d entries: file %.1f MB, peak while reading %.1f MB (%.1f x the file)\n",
                common ? "common" : "writer", kEntries, fileMb, peakMb,
                peakMb / fileMb);
  }
  return 0;
}
