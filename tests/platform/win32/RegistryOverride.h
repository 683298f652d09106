#pragma once

#include <string>

namespace platform::win32 {

// For tests of code that touches the real registry: while the object
// lives, HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER of this process point to
// two empty keys of a throw-away branch under the real
// HKEY_CURRENT_USER\Software\KonfigNoveraTests. The branch is deleted when
// the object goes, so the machine's keys are never read nor changed.
// One at a time: the roots go back to the real keys, not to an outer
// override. Raises platform::Error when the branch cannot be set up.
class RegistryOverride {
 public:
  RegistryOverride();
  ~RegistryOverride();
  RegistryOverride(const RegistryOverride&) = delete;
  RegistryOverride& operator=(const RegistryOverride&) = delete;

  // The branch's path under the real HKEY_CURRENT_USER, without a leading
  // backslash.
  const std::string& BranchPath() const { return branch_; }

  static constexpr const char* kParentPath = "Software\\KonfigNoveraTests";

 private:
  std::string branch_;
};

}  // namespace platform::win32
