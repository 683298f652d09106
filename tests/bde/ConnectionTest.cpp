#include "bde/Connection.h"

#include <gtest/gtest.h>

#include "tests/ErrorOf.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bde/ParameterList.h"
#include "bde/Session.h"
#include "platform/Error.h"
#include "platform/Text.h"

namespace bde {
namespace {

using Lines = std::vector<std::string>;
using testing_support::ErrorOf;

std::string Message(std::string_view pattern, const Lines& args) { return platform::Format(pattern, args); }

// A server that hands out the rows it was given and counts open connections.
struct FakeServer {
  std::vector<std::map<std::string, std::string>> rows;
  std::string failAt;  // "connect", "execute" or "fetch"
  Lines connectParams;
  std::string sql;
  int openConnections = 0;
};

class FakeCursor : public Cursor {
 public:
  explicit FakeCursor(FakeServer& server) : server_(server) {}
  bool Fetch() override {
    if (server_.failAt == "fetch") throw platform::Error("Błąd odczytu wiersza");
    return ++row_ < server_.rows.size();
  }
  std::string Field(std::string_view name) const override {
    for (const auto& [field, value] : server_.rows.at(row_)) {
      if (platform::EqualsNoCase(field, name)) return value;
    }
    throw platform::Error("Brak pola " + std::string(name));
  }

 private:
  FakeServer& server_;
  size_t row_ = static_cast<size_t>(-1);
};

class FakeConnection : public Connection {
 public:
  explicit FakeConnection(FakeServer& server) : server_(server) { ++server_.openConnections; }
  ~FakeConnection() override { --server_.openConnections; }
  std::unique_ptr<Cursor> Execute(const std::string& sql) override {
    if (server_.failAt == "execute") throw platform::Error("Błąd składni SQL");
    server_.sql = sql;
    return std::make_unique<FakeCursor>(server_);
  }

 private:
  FakeServer& server_;
};

class FakeDriver : public ConnectionDriver {
 public:
  explicit FakeDriver(FakeServer& server) : server_(server) {}
  std::unique_ptr<Connection> Connect(const ParameterList& params) override {
    if (server_.failAt == "connect") throw platform::Error("Serwer nie odpowiada");
    server_.connectParams = params.Lines();
    return std::make_unique<FakeConnection>(server_);
  }

 private:
  FakeServer& server_;
};

class QueryTest : public ::testing::Test {
 protected:
  QueryTest() {
    session_.RegisterDriver("sql native client", std::make_unique<FakeDriver>(server_));
    session_.RegisterDatabase(database_);
  }

  FakeServer server_;
  Session session_;
  Database database_{"_TmpDatabase", "SQL Native Client",
                     ParameterList(Lines{"DATABASE NAME=master", "PASSWORD=sa"})};
};

TEST_F(QueryTest, ReadsRowsByFieldNameUntilEofAndClosesTheConnection) {
  server_.rows = {{{"name", "master"}}, {{"name", "Księgowość"}}, {{"name", "tempdb"}}};
  Query query(session_, "_tmpdatabase", {"select name", "from sysdatabases"});
  query.Open();
  Lines names;
  while (!query.Eof()) {
    names.push_back(query.FieldByName("NAME"));
    query.Next();
  }
  EXPECT_EQ(names, (Lines{"master", "Księgowość", "tempdb"}));
  EXPECT_EQ(server_.sql, "select name\nfrom sysdatabases");
  EXPECT_EQ(server_.connectParams, (Lines{"DATABASE NAME=master", "PASSWORD=sa"}));
  EXPECT_EQ(server_.openConnections, 1);

  query.Close();
  EXPECT_FALSE(query.Active());
  EXPECT_FALSE(database_.Connected());
  EXPECT_EQ(server_.openConnections, 0);
}

TEST_F(QueryTest, EmptyResultIsEofAtOnce) {
  Query query(session_, "_TmpDatabase", {"select name from sysdatabases"});
  query.Open();
  EXPECT_TRUE(query.Active());
  EXPECT_TRUE(query.Eof());
  EXPECT_EQ(query.FieldByName("name"), "");
}

TEST_F(QueryTest, ParametersChangedAfterCloseReachTheNextConnection) {
  Query query(session_, "_TmpDatabase", {"select name from sysdatabases"});
  query.Open();
  query.Close();
  database_.Params().Set("ODBC DSN", "Inny");
  query.Open();
  EXPECT_EQ(server_.connectParams.back(), "ODBC DSN=Inny");
}

TEST_F(QueryTest, DestroyingAnOpenQueryClosesTheConnection) {
  server_.rows = {{{"name", "master"}}};
  {
    Query query(session_, "_TmpDatabase", {"select name from sysdatabases"});
    query.Open();
    EXPECT_EQ(server_.openConnections, 1);
  }
  EXPECT_EQ(server_.openConnections, 0);
  EXPECT_FALSE(database_.Connected());
}

TEST_F(QueryTest, AFailedOpenRaisesAndLeavesEverythingClosed) {
  Database orphan("_Oracle", "ORACLE", ParameterList());
  session_.RegisterDatabase(orphan);
  struct Case {
    const char* what;
    std::string database;
    std::string failAt;
    std::string expected;
  };
  const Case cases[] = {
      {"unknown database", "_Brak", "", Message(kUnknownDatabaseMessage, {"_Brak"})},
      {"no driver for the database", "_Oracle", "",
       Message(kNoConnectionDriverMessage, {"ORACLE"})},
      {"connect fails", "_TmpDatabase", "connect", "Serwer nie odpowiada"},
      {"execute fails", "_TmpDatabase", "execute", "Błąd składni SQL"},
      {"first fetch fails", "_TmpDatabase", "fetch", "Błąd odczytu wiersza"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    server_.rows = {{{"name", "master"}}};
    server_.failAt = c.failAt;
    Query query(session_, c.database, {"select name from sysdatabases"});
    EXPECT_EQ(ErrorOf([&] { query.Open(); }), c.expected);
    EXPECT_FALSE(query.Active());
    EXPECT_TRUE(query.Eof());
    EXPECT_FALSE(database_.Connected());
    EXPECT_FALSE(orphan.Connected());
    EXPECT_EQ(server_.openConnections, 0);
    EXPECT_EQ(ErrorOf([&] { query.FieldByName("name"); }), std::string(kQueryClosedMessage));
  }
}

}  // namespace
}  // namespace bde
