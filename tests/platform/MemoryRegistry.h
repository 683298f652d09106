#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Registry.h"

namespace platform {

// A registry held in memory, for tests. It behaves as the Windows registry
// does wherever callers rely on it:
// - key and value names ignore letter case (Polish letters included) and
//   keep the spelling they were created with;
// - the default value is the one with the empty name;
// - a missing key opens as Missing unless created, and creating a key
//   creates its missing parents;
// - a handle allows only what its access mask asked for: reading needs
//   KEY_QUERY_VALUE, writing and deleting values KEY_SET_VALUE, listing
//   subkeys KEY_ENUMERATE_SUB_KEYS (a refused read raises the message of
//   a value that cannot be read, a refused write that of a failed write);
// - a handle whose key was deleted reads nothing and writes nothing.
// Subkeys and values are listed in the order they were created. Windows
// lists subkeys sorted and values roughly in creation order; callers must
// not rely on either.
class MemoryRegistry final : public Registry {
 public:
  // Raw holds a value of any other type (REG_MULTI_SZ, REG_QWORD ...), or
  // one of these types whose bytes would not read back the same as text
  // or a number (a string without its null, a DWORD of five bytes).
  enum class ValueType { String, ExpandString, Integer, Binary, Raw };

  struct Value {
    ValueType type = ValueType::String;
    // The text of String and ExpandString, the bytes of Binary and Raw.
    std::string data;
    // The REG_DWORD of Integer.
    uint32_t number = 0;
    // The registry type of Raw.
    uint32_t rawType = 0;
  };

  MemoryRegistry();
  ~MemoryRegistry() override;

  OpenedKey OpenKey(RegistryRoot root, std::string_view path, uint32_t access, bool create) override;
  bool KeyExists(RegistryRoot root, std::string_view path) override;
  bool DeleteKey(RegistryRoot root, std::string_view path) override;

  // Sets a value of any type, creating the key as needed and ignoring
  // DenyWrites: it prepares a test, it is not an operation under test.
  void SetValue(RegistryRoot root, std::string_view path, std::string_view name, Value value);

  // Makes one existing key behave as if its ACL denied writing to it:
  // opening it with any write right (KEY_SET_VALUE, KEY_CREATE_SUB_KEY,
  // DELETE, WRITE_DAC ...) answers Refused, as Windows refuses the open;
  // handles opened before fail every write with kSetDataFailedMessage and
  // every value deletion; no subkey can be created under it and DeleteKey
  // leaves it. Its subkeys are not affected. False when there is no such key.
  bool DenyWrites(RegistryRoot root, std::string_view path);

  // Makes the nth value written from now on (1: the next one), through any
  // handle, fail with kSetDataFailedMessage and leave the value as it was,
  // as a registry that fills up or is cut off halfway would. Fires once.
  void FailNthWrite(int n);

  // Adds keys and values written in the syntax of a .reg export (as UTF-8
  // text, not the UTF-16 file regedit writes):
  //
  //   Windows Registry Editor Version 5.00      (optional; so is REGEDIT4)
  //   ; comment
  //   [HKEY_LOCAL_MACHINE\SOFTWARE\Borland]     (or HKEY_CURRENT_USER)
  //   "Name"="text with \\ and \" escaped"
  //   @="the default value"
  //   "Count"=dword:0000001f
  //   "Raw"=hex:01,02,ff                        (REG_BINARY)
  //   "Path"=hex(2):25,00,41,00,25,00,00,00     (REG_EXPAND_SZ, UTF-16LE)
  //
  // Any other hex(n) is kept as Binary. A line ending in a backslash
  // continues on the next one, as regedit wraps long hex data. Lines are
  // applied in order; a line that cannot be read raises platform::Error
  // naming its number, with the lines before it already applied.
  void LoadRegText(std::string_view text);

  // One key of the tree; defined in the .cpp file. Handles share it, so a
  // handle outlives the key's deletion safely.
  struct Node;

 private:
  std::shared_ptr<Node> FindKey(RegistryRoot root, std::string_view path) const;
  std::shared_ptr<Node> CreateKey(RegistryRoot root, std::string_view path, bool ignoreDenied);

  std::shared_ptr<Node> localMachine_;
  std::shared_ptr<Node> currentUser_;
  // Writes left until the one that fails; 0 when none is to fail. Shared
  // with the handles.
  std::shared_ptr<int> writesBeforeFailure_ = std::make_shared<int>(0);
};

}  // namespace platform
