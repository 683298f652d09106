#include "platform/DelimitedText.h"

#include "platform/Text.h"

namespace platform {
namespace {

void SkipBlanks(std::string_view text, size_t& pos) {
  while (pos < text.size() && IsSpaceOrControl(text[pos])) ++pos;
}

std::string ReadQuoted(std::string_view text, size_t& pos) {
  std::string item;
  ++pos;  // the opening quote
  while (pos < text.size()) {
    if (text[pos] != '"') {
      item += text[pos++];
    } else if (pos + 1 < text.size() && text[pos + 1] == '"') {
      item += '"';
      pos += 2;
    } else {
      ++pos;
      break;
    }
  }
  return item;
}

}  // namespace

std::vector<std::string> SplitDelimited(std::string_view text, char delimiter) {
  text = text.substr(0, text.find('\0'));
  std::vector<std::string> items;
  size_t pos = 0;
  SkipBlanks(text, pos);
  while (pos < text.size()) {
    if (text[pos] == '"') {
      items.push_back(ReadQuoted(text, pos));
    } else {
      const size_t start = pos;
      while (pos < text.size() && !IsSpaceOrControl(text[pos]) && text[pos] != delimiter) ++pos;
      items.emplace_back(text.substr(start, pos - start));
    }
    SkipBlanks(text, pos);
    if (pos < text.size() && text[pos] == delimiter) {
      if (pos == text.size() - 1) items.emplace_back();
      ++pos;
      SkipBlanks(text, pos);
    }
  }
  return items;
}

std::string JoinCommaList(const std::vector<std::string>& items) {
  if (items.size() == 1 && items[0].empty()) return "\"\"";
  std::string joined;
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) joined += ',';
    const std::string& item = items[i];
    bool quote = false;
    for (char c : item) quote = quote || IsSpaceOrControl(c) || c == ',' || c == '"';
    if (!quote) {
      joined += item;
      continue;
    }
    joined += '"';
    for (char c : item) {
      if (c == '"') joined += '"';
      joined += c;
    }
    joined += '"';
  }
  return joined;
}

}  // namespace platform
