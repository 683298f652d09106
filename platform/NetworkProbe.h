#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// How a probe ended. Every failure is a result, never an exception.
enum class ProbeStatus {
  Ok,
  NameNotFound,  // the name has no address
  NameTimedOut,  // the resolver gave no answer in time
  NameFailed,    // the resolver failed otherwise
  Refused,       // nothing listens on the port
  TimedOut,      // no connection (or, for a datagram, no answer) in time
  NoAnswer,      // connected, but nothing came back in time
  Closed,        // connected, and the peer closed without a word
  Unreachable,   // no route to the host
  Failed,        // any other failure of the system
};

struct ProbeResult {
  ProbeStatus status = ProbeStatus::Failed;
  // The bytes that came back (Exchange, ExchangeDatagram).
  std::string answer;
  // The address, as digits, that was reached, or tried last; empty when
  // the name gave none.
  std::string address;
  // Why it failed, in Polish, as the end of a sentence about the server:
  // "port 1433 nie odpowiada w ciągu 3 s". Empty on success.
  std::string reason;

  bool Ok() const { return status == ProbeStatus::Ok; }
};

// Network probes that each end by a deadline, whatever the network does:
// a silent name server, a host that drops packets, a port that accepts and
// never answers. Each call starts the time given anew and covers the whole
// probe, the name lookup included. Every method may be called from many
// threads at once.
class NetworkProbe {
 public:
  using Timeout = std::chrono::milliseconds;

  virtual ~NetworkProbe() = default;

  // Looks the name up; address is the first one found.
  virtual ProbeResult Resolve(const std::string& host, Timeout timeout) = 0;
  // Opens a TCP connection to the port and closes it again. Each address
  // of the name is tried in turn while time is left.
  virtual ProbeResult Connect(const std::string& host, uint16_t port, Timeout timeout) = 0;
  // Connects, sends the request and reads the answer until it holds at
  // least answerSize bytes, the peer closes, or time is up; any bytes that
  // came make it a success.
  virtual ProbeResult Exchange(const std::string& host, uint16_t port, std::string_view request, size_t answerSize,
                               Timeout timeout) = 0;
  // Sends one UDP datagram and waits for one answering datagram from that
  // address and port.
  virtual ProbeResult ExchangeDatagram(const std::string& host, uint16_t port, std::string_view request,
                                       Timeout timeout) = 0;
};

// The system's network: Winsock on Windows, BSD sockets elsewhere. Shared,
// so that a probe still running after its caller has given up keeps it.
std::shared_ptr<NetworkProbe> CreateSystemNetworkProbe();

// A port written as a decimal number from 1 to 65535, without a sign or
// blanks; nothing for any other text.
std::optional<uint16_t> ReadPortNumber(std::string_view text);

// A time as an administrator reads it: "3 s", "0,5 s" (tenths, rounded).
std::string DescribeSeconds(std::chrono::milliseconds time);

}  // namespace platform
