#include "tests/platform/win32/RegistryOverride.h"

#include <atomic>

#include "platform/Error.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Unicode.h"
#include "platform/win32/Windows.h"

namespace platform::win32 {
namespace {

// Unique among concurrent test processes and among overrides in one process.
std::string NewBranchPath() {
  static std::atomic<int> counter{0};
  return std::string(RegistryOverride::kParentPath) + "\\" +
         std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount64()) + "-" +
         std::to_string(counter++);
}

void Redirect(HKEY root, const std::string& branch, const char* name) {
  const std::wstring path = Widen(branch + "\\" + name);
  UniqueHKey key;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, key.Put(), nullptr) != ERROR_SUCCESS ||
      RegOverridePredefKey(root, key.Get()) != ERROR_SUCCESS) {
    throw Error("Cannot redirect the registry to " + branch);
  }
  // The override keeps its own copy of the handle, so ours may close.
}

void DeleteBranch(const std::string& branch) {
  RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
  RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
  RegDeleteTreeW(HKEY_CURRENT_USER, Widen(branch).c_str());
  // Fails, as it should, while another test process still has a branch there.
  RegDeleteKeyW(HKEY_CURRENT_USER, Widen(RegistryOverride::kParentPath).c_str());
}

}  // namespace

RegistryOverride::RegistryOverride() : branch_(NewBranchPath()) {
  // HKEY_CURRENT_USER goes last: both branches are created through the
  // real one.
  try {
    Redirect(HKEY_LOCAL_MACHINE, branch_, "HKLM");
    Redirect(HKEY_CURRENT_USER, branch_, "HKCU");
  } catch (...) {
    DeleteBranch(branch_);
    throw;
  }
}

RegistryOverride::~RegistryOverride() { DeleteBranch(branch_); }

}  // namespace platform::win32
