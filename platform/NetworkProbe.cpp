#include "platform/NetworkProbe.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "platform/ParallelTasks.h"
#include "platform/Sockets.h"
#include "platform/Text.h"

namespace platform {
namespace {

using sockets::Address;
using sockets::Fault;
using sockets::Outcome;
using sockets::Socket;
using Clock = std::chrono::steady_clock;

// %s: the host name, then the time or the system's reason.
constexpr std::string_view kNameNotFoundReason = "nie można ustalić adresu komputera \"%s\": nazwa jest nieznana";
constexpr std::string_view kNameTimedOutReason =
    "adres komputera \"%s\" nie został ustalony w ciągu %s (serwer nazw nie odpowiada)";
constexpr std::string_view kNameFailedReason = "nie można ustalić adresu komputera \"%s\": %s";
constexpr std::string_view kUnreachableReason = "komputer \"%s\" jest nieosiągalny: %s";
// %s: the port, then the time or the system's reason.
constexpr std::string_view kRefusedReason = "port %s odrzuca połączenie (nic na nim nie nasłuchuje)";
constexpr std::string_view kTimedOutReason = "port %s nie odpowiada w ciągu %s";
constexpr std::string_view kNoAnswerReason = "port %s przyjął połączenie, ale nie odpowiedział w ciągu %s";
constexpr std::string_view kClosedReason = "port %s zamknął połączenie bez odpowiedzi";
constexpr std::string_view kDatagramRefusedReason = "port UDP %s jest zamknięty (nic na nim nie nasłuchuje)";
constexpr std::string_view kDatagramTimedOutReason = "port UDP %s nie odpowiedział w ciągu %s";
constexpr std::string_view kFailedReason = "błąd sieci przy porcie %s: %s";
// %s: the system's reason.
constexpr std::string_view kNoNetworkReason = "nie można uruchomić obsługi sieci: %s";

// The most read at once; a SQL Server Browser answers with 1 KiB at most.
constexpr size_t kReadLimit = 64 * 1024;

// One probe: where to, and until when.
struct Target {
  std::string host;
  uint16_t port = 0;
  bool datagram = false;
  std::chrono::milliseconds timeout{};
  sockets::Deadline deadline;

  Target(std::string h, uint16_t p, bool d, std::chrono::milliseconds t)
      : host(std::move(h)), port(p), datagram(d), timeout(t), deadline(Clock::now() + t) {}
  std::string Port() const { return std::to_string(port); }
  std::string Seconds() const { return DescribeSeconds(timeout); }
};

// Where a failure happened: before a connection stood, or after.
enum class Stage { Connecting, Answering };

void Fail(ProbeResult& result, ProbeStatus status, std::string reason) {
  result.status = status;
  result.reason = std::move(reason);
}

void Describe(ProbeResult& result, const Target& target, const Outcome& outcome, Stage stage) {
  const std::string port = target.Port();
  if (outcome.fault == Fault::Unreachable) {
    return Fail(result, ProbeStatus::Unreachable,
                Format(kUnreachableReason, {target.host, sockets::SystemText(outcome.code)}));
  }
  if (outcome.fault == Fault::Other) {
    return Fail(result, ProbeStatus::Failed, Format(kFailedReason, {port, sockets::SystemText(outcome.code)}));
  }
  const bool cut = outcome.fault == Fault::Refused || outcome.fault == Fault::Reset;
  if (target.datagram) {
    // Windows reports a port-unreachable answer to a datagram as a reset.
    if (cut) return Fail(result, ProbeStatus::Refused, Format(kDatagramRefusedReason, {port}));
    return Fail(result, ProbeStatus::TimedOut, Format(kDatagramTimedOutReason, {port, target.Seconds()}));
  }
  if (stage == Stage::Connecting) {
    if (cut) return Fail(result, ProbeStatus::Refused, Format(kRefusedReason, {port}));
    return Fail(result, ProbeStatus::TimedOut, Format(kTimedOutReason, {port, target.Seconds()}));
  }
  if (cut) return Fail(result, ProbeStatus::Closed, Format(kClosedReason, {port}));
  Fail(result, ProbeStatus::NoAnswer, Format(kNoAnswerReason, {port, target.Seconds()}));
}

// The name's addresses, looked up on a thread of its own (with its own
// hold on the socket library): a silent name server would otherwise keep
// the caller far beyond its deadline.
ProbeResult Resolve(const Target& target, std::vector<Address>& addresses) {
  const std::optional<sockets::Lookup> lookup = RunUntil<sockets::Lookup>(
      [host = target.host, port = target.port, datagram = target.datagram] {
        const sockets::Library library;
        return sockets::LookUp(host, port, datagram);
      },
      target.deadline);
  ProbeResult result;
  if (!lookup) {
    Fail(result, ProbeStatus::NameTimedOut, Format(kNameTimedOutReason, {target.host, target.Seconds()}));
  } else if (lookup->status == sockets::LookupStatus::NotFound) {
    Fail(result, ProbeStatus::NameNotFound, Format(kNameNotFoundReason, {target.host}));
  } else if (lookup->status == sockets::LookupStatus::Failed) {
    Fail(result, ProbeStatus::NameFailed, Format(kNameFailedReason, {target.host, sockets::LookupText(lookup->code)}));
  } else {
    addresses = lookup->addresses;
    result.status = ProbeStatus::Ok;
    result.address = sockets::NumericText(addresses.front());
  }
  return result;
}

// A socket of the address's family connected to it (for a datagram
// socket, bound to it as its only peer).
Outcome OpenConnected(const Address& address, const Target& target, Socket& connected) {
  Outcome outcome;
  Socket socket = Socket::Open(address, target.datagram, outcome);
  if (socket) outcome = socket.Connect(address, target.deadline);
  if (outcome.Ok()) connected = std::move(socket);
  return outcome;
}

// Makes the attempt on each address of the name in turn, while time is
// left, until one succeeds. A refusal moves on to the next address; a
// timeout has used up the time.
template <typename Attempt>
ProbeResult TryAddresses(const Target& target, Attempt attempt) {
  std::vector<Address> addresses;
  ProbeResult result = Resolve(target, addresses);
  if (!result.Ok()) return result;
  for (const Address& address : addresses) {
    result.address = sockets::NumericText(address);
    const Outcome outcome = attempt(address, result);
    if (outcome.Ok()) {
      result.status = ProbeStatus::Ok;
      result.reason.clear();
      return result;
    }
    Describe(result, target, outcome, Stage::Connecting);
    if (outcome.fault == Fault::TimedOut || Clock::now() >= target.deadline) break;
  }
  return result;
}

ProbeResult ConnectTo(const Target& target, Socket& connected) {
  return TryAddresses(target,
                      [&](const Address& address, ProbeResult&) { return OpenConnected(address, target, connected); });
}

// Every probe holds the socket library while it runs.
template <typename Probe>
ProbeResult WithLibrary(Probe probe) {
  const sockets::Library library;
  if (library.StartError() != 0) {
    ProbeResult result;
    Fail(result, ProbeStatus::Failed, Format(kNoNetworkReason, {sockets::SystemText(library.StartError())}));
    return result;
  }
  return probe();
}

class SystemNetworkProbe final : public NetworkProbe {
 public:
  ProbeResult Resolve(const std::string& host, Timeout timeout) override {
    return WithLibrary([&] {
      std::vector<Address> addresses;
      return platform::Resolve(Target(host, 0, false, timeout), addresses);
    });
  }

