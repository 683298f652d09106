#include "app/plan/PreviewRegistry.h"

#include <optional>
#include <utility>

#include "app/backup/Snapshot.h"
#include "platform/Text.h"
#include "platform/Utf16.h"

namespace app::plan {

using platform::KeyStatus;
using platform::OpenedKey;
using platform::RegistryRoot;
using platform::RegistryValue;

struct PreviewRegistry::Node {
  std::string name;
  // False for a key the preview deleted, until it is created again.
  bool exists = true;
  // Set on a key the preview deleted: nothing beneath at its path or below
  // counts any more, even once the key is created again.
  bool hidesBeneath = false;
  // The key's values once the preview holds them: copied from beneath at
  // the first write, or none for a key the preview created. Until then
  // they are read through.
  std::optional<std::vector<backup::NamedValue>> values;
  // The keys below that the preview has walked to, created or deleted.
  std::vector<std::shared_ptr<Node>> subkeys;
  // Set when the key is deleted while a handle still holds it.
  bool deleted = false;
};

struct PreviewRegistry::Found {
  // Null when there is no such key, or when creating it was refused.
  std::shared_ptr<Node> node;
  std::shared_ptr<Node> parent;
  // False at and below a key the preview deleted.
  bool beneathVisible = true;
  KeyStatus status = KeyStatus::Opened;
};

namespace {

using Node = PreviewRegistry::Node;

// Access rights, as Windows defines them.
constexpr uint32_t kKeyQueryValue = 0x0001;
constexpr uint32_t kKeySetValue = 0x0002;
constexpr uint32_t kKeyCreateSubKey = 0x0004;
constexpr uint32_t kKeyEnumerateSubKeys = 0x0008;
constexpr uint32_t kDelete = 0x10000;

std::shared_ptr<Node> FindSubkey(const Node& node, std::string_view name) {
  for (const std::shared_ptr<Node>& subkey : node.subkeys) {
    if (platform::EqualsNoCase(subkey->name, name)) return subkey;
  }
  return nullptr;
}

std::shared_ptr<Node> AddSubkey(Node& node, std::string_view name) {
  auto subkey = std::make_shared<Node>();
  subkey->name = name;
  node.subkeys.push_back(subkey);
  return subkey;
}

backup::NamedValue* FindValue(std::vector<backup::NamedValue>& values, std::string_view name) {
  for (backup::NamedValue& value : values) {
    if (platform::EqualsNoCase(value.name, name)) return &value;
  }
  return nullptr;
}

void MarkDeleted(Node& node) {
  node.deleted = true;
  for (const std::shared_ptr<Node>& subkey : node.subkeys) MarkDeleted(*subkey);
}

// As Windows reads a text value: up to its first null, which the data
// need not hold.
std::string TextOf(std::string_view bytes) {
  std::string text = platform::FromUtf16Le(bytes);
  return text.substr(0, text.find('\0'));
}

class PreviewKey final : public platform::RegistryKey {
 public:
  PreviewKey(std::shared_ptr<Node> node, OpenedKey beneathKey, uint32_t access, platform::Registry& beneath,
             RegistryRoot root, std::string_view path)
      : node_(std::move(node)),
        beneathKey_(std::move(beneathKey)),
        access_(access),
        beneath_(beneath),
        root_(root),
        path_(path) {}

  bool ValueExists(std::string_view name) override {
    if (!CanQuery()) return false;
    if (node_->values) return FindValue(*node_->values, name) != nullptr;
    return beneathKey_ && beneathKey_->ValueExists(name);
  }

  std::optional<std::string> TryReadString(std::string_view name) override {
    CheckQuery(name);
    if (!node_->values) return beneathKey_ ? beneathKey_->TryReadString(name) : std::nullopt;
    const backup::NamedValue* value = FindValue(*node_->values, name);
    if (value == nullptr) return std::nullopt;
    if (value->value.type != platform::kRegSz && value->value.type != platform::kRegExpandSz) {
      platform::RaiseRegistryError(platform::kWrongTypeMessage, name);
    }
    return TextOf(value->value.data);
  }

