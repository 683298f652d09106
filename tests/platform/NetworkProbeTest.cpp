#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <future>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/NetworkProbe.h"
#include "platform/ParallelTasks.h"
#include "tests/LoopbackServers.h"

namespace platform {
namespace {

using namespace std::chrono_literals;
using testing_support::AnsweringServer;

// Short enough to keep the silent cases quick; the answering ones never
// wait for it.
constexpr NetworkProbe::Timeout kTimeout = 300ms;

std::shared_ptr<NetworkProbe> Probe() { return CreateSystemNetworkProbe(); }

TEST(NetworkProbeTest, AnsweringServersAnswerOverTcpAndUdp) {
  const AnsweringServer tcp(false, "pong");
  const AnsweringServer udp(true, "dgram");
  ASSERT_NE(tcp.Port(), 0);
  ASSERT_NE(udp.Port(), 0);

  const ProbeResult connected = Probe()->Connect("127.0.0.1", tcp.Port(), kTimeout);
  EXPECT_EQ(connected.status, ProbeStatus::Ok) << connected.reason;
  EXPECT_EQ(connected.address, "127.0.0.1");

  const ProbeResult exchanged = Probe()->Exchange("127.0.0.1", tcp.Port(), "ping", 4, 5s);
  EXPECT_EQ(exchanged.status, ProbeStatus::Ok) << exchanged.reason;
  EXPECT_EQ(exchanged.answer, "pong");
  EXPECT_EQ(exchanged.reason, "");

  const ProbeResult datagram = Probe()->ExchangeDatagram("127.0.0.1", udp.Port(), std::string("\x04X\0", 3), 5s);
  EXPECT_EQ(datagram.status, ProbeStatus::Ok) << datagram.reason;
  EXPECT_EQ(datagram.answer, "dgram");
  ASSERT_EQ(udp.Requests().size(), 1u);
  EXPECT_EQ(udp.Requests()[0], std::string("\x04X\0", 3));
}

// The failures of each kind of probe, as the system on the far side causes
// them, and the Polish reason that names the port and the time allowed.
TEST(NetworkProbeTest, EveryFailureIsAResultWithItsReason) {
  const testing_support::SilentTcpServer silentTcp;
  const testing_support::SilentUdpServer silentUdp;
  const AnsweringServer mute(false, "");
  const uint16_t closed = testing_support::ClosedPort(false);
  ASSERT_NE(silentTcp.Port(), 0);
  const std::string silentTcpPort = std::to_string(silentTcp.Port());
  const std::string silentUdpPort = std::to_string(silentUdp.Port());
  const std::string closedPort = std::to_string(closed);

  struct Case {
    const char* what;
    std::function<ProbeResult()> probe;
    ProbeStatus status;
    std::string reason;
  };
  const Case cases[] = {
      {"connect, closed port", [&] { return Probe()->Connect("127.0.0.1", closed, kTimeout); }, ProbeStatus::Refused,
       "port " + closedPort + " odrzuca połączenie (nic na nim nie nasłuchuje)"},
      {"exchange, closed port", [&] { return Probe()->Exchange("127.0.0.1", closed, "x", 1, kTimeout); },
       ProbeStatus::Refused, "port " + closedPort + " odrzuca połączenie (nic na nim nie nasłuchuje)"},
      {"exchange, silent", [&] { return Probe()->Exchange("127.0.0.1", silentTcp.Port(), "x", 1, kTimeout); },
       ProbeStatus::NoAnswer, "port " + silentTcpPort + " przyjął połączenie, ale nie odpowiedział w ciągu 0,3 s"},
      {"exchange, closed without a word", [&] { return Probe()->Exchange("127.0.0.1", mute.Port(), "x", 1, 5s); },
       ProbeStatus::Closed, "port " + std::to_string(mute.Port()) + " zamknął połączenie bez odpowiedzi"},
      {"datagram, silent", [&] { return Probe()->ExchangeDatagram("127.0.0.1", silentUdp.Port(), "x", kTimeout); },
       ProbeStatus::TimedOut, "port UDP " + silentUdpPort + " nie odpowiedział w ciągu 0,3 s"},
  };
  for (const Case& c : cases) {
    const ProbeResult result = c.probe();
    EXPECT_EQ(result.status, c.status) << c.what << ": " << result.reason;
    EXPECT_EQ(result.reason, c.reason) << c.what;
    EXPECT_EQ(result.address, "127.0.0.1") << c.what;
    EXPECT_EQ(result.answer, "") << c.what;
  }
}

// Linux and Windows answer a datagram to a closed port with a
// port-unreachable message, which the probe reports; Wine 8 passes it on
// to nobody, so there the port looks silent.
TEST(NetworkProbeTest, ADatagramToAClosedPortIsRefusedWhereTheSystemSaysSo) {
  const uint16_t closed = testing_support::ClosedPort(true);
  const ProbeResult result = Probe()->ExchangeDatagram("127.0.0.1", closed, "x", kTimeout);
#ifdef _WIN32
  EXPECT_TRUE(result.status == ProbeStatus::Refused || result.status == ProbeStatus::TimedOut) << result.reason;
#else
  EXPECT_EQ(result.status, ProbeStatus::Refused) << result.reason;
  EXPECT_EQ(result.reason, "port UDP " + std::to_string(closed) + " jest zamknięty (nic na nim nie nasłuchuje)");
#endif
}

TEST(NetworkProbeTest, TheLoopbackNameResolvesWithoutTheNetwork) {
  const ProbeResult numeric = Probe()->Resolve("127.0.0.1", kTimeout);
  EXPECT_EQ(numeric.status, ProbeStatus::Ok) << numeric.reason;
  EXPECT_EQ(numeric.address, "127.0.0.1");
  const ProbeResult ipv6 = Probe()->Resolve("::1", kTimeout);
  EXPECT_EQ(ipv6.status, ProbeStatus::Ok) << ipv6.reason;
  EXPECT_EQ(ipv6.address, "::1");
}

// A name is looked up first; where "localhost" also gives ::1, on which
// the server does not listen, the refusal there moves on to 127.0.0.1.
TEST(NetworkProbeTest, ANameIsLookedUpAndItsAddressesTried) {
  const AnsweringServer tcp(false, "pong");
  const ProbeResult result = Probe()->Exchange("localhost", tcp.Port(), "ping", 4, 5s);
  EXPECT_EQ(result.status, ProbeStatus::Ok) << result.reason;
  EXPECT_EQ(result.address, "127.0.0.1");
}

TEST(NetworkProbeTest, SecondsAreWrittenInTenthsWithADecimalComma) {
  const std::pair<std::chrono::milliseconds, const char*> cases[] = {
      {3000ms, "3 s"},  {5000ms, "5 s"}, {500ms, "0,5 s"}, {2960ms, "3 s"},
      {250ms, "0,3 s"}, {0ms, "0 s"},    {-5ms, "0 s"},
  };
  for (const auto& [time, text] : cases) EXPECT_EQ(DescribeSeconds(time), text) << time.count();
}

TEST(ParallelTasksTest, ResultsComeInTaskOrderAndALateTaskHasNone) {
  std::promise<void> release;
  std::vector<std::function<int()>> tasks = {
      [] { return 1; },
      // Blocks until the test lets it go, after the deadline; it owns its
      // share of the promise's state, as a late task must.
      [gate = release.get_future().share()] {
        gate.wait();
        return 2;
      },
      [] { return 3; },
      []() -> int { throw std::runtime_error("task failed"); },
  };
  const std::vector<std::optional<int>> results =
      RunInParallel(std::move(tasks), std::chrono::steady_clock::now() + 200ms);
  ASSERT_EQ(results.size(), 4u);
  EXPECT_EQ(results[0], 1);
  EXPECT_EQ(results[1], std::nullopt);
  EXPECT_EQ(results[2], 3);
  EXPECT_EQ(results[3], std::nullopt);
  release.set_value();
}

}  // namespace
}  // namespace platform
