#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "mssql/SqlServerAddress.h"

namespace mssql {
namespace {

TEST(SqlServerAddressTest, EveryFormOfTheServerNameIsRead) {
  struct Case {
    const char* server;
    std::string host;
    std::string instance;
    std::optional<uint16_t> port;
    bool local = false;
    std::string otherProtocol;
  };
  const Case cases[] = {
      {"db1", "db1", "", std::nullopt},
      {" db1 ", "db1", "", std::nullopt},
      {"db1\\SQL2", "db1", "SQL2", std::nullopt},
      {"db1,1500", "db1", "", 1500},
      {"db1 , 1500", "db1", "", 1500},
      {"db1\\SQL2,1500", "db1", "SQL2", 1500},
      {"tcp:db1,1500", "db1", "", 1500},
      {"TCP:db1\\SQL2", "db1", "SQL2", std::nullopt},
      {"10.0.0.5", "10.0.0.5", "", std::nullopt},
      {"fe80::1,1433", "fe80::1", "", 1433},
      {"[fe80::1]\\SQL2", "fe80::1", "SQL2", std::nullopt},
      {"np:db1", "db1", "", std::nullopt, false, "np"},
      {"LPC:.", ".", "", std::nullopt, true, "lpc"},
      {".", ".", "", std::nullopt, true},
      {"(Local)\\SQL2", "(Local)", "SQL2", std::nullopt, true},
      {"serwer-księgowość", "serwer-księgowość", "", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.server);
    const std::optional<ServerAddress> address = ParseServerAddress(c.server);
    ASSERT_TRUE(address.has_value());
    EXPECT_EQ(address->host, c.host);
    EXPECT_EQ(address->instance, c.instance);
    EXPECT_EQ(address->port, c.port);
    EXPECT_EQ(address->local, c.local);
    EXPECT_EQ(address->otherProtocol, c.otherProtocol);
  }
  for (const char* invalid :
       {"", "  ", "db1,", "db1,0", "db1,65536", "db1,14x3", "db1,-1", "\\SQL2", ",1433", "tcp:"}) {
    EXPECT_FALSE(ParseServerAddress(invalid).has_value()) << invalid;
  }
}

TEST(SqlServerAddressTest, TheBrowserIsAskedForOneInstanceAndItsTcpPortRead) {
  EXPECT_EQ(BrowserRequest("SQL2"), std::string("\x04SQL2\0", 6));

  const auto answer = [](const std::string& data) {
    return std::string(1, '\x05') + static_cast<char>(data.size() & 0xFF) + static_cast<char>(data.size() >> 8) + data;
  };
  const std::string full =
      "ServerName;DB1;InstanceName;SQL2;IsClustered;No;Version;10.0.1600.22;tcp;49172;np;\\\\DB1\\pipe\\MSSQL$SQL2\\"
      "sql\\query;;";
  struct Case {
    std::string bytes;
    std::optional<uint16_t> port;
  };
  const Case cases[] = {
      {answer(full), 49172},
      {answer("ServerName;DB1;InstanceName;SQL2;TCP;1500;;"), 1500},
      // Named pipes only: the instance takes no TCP.
      {answer("ServerName;DB1;InstanceName;SQL2;np;\\\\DB1\\pipe\\sql\\query;;"), std::nullopt},
      // A value that is called "tcp" is no key.
      {answer("ServerName;tcp;InstanceName;SQL2;;"), std::nullopt},
      // Only the first instance counts, and only as far as the length says.
      {answer("ServerName;DB1;InstanceName;SQL2;;ServerName;DB1;tcp;1500;;"), std::nullopt},
      {std::string("\x05\x12\x00", 3) + "InstanceName;SQL2;tcp;1500;;", std::nullopt},
      // Cut short: what came is read.
      {answer("InstanceName;SQL2;tcp;1500;;").substr(0, 3 + 19), std::nullopt},
      {answer("InstanceName;SQL2;tcp;1500;;").substr(0, 3 + 26), 1500},
      {answer("tcp;99999;;"), std::nullopt},
  };
  for (const Case& c : cases) {
    const std::optional<BrowserAnswer> read = ReadBrowserAnswer(c.bytes);
    ASSERT_TRUE(read.has_value()) << c.bytes;
    EXPECT_EQ(read->tcpPort, c.port) << c.bytes;
  }
  for (const std::string& other :
       {std::string(), std::string("\x05\x01"), std::string("HTTP/1.1 400"), std::string("\x04SQL2\0", 6)}) {
    EXPECT_FALSE(ReadBrowserAnswer(other).has_value()) << other;
  }
}

}  // namespace
}  // namespace mssql
