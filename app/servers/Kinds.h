#pragma once

#include <span>
#include <string_view>

// The one list of server kinds. A kind is added here, in Kinds.cpp and in
// a file of its own beside Mssql.cpp and Oracle.cpp.
namespace app {

// In the order of the "Serwer" items, whose captions follow.
enum class ServerKind { MicrosoftSqlServer, Oracle };
inline constexpr std::string_view kServerKindItems[] = {"Microsoft SQL Server", "Oracle Server"};

// The kind of a "Serwer" item. An item outside the list (-1: none marked)
// follows the Oracle path, as every item but the first always has.
constexpr ServerKind ServerKindOfItem(int itemIndex) {
  if (itemIndex >= 0 && itemIndex < static_cast<int>(std::size(kServerKindItems))) {
    return static_cast<ServerKind>(itemIndex);
  }
  return ServerKind::Oracle;
}

namespace servers {

class Kind;

const Kind& KindOf(ServerKind kind);
// In the order of the "Serwer" items.
std::span<const Kind* const> AllKinds();

}  // namespace servers
}  // namespace app
