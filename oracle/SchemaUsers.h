#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace bde {
class Database;
class Query;
}  // namespace bde

// The schema users of the Oracle server, read under a fixed administrative
// account for the user boxes' drop-down lists.
namespace oracle {

inline constexpr std::string_view kSchemaUserAccount = "sysnovera";
inline constexpr std::string_view kSchemaUserPassword = "brevandol";

// The statement; its second line is a comment, so every user is listed.
std::vector<std::string> SchemaUserQueryLines();

// Points the Oracle template at the service with the fixed account. The
// values stay in the template afterwards.
void PrepareSchemaUserQuery(bde::Database& databaseOracle, const std::string& serviceName);

// Every USERNAME, in the order the server returns them, handed to show;
// show is not called when the query cannot be opened (no server, unknown
// service, login refused, no right to read the users), which is not
// reported. An error while reading the rows passes on, with the query
// closed, after the rows read before it were shown.
void FetchSchemaUsers(bde::Query& query, const std::function<void(const std::vector<std::string>&)>& show);

}  // namespace oracle
