#include "app/servers/Kinds.h"

#include "app/servers/Mssql.h"
#include "app/servers/Oracle.h"

namespace app::servers {
namespace {

const Mssql kMssql;
const Oracle kOracle;

// In the order of ServerKind.
constexpr const Kind* kKinds[] = {&kMssql, &kOracle};
static_assert(std::size(kKinds) == std::size(kServerKindItems), "every server kind has its \"Serwer\" item");

}  // namespace

const Kind& KindOf(ServerKind kind) { return *kKinds[static_cast<size_t>(kind)]; }

std::span<const Kind* const> AllKinds() { return kKinds; }

}  // namespace app::servers
