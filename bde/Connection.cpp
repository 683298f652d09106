#include "bde/Connection.h"

#include "bde/Session.h"
#include "platform/Error.h"
#include "platform/Text.h"

namespace bde {

Connection& Database::Open(Session& session) {
  if (connection_) return *connection_;
  ConnectionDriver* driver = session.FindDriver(driverName_);
  if (!driver) throw platform::Error(platform::Format(kNoConnectionDriverMessage, {driverName_}));
  connection_ = driver->Connect(params_);
  return *connection_;
}

Query::Query(Session& session, std::string databaseName, std::vector<std::string> sqlLines)
    : session_(session), databaseName_(std::move(databaseName)), sqlLines_(std::move(sqlLines)) {}

std::string Query::Sql() const {
  std::string sql;
  for (size_t i = 0; i < sqlLines_.size(); ++i) {
    if (i > 0) sql += '\n';
    sql += sqlLines_[i];
  }
  return sql;
}

void Query::Open() {
  if (Active()) return;
  Database* database = session_.FindDatabase(databaseName_);
  if (!database) throw platform::Error(platform::Format(kUnknownDatabaseMessage, {databaseName_}));
  database_ = database;
  try {
    cursor_ = database->Open(session_).Execute(Sql());
    eof_ = !cursor_->Fetch();
  } catch (...) {
    Close();
    throw;
  }
}

std::string Query::FieldByName(std::string_view name) const {
  if (!Active()) throw platform::Error(std::string(kQueryClosedMessage));
  return eof_ ? std::string() : cursor_->Field(name);
}

void Query::Next() {
  if (!Active()) throw platform::Error(std::string(kQueryClosedMessage));
  if (!eof_) eof_ = !cursor_->Fetch();
}

void Query::Close() {
  cursor_.reset();
  if (database_) database_->Close();
  database_ = nullptr;
  eof_ = true;
}

}  // namespace bde
