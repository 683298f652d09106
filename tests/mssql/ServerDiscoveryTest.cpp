#include "mssql/ServerDiscovery.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/DynamicLibrary.h"
#include "platform/ServerNetwork.h"

namespace mssql {
namespace {

using Lines = std::vector<std::string>;

TEST(ServerDiscoveryTest, BrowseAnswerNamesTheServers) {
  struct Case {
    const char* answer;
    Lines servers;
  };
  const Case cases[] = {
      {"SERVER:Server={ALFA,BETA\\SQLEXPRESS};UID:Login ID=?", {"ALFA", "BETA\\SQLEXPRESS"}},
      {"SERVER:Server={ALFA}", {"ALFA"}},
      {"server:SERVER={alfa};UID:Login ID=?", {"alfa"}},
      // A blank ends the item: the rest of the server list is lost.
      {"SERVER:Server={MY SRV,BETA};UID:Login ID=?", {"MY"}},
      {"UID:Login ID=?;PWD:Password=?", {}},
      {"SERVER:Server=;UID:Login ID=?", {}},
      {"SERVER:Server={A,,B}", {"A", "", "B"}},
      {"SERVER:Server={A,B},{C}", {"A", "B", "{C}"}},  // only the first of each brace goes
      {"*SERVER:Server={ALFA};SERVER:Server={BETA}", {"BETA"}},
      {"SERVER:Server={ŁÓDŹ,\"X,Y\"}", {"ŁÓDŹ", "X,Y"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ServersFromBrowseAnswer(c.answer), c.servers) << c.answer;
  }
}

TEST(ServerDiscoveryTest, OnlySqlServerServicesGiveInstances) {
  struct Case {
    const char* service;
    std::optional<std::string> entry;
  };
  const Case cases[] = {
      {"MSSQLSERVER", "ALFA"},
      {"mssqlserver", "ALFA"},
      {"MSSQL$SQLEXPRESS", "ALFA\\SQLEXPRESS"},
      {"mssql$Kadry", "ALFA\\Kadry"},
      {"MSSQL$", "ALFA"},
      {"MSSQL$A$B", "ALFA\\A$B"},
      {"MSSQLSERVERADHELPER", std::nullopt},
      {"MSSQLServerOLAPService", std::nullopt},
      {"SQLAgent$SQLEXPRESS", std::nullopt},
      {"MSSQL", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(InstanceEntry("ALFA", c.service), c.entry) << c.service;
}

class FakeNetwork : public platform::ServerNetwork {
 public:
  std::optional<Lines> SqlServerMachines() override { return machines; }
  std::optional<Lines> Services(const std::string& machine) override {
    asked.push_back(machine);
    const auto found = services.find(machine);
    if (found == services.end()) return std::nullopt;
    return found->second;
  }

  std::optional<Lines> machines;
  std::map<std::string, Lines> services;
  Lines asked;
};

TEST(ServerDiscoveryTest, NetworkMethodListsTheInstancesOfEveryMachineInTurn) {
  FakeNetwork network;
  ServerDiscovery discovery("konfignovera-no-such-odbc-library", network);
  Lines list = {"typed earlier"};
  discovery.FillServerList(false, list);
  EXPECT_EQ(list, Lines{"typed earlier"});  // the network could not be asked

  network.machines = Lines{"ALFA", "BETA", "GAMMA"};
  network.services = {{"ALFA", {"MSSQLSERVER", "MSSQL$SQLEXPRESS", "SQLAgent$SQLEXPRESS", "Spooler"}},
                      {"GAMMA", {"mssql$Kadry", "MSSQL$"}}};  // BETA refuses
  discovery.FillServerList(false, list);
  EXPECT_EQ(list, (Lines{"ALFA", "ALFA\\SQLEXPRESS", "GAMMA\\Kadry", "GAMMA"}));
  EXPECT_EQ(network.asked, (Lines{"ALFA", "BETA", "GAMMA"}));

  network.machines = Lines{};
  discovery.ListServersByNetwork(list);
  EXPECT_TRUE(list.empty());
}

// The browse method against a stand-in driver manager that answers as told.
class BrowseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    library = platform::DynamicLibrary::Load(KONFIGNOVERA_FAKE_ODBC);
    ASSERT_TRUE(library.has_value());
  }

  Lines Browse(int16_t alloc, int16_t setEnv, int16_t result, const std::u16string& answer) {
    library->Function<void(int16_t, int16_t, int16_t, const char16_t*)>("FakeOdbcSetUp")(alloc, setEnv, result,
                                                                                         answer.c_str());
    Lines list = {"ALFA"};
    ServerDiscovery(KONFIGNOVERA_FAKE_ODBC, network).FillServerList(true, list);
    EXPECT_EQ(library->Function<int()>("FakeOdbcLiveHandles")(), 0);
    return list;
  }

  std::optional<platform::DynamicLibrary> library;
  FakeNetwork network;
};

TEST_F(BrowseTest, OnlyExactAnswersOfTheDriverManagerCount) {
  struct Case {
    int16_t alloc, setEnv, result;
    Lines list;
    int disconnects;  // a connection browsing or made is ended before it is freed
  };
  const Case cases[] = {
      {0, 0, 99, {"BETA", "GAMMA\\SQL"}, 1},
      {1, 0, 99, {"ALFA"}, 0},  // "success with info" is not success here
      {0, 1, 99, {"ALFA"}, 0},
      {0, 0, 0, {"ALFA"}, 1},
      {0, 0, 1, {"ALFA"}, 1},
      {0, 0, -1, {"ALFA"}, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Browse(c.alloc, c.setEnv, c.result, u"SERVER:Server={BETA,GAMMA\\SQL};UID:Login ID=?"), c.list)
        << c.alloc << " " << c.setEnv << " " << c.result;
    EXPECT_EQ(library->Function<int()>("FakeOdbcDisconnects")(), c.disconnects) << c.result;
  }
  EXPECT_EQ(Browse(0, 0, 99, u"UID:Login ID=?"), Lines{});

  int16_t length = 0, size = 0;
  const std::u16string request(library->Function<const char16_t*(int16_t*, int16_t*)>("FakeOdbcRequest")(&length, &size));
  EXPECT_EQ(request, u"DRIVER=SQL Native Client");
  EXPECT_EQ(length, 24);
  EXPECT_EQ(size, 1024);
}

TEST_F(BrowseTest, AnswerIsReadUpTo1023Characters) {
  const std::u16string head = u"SERVER:Server={" + std::u16string(1000, u'A') + u",";
  const Lines list = Browse(0, 0, 99, head + u"BETA12345678901234567890,GAMMA}");
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1], "BETA123");
  EXPECT_EQ(Browse(0, 0, 99, u"SERVER:Server={ALFA}").size(), 1u);
}

TEST_F(BrowseTest, MissingLibraryLeavesTheList) {
  Lines list = {"ALFA"};
  ServerDiscovery("konfignovera-no-such-odbc-library", network).ListServersByBrowse(list);
  EXPECT_EQ(list, Lines{"ALFA"});
}

// The driver manager keeps state of its own for the life of the process,
// so a browse must leave it loaded. Unloaded, the stand-in would come back
// fresh, with no request recorded.
TEST(BrowseLibraryTest, DriverManagerStaysLoadedAfterABrowse) {
  FakeNetwork network;
  Lines list;
  ServerDiscovery(KONFIGNOVERA_FAKE_ODBC, network).ListServersByBrowse(list);
  std::optional<platform::DynamicLibrary> library = platform::DynamicLibrary::Load(KONFIGNOVERA_FAKE_ODBC);
  ASSERT_TRUE(library.has_value());
  int16_t length = 0, size = 0;
  EXPECT_EQ(std::u16string(library->Function<const char16_t*(int16_t*, int16_t*)>("FakeOdbcRequest")(&length, &size)),
            u"DRIVER=SQL Native Client");
}

}  // namespace
}  // namespace mssql