  std::optional<int32_t> TryReadInteger(std::string_view name) override {
    CheckQuery(name);
    if (!node_->values) return beneathKey_ ? beneathKey_->TryReadInteger(name) : std::nullopt;
    const backup::NamedValue* value = FindValue(*node_->values, name);
    if (value == nullptr) return std::nullopt;
    const std::optional<uint32_t> number = backup::ValueNumber(value->value);
    if (!number) platform::RaiseRegistryError(platform::kWrongTypeMessage, name);
    return static_cast<int32_t>(*number);
  }

  void WriteString(std::string_view name, std::string_view value) override {
    WriteValue(name, platform::TextValue(value));
  }

  void WriteInteger(std::string_view name, int32_t value) override {
    WriteValue(name, platform::NumberValue(static_cast<uint32_t>(value)));
  }

  std::optional<RegistryValue> TryReadValue(std::string_view name) override {
    CheckQuery(name);
    if (!node_->values) return beneathKey_ ? beneathKey_->TryReadValue(name) : std::nullopt;
    const backup::NamedValue* value = FindValue(*node_->values, name);
    if (value == nullptr) return std::nullopt;
    return value->value;
  }

  // An existing value keeps the spelling of its name, as in Windows.
  void WriteValue(std::string_view name, const RegistryValue& value) override {
    if (!CanWrite() || !HoldValues()) platform::RaiseRegistryError(platform::kSetDataFailedMessage, name);
    if (backup::NamedValue* existing = FindValue(*node_->values, name)) {
      existing->value = value;
    } else {
      node_->values->push_back({std::string(name), value});
    }
  }

  bool DeleteValue(std::string_view name) override {
    if (!CanWrite() || !HoldValues()) return false;
    std::vector<backup::NamedValue>& values = *node_->values;
    for (auto it = values.begin(); it != values.end(); ++it) {
      if (platform::EqualsNoCase(it->name, name)) {
        values.erase(it);
        return true;
      }
    }
    return false;
  }

  std::vector<std::string> SubkeyNames() override {
    if (node_->deleted || (access_ & kKeyEnumerateSubKeys) == 0) return {};
    std::vector<std::string> names;
    if (beneathKey_) {
      for (std::string& name : beneathKey_->SubkeyNames()) {
        // A key deleted here is gone, and one created again is listed as
        // it was spelled then.
        const std::shared_ptr<Node> subkey = FindSubkey(*node_, name);
        if (subkey == nullptr || !subkey->hidesBeneath) names.push_back(std::move(name));
      }
    }
    for (const std::shared_ptr<Node>& subkey : node_->subkeys) {
      if (subkey->exists && platform::IndexOfNoCase(names, subkey->name) < 0) names.push_back(subkey->name);
    }
    return names;
  }

  std::vector<std::string> ValueNames() override {
    if (!CanQuery()) return {};
    if (!node_->values) return beneathKey_ ? beneathKey_->ValueNames() : std::vector<std::string>();
    std::vector<std::string> names;
    for (const backup::NamedValue& value : *node_->values) names.push_back(value.name);
    return names;
  }

 private:
  bool CanQuery() const { return !node_->deleted && (access_ & kKeyQueryValue) != 0; }
  bool CanWrite() const { return !node_->deleted && (access_ & kKeySetValue) != 0; }

  void CheckQuery(std::string_view name) const {
    if (!CanQuery()) platform::RaiseRegistryError(platform::kGetDataFailedMessage, name);
  }

  // Copies the key's values from beneath before its first write. They are
  // read through a handle of their own, as this one may not read. False
  // when they cannot be read.
  bool HoldValues() {
    if (node_->values) return true;
    std::vector<backup::NamedValue> values;
    if (beneathKey_) {
      const OpenedKey reader = beneath_.OpenKey(root_, path_, platform::kKeyRead, false);
      if (!reader) return false;
      for (const std::string& name : reader->ValueNames()) {
        if (std::optional<RegistryValue> value = reader->TryReadValue(name)) {
          values.push_back({name, std::move(*value)});
        }
      }
    }
    node_->values = std::move(values);
    return true;
  }

