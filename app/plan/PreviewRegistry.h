#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"

namespace app::plan {

// A registry that a run can be done against to see what it would change:
// it reads the registry beneath and keeps every write to itself. Callers
// see what the registry beneath would hold after those writes, and nothing
// ever reaches it: the preview opens its keys with create=false only, and
// calls none of its writing operations.
//
// Keys are opened beneath with the access the caller asks for, so that a
// key the registry would refuse is refused here too. A key's values are
// read through until the preview first writes to that key; then they are
// copied into memory and held there. Subkeys are those beneath together
// with the ones the preview created, less the ones it deleted; a deleted
// key hides all that lies beneath it, even once it is created again.
class PreviewRegistry final : public platform::Registry {
 public:
  explicit PreviewRegistry(platform::Registry& beneath);
  ~PreviewRegistry() override;

  platform::OpenedKey OpenKey(platform::RegistryRoot root, std::string_view path, uint32_t access,
                              bool create) override;
  bool KeyExists(platform::RegistryRoot root, std::string_view path) override;
  bool DeleteKey(platform::RegistryRoot root, std::string_view path) override;

  // One key the preview has walked to; defined in the .cpp file. Handles
  // share it, so that a handle sees the writes of another and outlives
  // the key's deletion safely.
  struct Node;

 private:
  struct Found;
  Found Walk(platform::RegistryRoot root, const std::vector<std::string>& parts, bool create);

  platform::Registry& beneath_;
  std::shared_ptr<Node> localMachine_;
  std::shared_ptr<Node> currentUser_;
};

}  // namespace app::plan
