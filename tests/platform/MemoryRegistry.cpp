#include "tests/platform/MemoryRegistry.h"

#include <optional>
#include <utility>
#include <vector>

#include "platform/Error.h"
#include "platform/Text.h"
#include "platform/TextFile.h"
#include "platform/Utf16.h"

namespace platform {

struct MemoryRegistry::Node {
  std::string name;
  std::vector<std::shared_ptr<Node>> subkeys;
  std::vector<std::pair<std::string, Value>> values;
  bool writesDenied = false;
  // Set when the key is deleted while a handle still holds it.
  bool deleted = false;
};

namespace {

using Node = MemoryRegistry::Node;
using Value = MemoryRegistry::Value;
using ValueType = MemoryRegistry::ValueType;

// Access rights, as Windows defines them.
constexpr uint32_t kKeyQueryValue = 0x0001;
constexpr uint32_t kKeySetValue = 0x0002;
constexpr uint32_t kKeyEnumerateSubKeys = 0x0008;
// KEY_SET_VALUE, KEY_CREATE_SUB_KEY, KEY_CREATE_LINK, DELETE, WRITE_DAC, WRITE_OWNER.
constexpr uint32_t kWriteRights = 0x0002 | 0x0004 | 0x0020 | 0x10000 | 0x40000 | 0x80000;

std::shared_ptr<Node> FindSubkey(const Node& node, std::string_view name) {
  for (const std::shared_ptr<Node>& subkey : node.subkeys) {
    if (EqualsNoCase(subkey->name, name)) return subkey;
  }
  return nullptr;
}

Value* FindValue(Node& node, std::string_view name) {
  for (auto& [valueName, value] : node.values) {
    if (EqualsNoCase(valueName, name)) return &value;
  }
  return nullptr;
}

// An existing value keeps the spelling of its name, as in Windows.
void StoreValue(Node& node, std::string_view name, Value value) {
  if (Value* existing = FindValue(node, name)) {
    *existing = std::move(value);
  } else {
    node.values.emplace_back(std::string(name), std::move(value));
  }
}

void MarkDeleted(Node& node) {
  node.deleted = true;
  for (const std::shared_ptr<Node>& subkey : node.subkeys) MarkDeleted(*subkey);
}

RegistryValue ToRegistryValue(const Value& value) {
  switch (value.type) {
    case ValueType::String:
      return TextValue(value.data);
    case ValueType::ExpandString:
      return TextValue(value.data, kRegExpandSz);
    case ValueType::Integer:
      return NumberValue(value.number);
    case ValueType::Binary:
      return {kRegBinary, value.data};
    case ValueType::Raw:
      break;
  }
  return {value.rawType, value.data};
}

std::string TextUpToNull(std::string_view bytes);

// Kept as text or a number only when it reads back byte for byte.
Value FromRegistryValue(const RegistryValue& raw) {
  if (raw.type == kRegSz || raw.type == kRegExpandSz) {
    const std::string text = TextUpToNull(raw.data);
    if (TextValue(text).data == raw.data) {
      return Value{raw.type == kRegSz ? ValueType::String : ValueType::ExpandString, text, 0};
    }
  }
  if (raw.type == kRegDword && raw.data.size() == 4) {
    uint32_t number = 0;
    for (int i = 3; i >= 0; --i) number = number << 8 | static_cast<unsigned char>(raw.data[static_cast<size_t>(i)]);
    return Value{ValueType::Integer, {}, number};
  }
  if (raw.type == kRegBinary) return Value{ValueType::Binary, raw.data, 0};
  return Value{ValueType::Raw, raw.data, 0, raw.type};
}

class MemoryKey final : public RegistryKey {
 public:
  MemoryKey(std::shared_ptr<Node> node, uint32_t access, std::shared_ptr<int> writesBeforeFailure)
      : node_(std::move(node)), access_(access), writesBeforeFailure_(std::move(writesBeforeFailure)) {}

  bool ValueExists(std::string_view name) override {
    return CanQuery() && FindValue(*node_, name) != nullptr;
  }

  std::optional<std::string> TryReadString(std::string_view name) override {
    const Value* value = Find(name);
    if (!value) return std::nullopt;
    if (value->type != ValueType::String && value->type != ValueType::ExpandString) {
      RaiseRegistryError(kWrongTypeMessage, name);
    }
    return value->data;
  }

