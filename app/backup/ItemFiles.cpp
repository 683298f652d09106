#include "app/backup/ItemFiles.h"

#include <algorithm>
#include <vector>

#include "platform/Error.h"
#include "platform/Text.h"
#include "platform/TextFile.h"
#include "platform/Utf16.h"

namespace app::backup {
namespace {

using platform::RegistryValue;

constexpr std::string_view kRegHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kByteOrderMark = "\xFF\xFE";
constexpr std::string_view kAliasLine = "Alias BDE: ";
constexpr std::string_view kDriverLine = "Sterownik: ";

std::optional<std::string> TextOfUtf16Le(std::string_view bytes) {
  if (bytes.size() % 2 != 0) return std::nullopt;
  return platform::FromUtf16Le(bytes);
}

// "[HKEY_LOCAL_MACHINE\SOFTWARE\...]"
std::string KeyLine(const Place& place) {
  return std::string("[").append(RegistryPath(place.root, place.path)).append("]");
}

// A quoted .reg name or text: only "\" and the quote are escaped.
std::string RegQuoted(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '\\' || c == '"') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

// Control characters would not survive regedit's reading of a quoted text.
bool PlainText(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) < 0x20) return false;
  }
  return true;
}

std::string RegData(const RegistryValue& value) {
  if (value.type == platform::kRegSz) {
    if (const std::optional<std::string> text = ValueText(value); text && PlainText(*text)) return RegQuoted(*text);
  }
  if (std::optional<uint32_t> number = ValueNumber(value)) {
    constexpr char kDigits[] = "0123456789abcdef";
    std::string digits(8, '0');
    for (size_t i = 8; i-- > 0; *number >>= 4) digits[i] = kDigits[*number & 0x0F];
    return "dword:" + digits;
  }
  return HexValue(value);
}

std::string RegExport(const Place& place, const std::vector<NamedValue>& values) {
  std::vector<std::string> lines = {std::string(kRegHeader), "", KeyLine(place)};
  for (const NamedValue& value : values) {
    if (value.name.find_first_of("\r\n") != std::string::npos) {
      throw platform::Error(platform::Format(
          kItemNotKeptMessage, {Describe(place), "nazwa wartości \"" + value.name + "\" zawiera znak końca wiersza"}));
    }
    lines.push_back((value.name.empty() ? std::string("@") : RegQuoted(value.name)) + "=" + RegData(value.value));
  }
  lines.push_back("");
  return std::string(kByteOrderMark) + platform::ToUtf16Le(platform::JoinLines(lines));
}

// The rest of a quoted text, unescaped; nothing when it is not one.
std::optional<std::string> TakeQuoted(std::string_view& rest) {
  if (!rest.starts_with('"')) return std::nullopt;
  std::string text;
  for (size_t i = 1; i < rest.size(); ++i) {
    char c = rest[i];
    if (c == '"') {
      rest.remove_prefix(i + 1);
      return text;
    }
    if (c == '\\') {
      if (++i == rest.size()) return std::nullopt;
      c = rest[i];
    }
    text += c;
  }
  return std::nullopt;
}

std::optional<uint32_t> Hex(std::string_view digits) {
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  uint32_t number = 0;
  for (const char c : digits) {
    const int digit = platform::HexDigitValue(c);
    if (digit < 0) return std::nullopt;
    number = number << 4 | static_cast<uint32_t>(digit);
  }
  return number;
}

std::optional<RegistryValue> ParseRegData(std::string_view data) {
  if (data.starts_with('"')) {
    std::optional<std::string> text = TakeQuoted(data);
    if (!text || !data.empty()) return std::nullopt;
    return platform::TextValue(*text);
  }
  if (data.starts_with("dword:")) {
    const std::optional<uint32_t> number = data.size() == 14 ? Hex(data.substr(6)) : std::nullopt;
    if (!number) return std::nullopt;
    return platform::NumberValue(*number);
  }
  RegistryValue value{platform::kRegBinary, {}};
  if (data.starts_with("hex(")) {
    const size_t close = data.find("):");
    const std::optional<uint32_t> type =
        close == std::string_view::npos ? std::nullopt : Hex(data.substr(4, close - 4));
    if (!type) return std::nullopt;
    value.type = *type;
    data.remove_prefix(close + 2);
  } else if (data.starts_with("hex:")) {
    data.remove_prefix(4);
  } else {
    return std::nullopt;
  }
  for (size_t at = 0; at < data.size(); at += 3) {
    if (at + 2 > data.size() || (at + 2 < data.size() && data[at + 2] != ',')) return std::nullopt;
    const std::optional<uint32_t> byte = Hex(data.substr(at, 2));
    if (!byte) return std::nullopt;
    value.data += static_cast<char>(*byte);
  }
  if (data.ends_with(',')) return std::nullopt;
  return value;
}

