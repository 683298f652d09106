#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// A single-byte code page other than our UTF-8, such as the OEM code page
// that the BDE engine's API takes.
class CodePage {
 public:
  virtual ~CodePage() = default;
  // Empty when the code page cannot hold a character of the text: a
  // character is never replaced by "?" or a look-alike.
  [[nodiscard]] virtual std::optional<std::string> FromUtf8(std::string_view text) const = 0;
  virtual std::string ToUtf8(std::string_view text) const = 0;
};

}  // namespace platform
