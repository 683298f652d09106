#include "platform/Text.h"

#include <cstdint>

namespace platform {
namespace {

// Decodes one UTF-8 sequence at text[pos]; a malformed byte stands for itself.
char32_t DecodeAt(std::string_view text, size_t& pos) {
  const auto byte = static_cast<unsigned char>(text[pos]);
  int extra = byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : byte >= 0xC0 ? 1 : 0;
  if (extra == 0 || pos + extra >= text.size()) {
    ++pos;
    return byte;
  }
  char32_t code = byte & (0x3F >> extra);
  for (int i = 1; i <= extra; ++i) {
    const auto next = static_cast<unsigned char>(text[pos + i]);
    if ((next & 0xC0) != 0x80) {
      ++pos;
      return byte;
    }
    code = (code << 6) | (next & 0x3F);
  }
  pos += extra + 1;
  return code;
}

// Simple upper-case folding for the ranges a Central European system uses:
// ASCII, Latin-1 and Latin Extended-A (all Polish letters live there).
char32_t FoldUpper(char32_t c) {
  if (c >= U'a' && c <= U'z') return c - 32;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
  if (c == 0xFF) return 0x178;
  if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return c & ~char32_t{1};
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c % 2 == 0) ? c - 1 : c;
  return c;
}

}  // namespace

std::string AsciiUpper(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return result;
}

bool EqualsAsciiNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && AsciiUpper(a) == AsciiUpper(b);
}

int CompareNoCase(std::string_view a, std::string_view b) {
  size_t i = 0;
  size_t j = 0;
  while (i < a.size() && j < b.size()) {
    const char32_t ca = FoldUpper(DecodeAt(a, i));
    const char32_t cb = FoldUpper(DecodeAt(b, j));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

std::u32string CaseKey(std::string_view text) {
  std::u32string key;
  key.reserve(text.size());
  for (size_t i = 0; i < text.size();) key += FoldUpper(DecodeAt(text, i));
  return key;
}

int IndexOfNoCase(const std::vector<std::string>& items, std::string_view name) {
  for (size_t i = 0; i < items.size(); ++i) {
    if (EqualsNoCase(items[i], name)) return static_cast<int>(i);
  }
  return -1;
}

std::string_view Trim(std::string_view text, Blanks blanks) {
  const auto isBlank = [blanks](char c) {
    return blanks == Blanks::SpaceAndTab ? c == ' ' || c == '\t' : IsSpaceOrControl(c);
  };
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string Format(std::string_view pattern, const std::vector<std::string>& args) {
  std::string result;
  size_t next = 0;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 's' &&
        next < args.size()) {
      result += args[next++];
      ++i;
    } else {
      result += pattern[i];
    }
  }
  return result;
}

std::string EscapeField(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string result;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const bool edgeBlank = byte == ' ' && (i == 0 || i + 1 == text.size());
    if (byte < 0x20 || byte == 0x7F || byte == '%' || edgeBlank) {
      result += '%';
      result += kHex[byte >> 4];
      result += kHex[byte & 0x0F];
    } else {
      result += text[i];
    }
  }
  return result;
}

std::optional<std::string> UnescapeField(std::string_view text) {
  std::string result;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      result += text[i];
      continue;
    }
    if (i + 2 >= text.size()) return std::nullopt;
    const int high = HexDigitValue(text[i + 1]);
    const int low = HexDigitValue(text[i + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    result += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return result;
}

}  // namespace platform