  std::shared_ptr<Node> node_;
  // The key beneath, when it is there and still counts.
  OpenedKey beneathKey_;
  uint32_t access_;
  platform::Registry& beneath_;
  RegistryRoot root_;
  std::string path_;
};

}  // namespace

PreviewRegistry::PreviewRegistry(platform::Registry& beneath)
    : beneath_(beneath), localMachine_(std::make_shared<Node>()), currentUser_(std::make_shared<Node>()) {}

PreviewRegistry::~PreviewRegistry() = default;

// Nodes are made on the way for the keys that are there beneath, so that
// every handle holds one and sees the key's later writes and deletion.
PreviewRegistry::Found PreviewRegistry::Walk(RegistryRoot root, const std::vector<std::string>& parts, bool create) {
  Found found{root == RegistryRoot::LocalMachine ? localMachine_ : currentUser_, nullptr};
  std::string path;
  for (const std::string& part : parts) {
    const std::string parentPath = path;
    path += "\\" + part;
    std::shared_ptr<Node> subkey = FindSubkey(*found.node, part);
    if (subkey == nullptr && found.beneathVisible && beneath_.KeyExists(root, path)) {
      subkey = AddSubkey(*found.node, part);
    }
    if (subkey == nullptr || !subkey->exists) {
      if (!create) return Found{nullptr, nullptr, false, KeyStatus::Missing};
      // Windows creates a subkey only where the parent grants the right to.
      if (found.beneathVisible &&
          beneath_.OpenKey(root, parentPath, kKeyCreateSubKey, false).Status() == KeyStatus::Refused) {
        return Found{nullptr, nullptr, false, KeyStatus::Refused};
      }
      if (subkey == nullptr) subkey = AddSubkey(*found.node, part);
      subkey->exists = true;
      subkey->values.emplace();
    }
    found.parent = std::move(found.node);
    found.node = std::move(subkey);
    if (found.node->hidesBeneath) found.beneathVisible = false;
  }
  return found;
}

OpenedKey PreviewRegistry::OpenKey(RegistryRoot root, std::string_view path, uint32_t access, bool create) {
  Found found = Walk(root, platform::SplitKeyPath(path), create);
  if (found.node == nullptr) return OpenedKey(found.status);
  OpenedKey beneathKey(KeyStatus::Missing);
  if (found.beneathVisible) {
    beneathKey = beneath_.OpenKey(root, path, access, false);
    if (beneathKey.Status() == KeyStatus::Refused) return OpenedKey(KeyStatus::Refused);
  }
  return OpenedKey(
      std::make_unique<PreviewKey>(std::move(found.node), std::move(beneathKey), access, beneath_, root, path));
}

bool PreviewRegistry::KeyExists(RegistryRoot root, std::string_view path) {
  return Walk(root, platform::SplitKeyPath(path), false).node != nullptr;
}

bool PreviewRegistry::DeleteKey(RegistryRoot root, std::string_view path) {
  const std::vector<std::string> parts = platform::SplitKeyPath(path);
  // An empty path names the root, which cannot be deleted.
  if (parts.empty()) return false;
  const Found found = Walk(root, parts, false);
  if (found.node == nullptr) return false;
  if (found.beneathVisible && beneath_.OpenKey(root, path, kDelete, false).Status() == KeyStatus::Refused) {
    return false;
  }
  MarkDeleted(*found.node);
  auto gone = std::make_shared<Node>();
  gone->name = found.node->name;
  gone->exists = false;
  gone->hidesBeneath = true;
  for (std::shared_ptr<Node>& subkey : found.parent->subkeys) {
    if (subkey == found.node) subkey = gone;
  }
  return true;
}

}  // namespace app::plan
