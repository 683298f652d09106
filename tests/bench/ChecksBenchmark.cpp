// The wall time of one set of connection checks with the shipped time
// limits, against loopback servers that all stay silent, all refuse, or all
// answer: a SQL Server named instance (its Browser on UDP and the
// instance's port), a Windows login to two databases through psqlODBC when
// it is installed, and an Oracle listener. With every server silent the
// set must end within its budget of 5 s.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bde/ConnectionCheck.h"
#include "mssql/SqlServerAddress.h"
#include "mssql/SqlServerChecks.h"
#include "oracle/OracleChecks.h"
#include "oracle/ServiceEntryTable.h"
#include "oracle/TnsnamesReader.h"
#include "tests/LoopbackServers.h"
#include "tests/MappedPortProbe.h"
#include "tests/platform/MemoryRegistry.h"

namespace {

using testing_support::AnsweringServer;

enum class Servers { Silent, Refusing, Answering };

constexpr char kPsqlOdbc[] = "/usr/lib/x86_64-linux-gnu/odbc/psqlodbcw.so";

std::string TnsPacket(char type, const std::string& data) {
  const size_t length = 8 + data.size();
  return std::string{static_cast<char>(length >> 8), static_cast<char>(length & 0xFF), 0, 0, type, 0, 0, 0} + data;
}

std::string BrowserAnswer(uint16_t port) {
  const std::string data = "ServerName;DB1;InstanceName;SQL2;tcp;" + std::to_string(port) + ";;";
  return std::string(1, '\x05') + static_cast<char>(data.size()) + '\0' + data;
}

void RunCheckSet(benchmark::State& state, Servers servers) {
  const testing_support::SilentTcpServer silentTcp;
  const testing_support::SilentUdpServer silentUdp;
  const AnsweringServer instance(false, "");
  const AnsweringServer browser(true, BrowserAnswer(instance.Port()));
  const AnsweringServer listener(false, TnsPacket(4, "(DESCRIPTION=(ERR=12514))"));
  const uint16_t closedTcp = testing_support::ClosedPort(false);
  const uint16_t closedUdp = testing_support::ClosedPort(true);

  const uint16_t browserPort = servers == Servers::Silent     ? silentUdp.Port()
                               : servers == Servers::Refusing ? closedUdp
                                                              : browser.Port();
  const uint16_t tcpPort = servers == Servers::Silent     ? silentTcp.Port()
                           : servers == Servers::Refusing ? closedTcp
                                                          : listener.Port();
  const auto network = std::make_shared<testing_support::MappedPortProbe>(
      std::map<uint16_t, uint16_t>{{mssql::kBrowserPort, browserPort}});

  platform::MemoryRegistry registry;
  const bool logins = std::filesystem::exists(kPsqlOdbc);
  for (const auto& [name, value] : {std::pair<std::string, std::string>{"Driver", kPsqlOdbc},
                                    {"Server", "127.0.0.1:" + std::to_string(tcpPort)},
                                    {"Trusted_Connection", "Yes"}}) {
    registry.SetValue(platform::RegistryRoot::LocalMachine, "\\SOFTWARE\\ODBC\\ODBC.INI\\Kadry", name,
                      {platform::MemoryRegistry::ValueType::String, value, 0});
  }
  oracle::ServiceEntryTable tnsnames;
  oracle::ParseServiceEntries(
      oracle::JoinTnsnamesLines({"NOVERA=(DESCRIPTION=(ADDRESS=(PROTOCOL=TCP)(HOST=127.0.0.1)(PORT=" +
                                 std::to_string(tcpPort) + "))(CONNECT_DATA=(SERVICE_NAME=XE)))"}),
      tnsnames);

  for (auto _ : state) {
    mssql::SqlServerChecks sqlServer(registry, network);
    oracle::OracleChecks oracleChecks(network);
    std::vector<bde::Check> checks =
        sqlServer.Make({"Kadry", "127.0.0.1\\SQL2", true,
                        logins ? std::vector<std::string>{"Kadry", "Liczniki"} : std::vector<std::string>{}});
    for (bde::Check& check : oracleChecks.Make({"NOVERA", {"KP"}, ""}, tnsnames, {}))
      checks.push_back(std::move(check));
    const std::vector<bde::CheckResult> results = bde::RunChecks(checks, bde::CheckTimeouts{}.budget);
    benchmark::DoNotOptimize(results.data());
  }
  state.counters["checks"] = logins ? 6 : 4;
}

void BM_ChecksAllSilent(benchmark::State& state) { RunCheckSet(state, Servers::Silent); }
void BM_ChecksAllRefusing(benchmark::State& state) { RunCheckSet(state, Servers::Refusing); }
void BM_ChecksAllAnswering(benchmark::State& state) { RunCheckSet(state, Servers::Answering); }

// A silent set takes seconds: a few rounds tell enough.
BENCHMARK(BM_ChecksAllSilent)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_ChecksAllRefusing)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ChecksAllAnswering)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
