#pragma once

#include <string_view>

namespace oracle {

// The client's two files in the network folder of its home.
inline constexpr std::string_view kSqlnetFileName = "sqlnet.ora";
inline constexpr std::string_view kTnsnamesFileName = "tnsnames.ora";

}  // namespace oracle
