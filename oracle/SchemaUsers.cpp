#include "oracle/SchemaUsers.h"

#include <exception>

#include "bde/Connection.h"

namespace oracle {

std::vector<std::string> SchemaUserQueryLines() {
  return {"select USERNAME from DBA_USERS", "/* where DEFAULT_TABLESPACE= 'USERS'*/"};
}

void PrepareSchemaUserQuery(bde::Database& databaseOracle, const std::string& serviceName) {
  bde::ParameterList& params = databaseOracle.Params();
  params.Set("SERVER NAME", serviceName);
  params.Set("USER NAME", kSchemaUserAccount);
  params.Set("password", kSchemaUserPassword);
}

void FetchSchemaUsers(bde::Query& query, const std::function<void(const std::vector<std::string>&)>& show) {
  try {
    query.Open();
  } catch (const std::exception&) {
    return;
  }
  std::vector<std::string> users;
  try {
    for (; !query.Eof(); query.Next()) users.push_back(query.FieldByName("USERNAME"));
  } catch (...) {
    query.Close();
    show(users);
    throw;
  }
  query.Close();
  show(users);
}

}  // namespace oracle
