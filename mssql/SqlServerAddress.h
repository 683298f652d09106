#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mssql {

inline constexpr uint16_t kDefaultInstancePort = 1433;
// The SQL Server Browser answers on this UDP port.
inline constexpr uint16_t kBrowserPort = 1434;

// Where the server of a data source's "Server" value is reached.
struct ServerAddress {
  std::string host;
  // Empty for the default instance.
  std::string instance;
  // The port written after a comma; without it, a named instance's port
  // is asked of the SQL Server Browser and the default instance's is 1433.
  std::optional<uint16_t> port;
  // "." and "(local)": this computer, reached through shared memory
  // rather than the network.
  bool local = false;
  // A protocol other than TCP named before a colon ("np:", "lpc:", "via:",
  // "admin:"), lower-cased; empty for TCP.
  std::string otherProtocol;
};

// Reads "host", "host\instance", "host,port" and "host\instance,port", each
// perhaps after "tcp:" (any letter case), and an IPv6 address perhaps in
// brackets. Nothing when no host is named or the port is not a number from
// 1 to 65535.
std::optional<ServerAddress> ParseServerAddress(std::string_view server);

// The SQL Server Browser's request for one instance (CLNT_UCAST_INST): the
// byte 0x04, the instance's name and a zero byte.
std::string BrowserRequest(std::string_view instance);

// The longest instance name the request may carry, in bytes.
inline constexpr size_t kMaxInstanceNameBytes = 32;

// What the Browser's answer (SVR_RESP: the byte 0x05, the length of the
// data in two bytes, low byte first, then "key;value;" pairs) says of TCP.
struct BrowserAnswer {
  // The value after "tcp"; none when the instance does not take TCP.
  std::optional<uint16_t> tcpPort;
};

// Nothing when the bytes are no Browser answer.
std::optional<BrowserAnswer> ReadBrowserAnswer(std::string_view answer);

}  // namespace mssql
