#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "oracle/OracleChecks.h"
#include "oracle/ServiceEntryTable.h"
#include "oracle/TnsnamesReader.h"
#include "tests/LoopbackServers.h"
#include "tests/MappedPortProbe.h"

namespace oracle {
namespace {

using namespace std::chrono_literals;
using bde::CheckResult;
using bde::CheckStatus;
using Lines = std::vector<std::string>;
using testing_support::AnsweringServer;

ServiceEntryTable Table(const Lines& tnsnames) {
  ServiceEntryTable table;
  ParseServiceEntries(JoinTnsnamesLines(tnsnames), table);
  return table;
}

// A listener's refusal of a service it does not know.
std::string RefusePacket() {
  const std::string data = "(DESCRIPTION=(TMP=)(VSNNUM=0)(ERR=12514)(ERROR_STACK=(ERROR=(CODE=12514)(EMFI=4))))";
  const std::string body =
      std::string("\x01\x00", 2) + static_cast<char>(data.size() >> 8) + static_cast<char>(data.size() & 0xFF) + data;
  const size_t length = 8 + body.size();
  return std::string{static_cast<char>(length >> 8), static_cast<char>(length & 0xFF), 0, 0, 4, 0, 0, 0} + body;
}

TEST(OracleChecksTest, TheEntryIsLookedUpByTheClientsRules) {
  const ServiceEntryTable table = Table({
      "NOVERA.WORLD = (DESCRIPTION=(ADDRESS=(PROTOCOL=TCP)(HOST=db1)(PORT=1521))(CONNECT_DATA=(SERVICE_NAME=XE)))",
      "KADRY = (DESCRIPTION=(ADDRESS=(PROTOCOL=TCP)(HOST=db2)(PORT=1522))(CONNECT_DATA=(SID=ORCL)))",
  });
  struct Case {
    std::string name;
    Lines sqlnet;
    CheckResult expected;
  };
  const Case cases[] = {
      {"novera.world",
       {},
       {CheckStatus::Ok,
        "Wpis \"novera.world\": znaleziony w pliku \"tnsnames.ora\" jako "
        "\"NOVERA.WORLD\" (komputer \"db1\", port 1521, usługa \"XE\")"}},
      {"Novera",
       {"NAMES.DEFAULT_DOMAIN = world"},
       {CheckStatus::Ok,
        "Wpis \"Novera\": znaleziony w pliku \"tnsnames.ora\" jako \"NOVERA.WORLD\" (komputer "
        "\"db1\", port 1521, usługa \"XE\")"}},
      {"KADRY",
       {},
       {CheckStatus::Ok,
        "Wpis \"KADRY\": znaleziony w pliku \"tnsnames.ora\" jako \"KADRY\" (komputer "
        "\"db2\", port 1522, SID \"ORCL\")"}},
      {"NOVERA", {}, {CheckStatus::Failed, "Wpis \"NOVERA\": brak wpisu \"NOVERA\" w pliku \"tnsnames.ora\""}},
      {"KADRY",
       {"NAMES.DEFAULT_DOMAIN=firma.pl"},
       {CheckStatus::Failed,
        "Wpis \"KADRY\": brak wpisu \"KADRY.firma.pl\" w pliku \"tnsnames.ora\" (sqlnet.ora "
        "dopisuje do nazwy bez kropki domenę \"firma.pl\")"}},
      {"KADRY",
       {"NAMES.DIRECTORY_PATH = (EZCONNECT, LDAP)"},
       {CheckStatus::Failed,
        "Wpis \"KADRY\": sqlnet.ora nie pozwala szukać nazw w tnsnames.ora "
        "(NAMES.DIRECTORY_PATH = (EZCONNECT, LDAP))"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(OracleChecks::CheckEntry({c.name, {}, ""}, table, c.sqlnet), c.expected) << c.name;
  }
  EXPECT_EQ(OracleChecks::CheckEntry({"BRAK", {}, "C:\\oracle\\network\\admin\\tnsnames.ora"}, table, {}).detail,
            "Wpis \"BRAK\": brak wpisu \"BRAK\" w pliku \"C:\\oracle\\network\\admin\\tnsnames.ora\"");
}

class OracleListenerTest : public ::testing::Test {
 protected:
  // The listener check of a loopback entry on the port given, run as a
  // set of one.
  CheckResult Listener(uint16_t port, const std::string& protocol = "TCP") {
    const ServiceEntryTable table =
        Table({"NOVERA = (DESCRIPTION=(ADDRESS=(PROTOCOL=" + protocol +
               ")(HOST=127.0.0.1)(PORT=" + std::to_string(port) + "))(CONNECT_DATA=(SERVICE_NAME=XE)))"});
    OracleChecks checks(std::make_shared<testing_support::MappedPortProbe>(std::map<uint16_t, uint16_t>{}));
    checks.timeouts = {300ms, 1s, 2s};
    const std::vector<bde::Check> made = checks.Make({"NOVERA", {"KP", "", "kp", "FK"}, ""}, table, {});
    EXPECT_EQ(made.size(), 4u);
    const std::vector<CheckResult> results = bde::RunChecks(made, checks.timeouts.budget);
    // The schema users, each once, cannot be logged in.
    EXPECT_EQ(results[2], (CheckResult{CheckStatus::Skipped,
                                       "Użytkownik \"KP\": logowania nie sprawdzono, bo hasło nie jest znane"}));
    EXPECT_EQ(results[3].detail, "Użytkownik \"FK\": logowania nie sprawdzono, bo hasło nie jest znane");
    return results[1];
  }
};

TEST_F(OracleListenerTest, AListenerThatRefusesTheServiceStillProvesTheListener) {
  const AnsweringServer listener(false, RefusePacket());
  const std::string port = std::to_string(listener.Port());
  EXPECT_EQ(Listener(listener.Port()),
            (CheckResult{CheckStatus::Ok, "Listener na komputerze \"127.0.0.1\": port " + port +
                                              " odpowiada na pakiet TNS (odmowa połączenia: ORA-12514, adres "
                                              "127.0.0.1)"}));
  // What it was sent is the CONNECT packet for the entry.
  ASSERT_EQ(listener.Requests().size(), 1u);
  const std::string request = listener.Requests()[0];
  EXPECT_EQ(request[4], 1);
  EXPECT_EQ(request.substr(58),
            "(DESCRIPTION=(CONNECT_DATA=(SERVICE_NAME=XE))(ADDRESS=(PROTOCOL=TCP)(HOST=127.0.0.1)"
            "(PORT=" +
                port + ")))");
}

TEST_F(OracleListenerTest, APortWithoutAListenerFails) {
  const testing_support::SilentTcpServer silent;
  const AnsweringServer web(false, "HTTP/1.1 400 Bad Request\r\n\r\n");
  const uint16_t closed = testing_support::ClosedPort(false);
  const std::string host = "Listener na komputerze \"127.0.0.1\": port ";
  EXPECT_EQ(Listener(silent.Port()),
            (CheckResult{CheckStatus::Failed, host + std::to_string(silent.Port()) +
                                                  " przyjął połączenie, ale nie odpowiedział w ciągu 0,3 s"}));
  EXPECT_EQ(Listener(closed),
            (CheckResult{CheckStatus::Failed,
                         host + std::to_string(closed) + " odrzuca połączenie (nic na nim nie nasłuchuje)"}));
  EXPECT_EQ(Listener(web.Port()), (CheckResult{CheckStatus::Failed, host + std::to_string(web.Port()) +
                                                                        " odpowiada, ale nie jak listener Oracle"}));
}

TEST_F(OracleListenerTest, AListenerThatCannotBeReachedOverTcpIsSkipped) {
  EXPECT_EQ(Listener(1521, "IPC"),
            (CheckResult{CheckStatus::Skipped,
                         "Listener wpisu \"NOVERA\": protokół \"IPC\"; sprawdzane są tylko połączenia TCP"}));
  OracleChecks checks(platform::CreateSystemNetworkProbe());
  EXPECT_EQ(checks.ListenerCheck("BRAK", nullptr).Result(),
            (CheckResult{CheckStatus::Skipped, "Listener wpisu \"BRAK\": nie sprawdzono, bo wpisu nie znaleziono"}));
  const ServiceEntry badPort{"NOVERA", "TCP", "db1", "15x21", "XE", false};
  EXPECT_EQ(
      checks.ListenerCheck("NOVERA", &badPort).Result(),
      (CheckResult{CheckStatus::Failed, "Listener wpisu \"NOVERA\": port \"15x21\" nie jest liczbą od 1 do 65535"}));
}

}  // namespace
}  // namespace oracle