  std::optional<int32_t> TryReadInteger(std::string_view name) override {
    const Value* value = Find(name);
    if (!value) return std::nullopt;
    if (value->type != ValueType::Integer) RaiseRegistryError(kWrongTypeMessage, name);
    return static_cast<int32_t>(value->number);
  }

  void WriteString(std::string_view name, std::string_view value) override {
    Store(name, Value{ValueType::String, std::string(value), 0});
  }

  void WriteInteger(std::string_view name, int32_t value) override {
    Store(name, Value{ValueType::Integer, {}, static_cast<uint32_t>(value)});
  }

  std::optional<RegistryValue> TryReadValue(std::string_view name) override {
    if (node_->deleted || (access_ & kKeyQueryValue) == 0) RaiseRegistryError(kGetDataFailedMessage, name);
    const Value* value = FindValue(*node_, name);
    if (value == nullptr) return std::nullopt;
    return ToRegistryValue(*value);
  }

  void WriteValue(std::string_view name, const RegistryValue& value) override { Store(name, FromRegistryValue(value)); }

  bool DeleteValue(std::string_view name) override {
    if (!CanWrite()) return false;
    auto& values = node_->values;
    for (auto it = values.begin(); it != values.end(); ++it) {
      if (EqualsNoCase(it->first, name)) {
        values.erase(it);
        return true;
      }
    }
    return false;
  }

  std::vector<std::string> SubkeyNames() override {
    if (node_->deleted || (access_ & kKeyEnumerateSubKeys) == 0) return {};
    std::vector<std::string> names;
    for (const std::shared_ptr<Node>& subkey : node_->subkeys) names.push_back(subkey->name);
    return names;
  }

  std::vector<std::string> ValueNames() override {
    if (!CanQuery()) return {};
    std::vector<std::string> names;
    for (const auto& [name, value] : node_->values) names.push_back(name);
    return names;
  }

 private:
  bool CanQuery() const { return !node_->deleted && (access_ & kKeyQueryValue) != 0; }
  bool CanWrite() const {
    return !node_->deleted && !node_->writesDenied && (access_ & kKeySetValue) != 0;
  }

  // Null when there is no such value; a handle that may not read raises.
  const Value* Find(std::string_view name) {
    if (!CanQuery()) RaiseRegistryError(kGetDataFailedMessage, name);
    return FindValue(*node_, name);
  }

  void Store(std::string_view name, Value value) {
    if (!CanWrite() || FailThisWrite()) RaiseRegistryError(kSetDataFailedMessage, name);
    StoreValue(*node_, name, std::move(value));
  }

  bool FailThisWrite() { return *writesBeforeFailure_ > 0 && --*writesBeforeFailure_ == 0; }

  std::shared_ptr<Node> node_;
  uint32_t access_;
  std::shared_ptr<int> writesBeforeFailure_;
};

// --- Reading .reg text ---

// One to maxDigits hexadecimal digits and nothing else.
std::optional<uint32_t> ParseHex(std::string_view digits, size_t maxDigits) {
  if (digits.empty() || digits.size() > maxDigits) return std::nullopt;
  uint32_t number = 0;
  for (char c : digits) {
    const int digit = HexDigitValue(c);
    if (digit < 0) return std::nullopt;
    number = number * 16 + static_cast<uint32_t>(digit);
  }
  return number;
}

// "01,02,ff"; empty data is an empty value.
std::optional<std::string> ParseHexBytes(std::string_view text) {
  std::string bytes;
  if (Trim(text, Blanks::SpaceAndTab).empty()) return bytes;
  size_t start = 0;
  while (start <= text.size()) {
    size_t comma = text.find(',', start);
    if (comma == std::string_view::npos) comma = text.size();
    const std::optional<uint32_t> byte = ParseHex(Trim(text.substr(start, comma - start), Blanks::SpaceAndTab), 2);
    if (!byte) return std::nullopt;
    bytes += static_cast<char>(*byte);
    start = comma + 1;
  }
  return bytes;
}

// REG_EXPAND_SZ data as regedit exports it: UTF-16LE ending in a null.
std::string TextUpToNull(std::string_view bytes) {
  std::string text = FromUtf16Le(bytes);
  return text.substr(0, text.find('\0'));
}

// Walks one line of .reg text from left to right.
class LineReader {
 public:
  explicit LineReader(std::string_view line) : rest_(line) {}

