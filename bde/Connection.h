#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "bde/ParameterList.h"

namespace bde {

class Session;

// %s: the driver name.
inline constexpr std::string_view kNoConnectionDriverMessage =
    "Brak sterownika połączeń BDE \"%s\"";
// %s: the database name.
inline constexpr std::string_view kUnknownDatabaseMessage = "Nieznana baza danych BDE \"%s\"";
inline constexpr std::string_view kQueryClosedMessage = "Zapytanie BDE nie jest otwarte";

// The rows of one executed statement.
class Cursor {
 public:
  virtual ~Cursor() = default;
  // Moves to the next row; false when there is none.
  virtual bool Fetch() = 0;
  // The current row's column as text; field names ignore letter case.
  virtual std::string Field(std::string_view name) const = 0;
};

class Connection {
 public:
  virtual ~Connection() = default;
  virtual std::unique_ptr<Cursor> Execute(const std::string& sql) = 0;
};

// Opens connections for one BDE driver ("SQL Native Client", "ORACLE").
class ConnectionDriver {
 public:
  virtual ~ConnectionDriver() = default;
  // Connects without a login dialog; raises platform::Error on failure.
  virtual std::unique_ptr<Connection> Connect(const ParameterList& params) = 0;
};

// A named database connection (TDatabase): driver, parameters, and the
// connection while a query uses it. It keeps no connection after use.
class Database {
 public:
  Database(std::string databaseName, std::string driverName, ParameterList params)
      : databaseName_(std::move(databaseName)),
        driverName_(std::move(driverName)),
        params_(std::move(params)) {}

  const std::string& DatabaseName() const { return databaseName_; }
  const std::string& DriverName() const { return driverName_; }
  ParameterList& Params() { return params_; }
  const ParameterList& Params() const { return params_; }

  bool Connected() const { return connection_ != nullptr; }
  // Connects through the session's driver of DriverName() with Params(), or
  // hands back the connection already open. Raises
  // kNoConnectionDriverMessage, or the driver's error, and stays closed.
  Connection& Open(Session& session);
  void Close() { connection_.reset(); }

 private:
  std::string databaseName_;
  std::string driverName_;
  ParameterList params_;
  std::unique_ptr<Connection> connection_;
};

// A statement run on a database found by name (TQuery). Used as:
//   query.Open(); while (!query.Eof()) { query.FieldByName("name"); query.Next(); }
class Query {
 public:
  Query(Session& session, std::string databaseName, std::vector<std::string> sqlLines);
  // A query left open (say, by an error in the row loop) still releases
  // its connection.
  ~Query() { Close(); }
  Query(const Query&) = delete;
  Query& operator=(const Query&) = delete;

  // Finds the database (kUnknownDatabaseMessage), connects, executes Sql()
  // and fetches the first row. Does nothing when already open. On any
  // failure the query and its database are left closed and the error
  // passes on.
  void Open();
  bool Eof() const { return eof_; }
  // The current row's field; empty at the end. Raises kQueryClosedMessage
  // when the query is not open.
  std::string FieldByName(std::string_view name) const;
  void Next();
  // Closes the rows and, as the database keeps no connection, the connection.
  void Close();
  bool Active() const { return cursor_ != nullptr; }
  // The lines joined with LF, which every server takes as white space.
  std::string Sql() const;

 private:
  Session& session_;
  std::string databaseName_;
  std::vector<std::string> sqlLines_;
  Database* database_ = nullptr;
  std::unique_ptr<Cursor> cursor_;
  bool eof_ = true;
};

}  // namespace bde
