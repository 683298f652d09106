#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/CodePage.h"

namespace testing_support {

// Code page 852 for the few Polish letters the tests use; any other
// character outside ASCII it cannot hold, as a real OEM code page cannot.
class FakeOemCodePage final : public platform::CodePage {
 public:
  std::optional<std::string> FromUtf8(std::string_view text) const override {
    std::string out;
    for (size_t i = 0; i < text.size();) {
      if (static_cast<unsigned char>(text[i]) < 0x80) {
        out += text[i++];
        continue;
      }
      bool found = false;
      for (const auto& [utf8, oem] : kLetters) {
        if (text.substr(i, utf8.size()) == utf8) {
          out += oem;
          i += utf8.size();
          found = true;
          break;
        }
      }
      if (!found) return std::nullopt;
    }
    return out;
  }
  std::string ToUtf8(std::string_view text) const override {
    std::string out;
    for (char c : text) {
      std::string letter(1, c);
      for (const auto& [utf8, oem] : kLetters) {
        if (oem == c) letter = utf8;
      }
      out += letter;
    }
    return out;
  }

 private:
  const std::map<std::string, char> kLetters = {{"ł", '\x88'}, {"ó", '\xA2'}, {"ą", '\xA5'}};
};

}  // namespace testing_support
