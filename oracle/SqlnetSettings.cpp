#include "oracle/SqlnetSettings.h"

#include <algorithm>

#include "platform/DelimitedText.h"
#include "platform/Text.h"

namespace oracle {
namespace {

bool Blank(char c) { return static_cast<unsigned char>(c) <= 32; }

}  // namespace

std::optional<std::string> SqlnetValue(const std::vector<std::string>& lines, std::string_view key) {
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string_view line = lines[i];
    const size_t equals = line.find('=');
    if (line.empty() || Blank(line.front()) || line.front() == '#' || equals == std::string_view::npos ||
        !platform::EqualsAsciiNoCase(platform::TrimBlanks(line.substr(0, equals)), key)) {
      continue;
    }
    std::string value(line.substr(equals + 1));
    for (size_t next = i + 1; next < lines.size() && !lines[next].empty() && Blank(lines[next].front()); ++next) {
      if (platform::TrimBlanks(lines[next]).starts_with('#')) continue;
      value.append(" ").append(lines[next]);
    }
    return std::string(platform::TrimBlanks(value));
  }
  return std::nullopt;
}

std::string QualifiedServiceName(const std::string& name, const std::vector<std::string>& sqlnetLines) {
  if (name.find('.') != std::string::npos) return name;
  const std::string domain = SqlnetValue(sqlnetLines, "NAMES.DEFAULT_DOMAIN").value_or("");
  return domain.empty() ? name : name + "." + domain;
}

bool TnsnamesAllowed(const std::vector<std::string>& sqlnetLines) {
  std::optional<std::string> path = SqlnetValue(sqlnetLines, "NAMES.DIRECTORY_PATH");
  if (!path) return true;
  std::erase_if(*path, [](char c) { return c == '(' || c == ')'; });
  const std::vector<std::string> methods = platform::SplitDelimited(*path, ',');
  return std::any_of(methods.begin(), methods.end(),
                     [](const std::string& method) { return platform::EqualsAsciiNoCase(method, "TNSNAMES"); });
}

}  // namespace oracle