std::optional<State> ReadRegExport(const Place& place, std::string_view content) {
  if (!content.starts_with(kByteOrderMark)) return std::nullopt;
  const std::optional<std::string> text = TextOfUtf16Le(content.substr(kByteOrderMark.size()));
  if (!text) return std::nullopt;
  const std::vector<std::string> lines = platform::SplitLines(*text);
  if (lines.size() < 3 || lines[0] != kRegHeader || !lines[1].empty() ||
      !platform::EqualsNoCase(lines[2], KeyLine(place))) {
    return std::nullopt;
  }
  State state;
  state.present = true;
  for (size_t i = 3; i < lines.size(); ++i) {
    std::string_view rest = lines[i];
    if (rest.empty()) continue;
    std::optional<std::string> name;
    if (rest.starts_with("@=")) {
      name = "";
      rest.remove_prefix(1);
    } else {
      name = TakeQuoted(rest);
    }
    if (!name || !rest.starts_with('=')) return std::nullopt;
    std::optional<RegistryValue> value = ParseRegData(rest.substr(1));
    // A name twice could not be put back as the file says.
    const bool twice = std::any_of(state.values.begin(), state.values.end(),
                                   [&](const NamedValue& kept) { return platform::EqualsNoCase(kept.name, *name); });
    if (!value || twice) return std::nullopt;
    state.values.push_back({std::move(*name), std::move(*value)});
  }
  if (place.kind == ItemKind::RegistryValue &&
      (state.values.size() != 1 || !platform::EqualsNoCase(state.values[0].name, place.valueName))) {
    return std::nullopt;
  }
  return state;
}

std::string AliasText(const Place& place, const State& state) {
  std::vector<std::string> lines = {std::string(kAliasLine) + platform::EscapeField(place.path),
                                    std::string(kDriverLine) + platform::EscapeField(state.driver)};
  for (const std::string& parameter : state.parameters) lines.push_back(platform::EscapeField(parameter));
  return platform::JoinLines(lines);
}

std::optional<State> ReadAliasText(const Place& place, std::string_view content) {
  const std::vector<std::string> lines = platform::SplitLines(content);
  if (lines.size() < 2 || !lines[0].starts_with(kAliasLine) || !lines[1].starts_with(kDriverLine)) return std::nullopt;
  const std::optional<std::string> name = platform::UnescapeField(std::string_view(lines[0]).substr(kAliasLine.size()));
  std::optional<std::string> driver = platform::UnescapeField(std::string_view(lines[1]).substr(kDriverLine.size()));
  if (!name || !driver || !platform::EqualsNoCase(*name, place.path)) return std::nullopt;
  State state;
  state.present = true;
  state.driver = std::move(*driver);
  for (size_t i = 2; i < lines.size(); ++i) {
    std::optional<std::string> parameter = platform::UnescapeField(lines[i]);
    if (!parameter) return std::nullopt;
    state.parameters.push_back(std::move(*parameter));
  }
  return state;
}

}  // namespace

std::string ItemFileContent(const Place& place, const State& state) {
  switch (place.kind) {
    case ItemKind::RegistryKey:
    case ItemKind::RegistryValue:
      return RegExport(place, state.values);
    case ItemKind::Alias:
      return AliasText(place, state);
    case ItemKind::File:
    case ItemKind::EngineFile:
      break;
  }
  return state.content;
}

std::optional<State> ReadItemFile(const Place& place, std::string_view content) {
  switch (place.kind) {
    case ItemKind::RegistryKey:
    case ItemKind::RegistryValue:
      return ReadRegExport(place, content);
    case ItemKind::Alias:
      return ReadAliasText(place, content);
    case ItemKind::File:
    case ItemKind::EngineFile:
      break;
  }
  State state;
  state.present = true;
  state.content = std::string(content);
  return state;
}

std::string ItemFileSuffix(const Place& place) {
  switch (place.kind) {
    case ItemKind::RegistryKey:
    case ItemKind::RegistryValue:
      return ".reg";
    case ItemKind::Alias:
      return ".txt";
    case ItemKind::File:
    case ItemKind::EngineFile:
      break;
  }
  std::string name = place.path.substr(place.path.find_last_of("\\/") + 1);
  for (char& c : name) {
    if (static_cast<unsigned char>(c) < 0x20 || std::string_view("<>:\"|?*").find(c) != std::string_view::npos) c = '_';
  }
  return "-" + name;
}

}  // namespace app::backup
