#include "bde/ParameterList.h"

#include "platform/Text.h"

namespace bde {

std::string ParameterList::NameOf(std::string_view line) {
  return std::string(line.substr(0, line.find('=')));
}

std::string ParameterList::ValueOf(std::string_view line) {
  const size_t equals = line.find('=');
  return equals == std::string_view::npos ? std::string() : std::string(line.substr(equals + 1));
}

int ParameterList::IndexOf(std::string_view name) const {
  for (size_t i = 0; i < lines_.size(); ++i) {
    const std::string_view line = lines_[i];
    const size_t equals = line.find('=');
    if (equals != std::string_view::npos && platform::EqualsNoCase(line.substr(0, equals), name)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

std::string ParameterList::Value(std::string_view name) const {
  const int index = IndexOf(name);
  return index < 0 ? std::string() : ValueOf(lines_[index]);
}

void ParameterList::Set(std::string_view name, std::string_view value) {
  const int index = IndexOf(name);
  if (value.empty()) {
    if (index >= 0) lines_.erase(lines_.begin() + index);
    return;
  }
  std::string line = std::string(name) + "=" + std::string(value);
  if (index >= 0) {
    lines_[index] = std::move(line);
  } else {
    lines_.push_back(std::move(line));
  }
}

}  // namespace bde
