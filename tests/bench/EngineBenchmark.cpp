// The engine's configuration at the sizes large sites reach: loading the
// file, listing the aliases, changing one, and saving.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "bde/ConfigFile.h"
#include "bde/Engine.h"
#include "bde/Templates.h"
#include "tests/platform/MemoryRegistry.h"

namespace {

namespace fs = std::filesystem;

// A configuration file of `count` SQL Server aliases, written once per size.
std::string ConfigWithAliases(int count) {
  const fs::path path = fs::temp_directory_path() / ("konfignovera-bench-" + std::to_string(count) + ".cfg");
  bde::AliasStore aliases;
  for (int i = 0; i < count; ++i) {
    bde::ParameterList params = bde::Database1Parameters();
    params.Set("DATABASE NAME", "BAZA" + std::to_string(i));
    params.Set("ODBC DSN", "MSSQL Novera LM");
    aliases.push_back({"Alias " + std::to_string(i), "SQL Native Client", params});
  }
  bde::WriteConfigFile(path.string(), aliases);
  return path.string();
}

std::string Middle(int count) { return "Alias " + std::to_string(count / 2); }

void BM_EngineLoad(benchmark::State& state) {
  const std::string path = ConfigWithAliases(static_cast<int>(state.range(0)));
  platform::MemoryRegistry registry;
  for (auto _ : state) {
    bde::Engine engine(registry, path);
    benchmark::DoNotOptimize(engine.ListAliases());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fs::file_size(path)));
}

void BM_EngineListAliases(benchmark::State& state) {
  const std::string path = ConfigWithAliases(static_cast<int>(state.range(0)));
  platform::MemoryRegistry registry;
  bde::Engine engine(registry, path);
  engine.ListAliases();
  for (auto _ : state) benchmark::DoNotOptimize(engine.ListAliases());
}

void BM_EngineUpdateAlias(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const std::string path = ConfigWithAliases(count);
  platform::MemoryRegistry registry;
  bde::Engine engine(registry, path);
  bde::ParameterList params;
  params.Set("DATABASE NAME", "NOWA");
  for (auto _ : state) engine.UpdateAlias(Middle(count), params);
}

// One modified alias saved: the file is read again, merged and replaced.
void BM_EngineSaveConfiguration(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const std::string path = ConfigWithAliases(count);
  platform::MemoryRegistry registry;
  bde::Engine engine(registry, path);
  engine.SetConfigurationMode(bde::ConfigurationMode::Persistent);
  bde::ParameterList params;
  params.Set("DATABASE NAME", "NOWA");
  for (auto _ : state) {
    engine.UpdateAlias(Middle(count), params);
    engine.SaveConfiguration();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fs::file_size(path)));
}

BENCHMARK(BM_EngineLoad)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EngineListAliases)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EngineUpdateAlias)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EngineSaveConfiguration)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