  ProbeResult Connect(const std::string& host, uint16_t port, Timeout timeout) override {
    return WithLibrary([&] {
      Socket socket;
      return ConnectTo(Target(host, port, false, timeout), socket);
    });
  }

  ProbeResult Exchange(const std::string& host, uint16_t port, std::string_view request, size_t answerSize,
                       Timeout timeout) override {
    return WithLibrary([&] {
      const Target target(host, port, false, timeout);
      Socket socket;
      ProbeResult result = ConnectTo(target, socket);
      if (!result.Ok()) return result;
      Outcome outcome = socket.Send(request, target.deadline);
      while (outcome.Ok() && result.answer.size() < std::max<size_t>(answerSize, 1)) {
        const size_t before = result.answer.size();
        outcome = socket.Receive(result.answer, kReadLimit, target.deadline);
        if (outcome.Ok() && result.answer.size() == before) break;
      }
      if (!result.answer.empty()) return result;
      if (outcome.Ok()) {
        Fail(result, ProbeStatus::Closed, Format(kClosedReason, {target.Port()}));
      } else {
        Describe(result, target, outcome, Stage::Answering);
      }
      return result;
    });
  }

  ProbeResult ExchangeDatagram(const std::string& host, uint16_t port, std::string_view request,
                               Timeout timeout) override {
    return WithLibrary([&] {
      const Target target(host, port, true, timeout);
      return TryAddresses(target, [&](const Address& address, ProbeResult& result) {
        Socket socket;
        Outcome outcome = OpenConnected(address, target, socket);
        if (outcome.Ok()) outcome = socket.Send(request, target.deadline);
        if (outcome.Ok()) outcome = socket.Receive(result.answer, kReadLimit, target.deadline);
        return outcome;
      });
    });
  }
};

}  // namespace

std::shared_ptr<NetworkProbe> CreateSystemNetworkProbe() { return std::make_shared<SystemNetworkProbe>(); }

std::optional<uint16_t> ReadPortNumber(std::string_view text) {
  if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string_view::npos) {
    return std::nullopt;
  }
  const unsigned long port = std::stoul(std::string(text));
  if (port == 0 || port > 65535) return std::nullopt;
  return static_cast<uint16_t>(port);
}

std::string DescribeSeconds(std::chrono::milliseconds time) {
  const long long tenths = (std::max<long long>(time.count(), 0) + 50) / 100;
  std::string text = std::to_string(tenths / 10);
  if (tenths % 10 != 0) text.append(",").append(1, static_cast<char>('0' + tenths % 10));
  return text.append(" s");
}

}  // namespace platform