  bool AtEnd() const { return rest_.empty(); }
  std::string_view Rest() const { return rest_; }

  bool Take(std::string_view prefix) {
    if (!rest_.starts_with(prefix)) return false;
    rest_.remove_prefix(prefix.size());
    return true;
  }

  // A quoted name or text; only \\ and \" are escapes, as regedit writes them.
  std::optional<std::string> Quoted() {
    if (!rest_.starts_with('"')) return std::nullopt;
    std::string text;
    for (size_t i = 1; i < rest_.size(); ++i) {
      const char c = rest_[i];
      if (c == '"') {
        rest_.remove_prefix(i + 1);
        return text;
      }
      if (c == '\\') {
        if (i + 1 >= rest_.size() || (rest_[i + 1] != '\\' && rest_[i + 1] != '"')) {
          return std::nullopt;
        }
        ++i;
      }
      text += rest_[i];
    }
    return std::nullopt;
  }

 private:
  std::string_view rest_;
};

// Everything after the "=" of a value line.
std::optional<Value> ParseData(std::string_view data) {
  if (data.starts_with('"')) {
    LineReader reader(data);
    std::optional<std::string> text = reader.Quoted();
    if (!text || !reader.AtEnd()) return std::nullopt;
    return Value{ValueType::String, std::move(*text), 0};
  }
  if (data.starts_with("dword:")) {
    const std::optional<uint32_t> number = ParseHex(data.substr(6), 8);
    if (!number) return std::nullopt;
    return Value{ValueType::Integer, {}, *number};
  }
  ValueType type = ValueType::Binary;
  if (data.starts_with("hex(")) {
    const size_t close = data.find("):");
    if (close == std::string_view::npos) return std::nullopt;
    const std::optional<uint32_t> kind = ParseHex(data.substr(4, close - 4), 8);
    if (!kind) return std::nullopt;
    if (*kind == 2) type = ValueType::ExpandString;
    data.remove_prefix(close + 2);
  } else if (data.starts_with("hex:")) {
    data.remove_prefix(4);
  } else {
    return std::nullopt;
  }
  std::optional<std::string> bytes = ParseHexBytes(data);
  if (!bytes) return std::nullopt;
  if (type == ValueType::ExpandString) return Value{type, TextUpToNull(*bytes), 0};
  return Value{type, std::move(*bytes), 0};
}

struct KeyName {
  RegistryRoot root;
  std::string path;
};

// "[HKEY_LOCAL_MACHINE\SOFTWARE\X]"
std::optional<KeyName> ParseKeyLine(std::string_view line) {
  if (line.size() < 2 || !line.ends_with(']')) return std::nullopt;
  const std::string_view inside = line.substr(1, line.size() - 2);
  const size_t slash = inside.find('\\');
  const std::string_view rootName = inside.substr(0, slash);
  const std::string path =
      slash == std::string_view::npos ? std::string() : std::string(inside.substr(slash));
  if (EqualsAsciiNoCase(rootName, "HKEY_LOCAL_MACHINE")) return KeyName{RegistryRoot::LocalMachine, path};
  if (EqualsAsciiNoCase(rootName, "HKEY_CURRENT_USER")) return KeyName{RegistryRoot::CurrentUser, path};
  return std::nullopt;
}

}  // namespace

MemoryRegistry::MemoryRegistry()
    : localMachine_(std::make_shared<Node>()), currentUser_(std::make_shared<Node>()) {}

MemoryRegistry::~MemoryRegistry() = default;

std::shared_ptr<Node> MemoryRegistry::FindKey(RegistryRoot root, std::string_view path) const {
  std::shared_ptr<Node> node = root == RegistryRoot::LocalMachine ? localMachine_ : currentUser_;
  for (const std::string& part : SplitKeyPath(path)) {
    node = FindSubkey(*node, part);
    if (!node) return nullptr;
  }
  return node;
}

std::shared_ptr<Node> MemoryRegistry::CreateKey(RegistryRoot root, std::string_view path,
                                                bool ignoreDenied) {
  std::shared_ptr<Node> node = root == RegistryRoot::LocalMachine ? localMachine_ : currentUser_;
  for (const std::string& part : SplitKeyPath(path)) {
    std::shared_ptr<Node> subkey = FindSubkey(*node, part);
    if (!subkey) {
      // New keys are never denied, so a refusal can only come before
      // anything was created.
      if (node->writesDenied && !ignoreDenied) return nullptr;
      subkey = std::make_shared<Node>();
      subkey->name = part;
      node->subkeys.push_back(subkey);
    }
    node = std::move(subkey);
  }
  return node;
}

OpenedKey MemoryRegistry::OpenKey(RegistryRoot root, std::string_view path, uint32_t access, bool create) {
  std::shared_ptr<Node> node = create ? CreateKey(root, path, false) : FindKey(root, path);
  // Creating fails only where a parent refuses the new key.
  if (!node) return OpenedKey(create ? KeyStatus::Refused : KeyStatus::Missing);
  if (node->writesDenied && (access & kWriteRights) != 0) return OpenedKey(KeyStatus::Refused);
  return OpenedKey(std::make_unique<MemoryKey>(std::move(node), access, writesBeforeFailure_));
}

bool MemoryRegistry::KeyExists(RegistryRoot root, std::string_view path) {
  return FindKey(root, path) != nullptr;
}

bool MemoryRegistry::DeleteKey(RegistryRoot root, std::string_view path) {
  std::vector<std::string> parts = SplitKeyPath(path);
  // An empty path names the root, which cannot be deleted.
  if (parts.empty()) return false;
  const std::string name = parts.back();
  parts.pop_back();
  std::string parentPath;
  for (const std::string& part : parts) parentPath += "\\" + part;

  const std::shared_ptr<Node> parent = FindKey(root, parentPath);
  if (!parent) return false;
  auto& subkeys = parent->subkeys;
  for (auto it = subkeys.begin(); it != subkeys.end(); ++it) {
    if (EqualsNoCase((*it)->name, name)) {
      if ((*it)->writesDenied) return false;
      MarkDeleted(**it);
      subkeys.erase(it);
      return true;
    }
  }
  return false;
}

void MemoryRegistry::SetValue(RegistryRoot root, std::string_view path, std::string_view name,
                              Value value) {
  StoreValue(*CreateKey(root, path, true), name, std::move(value));
}

bool MemoryRegistry::DenyWrites(RegistryRoot root, std::string_view path) {
  const std::shared_ptr<Node> node = FindKey(root, path);
  if (!node) return false;
  node->writesDenied = true;
  return true;
}

void MemoryRegistry::FailNthWrite(int n) { *writesBeforeFailure_ = n; }

void MemoryRegistry::LoadRegText(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  const std::vector<std::string> lines = SplitLines(text);
  std::shared_ptr<Node> key;

  for (size_t index = 0; index < lines.size(); ++index) {
    const size_t first = index;
    auto fail = [&]() {
      throw Error(Format("Registry text line %s cannot be read: %s",
                         {std::to_string(first + 1), lines[first]}));
    };

    std::string line(Trim(lines[index], Blanks::SpaceAndTab));
    while (line.ends_with('\\') && index + 1 < lines.size()) {
      line.pop_back();
      line += Trim(lines[++index], Blanks::SpaceAndTab);
    }
    if (line.empty() || line.starts_with(';') || line == "Windows Registry Editor Version 5.00" ||
        line == "REGEDIT4") {
      continue;
    }

    if (line.starts_with('[')) {
      const std::optional<KeyName> name = ParseKeyLine(line);
      if (!name) fail();
      key = CreateKey(name->root, name->path, true);
      continue;
    }

    LineReader reader(line);
    std::optional<std::string> name;
    if (reader.Take("@")) {
      name = std::string();
    } else {
      name = reader.Quoted();
    }
    if (!name || !key || !reader.Take("=")) fail();
    std::optional<Value> value = ParseData(reader.Rest());
    if (!value) fail();
    StoreValue(*key, *name, std::move(*value));
  }
}

}  // namespace platform
