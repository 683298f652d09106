// One suite for every Registry backend: the in-memory one the other tests
// use must behave as the real registry wherever callers rely on it. On
// Windows (and under Wine) the same cases run against the real registry,
// inside a throw-away branch. The preview of a run must show its callers
// what the registry beneath it would hold, so it runs the suite too.

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <optional>
#include <string>
#include <vector>

#include "app/plan/PreviewRegistry.h"
#include "platform/Error.h"
#include "platform/Registry.h"
#include "platform/Text.h"
#include "tests/platform/MemoryRegistry.h"

#ifdef _WIN32
#include "platform/win32/Handles.h"
#include "platform/win32/Unicode.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Windows.h"
#include "tests/platform/win32/RegistryOverride.h"
#endif

namespace platform {
namespace {

using Names = std::vector<std::string>;

constexpr RegistryRoot kCU = RegistryRoot::CurrentUser;
constexpr RegistryRoot kLM = RegistryRoot::LocalMachine;
const std::string kBase = "\\Software\\KonfigNoveraTest";

// Value types the interface cannot write but a registry may hold.
enum class Planted { ExpandString, Binary };

class MemoryBackend {
 public:
  static constexpr const char* kName = "Memory";

  Registry& Get() { return registry_; }

  void Plant(const std::string& path, const std::string& name, Planted type,
             const std::string& data) {
    const auto memoryType = type == Planted::ExpandString ? MemoryRegistry::ValueType::ExpandString
                                                          : MemoryRegistry::ValueType::Binary;
    registry_.SetValue(kCU, path, name, {memoryType, data, 0});
  }

  void DenyWrites(const std::string& path) { ASSERT_TRUE(registry_.DenyWrites(kCU, path)); }

 private:
  MemoryRegistry registry_;
};

// A preview over a registry that holds nothing yet. A value is planted
// beneath while the preview holds nothing of its key, so that it is read
// through; once the preview holds the key, what lies beneath no longer
// shows there, and the value is planted through the preview.
class PreviewBackend {
 public:
  static constexpr const char* kName = "Preview";

  Registry& Get() { return preview_; }

  void Plant(const std::string& path, const std::string& name, Planted type,
             const std::string& data) {
    if (!preview_.KeyExists(kCU, path)) {
      beneath_.Plant(path, name, type, data);
      return;
    }
    const RegistryValue value = type == Planted::ExpandString
                                    ? TextValue(data, kRegExpandSz)
                                    : RegistryValue{kRegBinary, data};
    const OpenedKey key = preview_.OpenKey(kCU, path, kKeyAllAccess, false);
    ASSERT_TRUE(key);
    key->WriteValue(name, value);
  }

  // The key beneath refuses writing, as the real registry may: the
  // preview must refuse what it would.
  void DenyWrites(const std::string& path) {
    ASSERT_NE(beneath_.Get().OpenKey(kCU, path, kKeyAllAccess, true), nullptr);
    beneath_.DenyWrites(path);
  }

 private:
  MemoryBackend beneath_;
  app::plan::PreviewRegistry preview_{beneath_.Get()};
};

#ifdef _WIN32
class Win32Backend {
 public:
  static constexpr const char* kName = "Win32";

  Registry& Get() { return registry_; }

  void Plant(const std::string& path, const std::string& name, Planted type,
             const std::string& data) {
    win32::UniqueHKey key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, win32::Widen(path.substr(1)).c_str(), 0, nullptr,
                              0, KEY_ALL_ACCESS, nullptr, key.Put(), nullptr),
              ERROR_SUCCESS);
    const std::wstring wideName = win32::Widen(name);
    LONG result;
    if (type == Planted::ExpandString) {
      const std::wstring text = win32::Widen(data);
      result = RegSetValueExW(key.Get(), wideName.c_str(), 0, REG_EXPAND_SZ,
                              reinterpret_cast<const BYTE*>(text.c_str()),
                              static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    } else {
      result = RegSetValueExW(key.Get(), wideName.c_str(), 0, REG_BINARY,
                              reinterpret_cast<const BYTE*>(data.data()),
                              static_cast<DWORD>(data.size()));
    }
    ASSERT_EQ(result, ERROR_SUCCESS);
  }

  // Denies everyone the setting of values and the creation of subkeys, as
  // an administrator's ACL may; reading stays allowed.
  void DenyWrites(const std::string& path) {
    SetDacl(path, KEY_SET_VALUE | KEY_CREATE_SUB_KEY);
    denied_.push_back(path);
  }

  // The keys deny nothing again, so that the branch can go whatever the
  // system asks of its deletion.
  ~Win32Backend() {
    for (const std::string& path : denied_) SetDacl(path, 0);
  }

 private:
  // Everyone is denied the rights given, if any, and allowed the rest.
  static void SetDacl(const std::string& path, REGSAM denied) {
    win32::UniqueHKey key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, win32::Widen(path.substr(1)).c_str(), 0, WRITE_DAC, key.Put()),
              ERROR_SUCCESS);
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    UniqueHandle<PSID, CloseWith<FreeSid>> everyone;
    ASSERT_TRUE(AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, everyone.Put()));
    alignas(DWORD) BYTE aclBuffer[256];
    auto* acl = reinterpret_cast<PACL>(aclBuffer);
    ASSERT_TRUE(InitializeAcl(acl, sizeof aclBuffer, ACL_REVISION));
    if (denied != 0) {
      ASSERT_TRUE(AddAccessDeniedAce(acl, ACL_REVISION, denied, everyone.Get()));
    }
    ASSERT_TRUE(AddAccessAllowedAce(acl, ACL_REVISION, KEY_ALL_ACCESS, everyone.Get()));
    SECURITY_DESCRIPTOR descriptor;
    ASSERT_TRUE(InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION));
    ASSERT_TRUE(SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE));
    ASSERT_EQ(RegSetKeySecurity(key.Get(), DACL_SECURITY_INFORMATION, &descriptor), ERROR_SUCCESS);
  }

  // Declared first: the roots are redirected before any key is opened and
  // put back after the last one is closed.
  win32::RegistryOverride override_;
  win32::Win32Registry registry_;
  std::vector<std::string> denied_;
};
#endif

struct BackendNames {
  template <typename Backend>
  static std::string GetName(int) {
    return Backend::kName;
  }
};

#ifdef _WIN32
using Backends = ::testing::Types<MemoryBackend, PreviewBackend, Win32Backend>;
#else
using Backends = ::testing::Types<MemoryBackend, PreviewBackend>;
#endif

template <typename Backend>
class RegistryConformanceTest : public ::testing::Test {
 protected:
  Registry& registry() { return backend_.Get(); }

  OpenedKey Create(const std::string& path, RegistryRoot root = kCU) {
    auto key = registry().OpenKey(root, path, kKeyAllAccess, true);
    EXPECT_NE(key, nullptr) << path;
    return key;
  }

  Backend backend_;
};

TYPED_TEST_SUITE(RegistryConformanceTest, Backends, BackendNames);

// Runs body and expects the Error it raises to carry exactly message.
template <typename Body>
void ExpectError(Body body, const std::string& message) {
  try {
    body();
    ADD_FAILURE() << "no error, expected: " << message;
  } catch (const Error& error) {
    EXPECT_EQ(error.what(), message);
  }
}

// Windows lists subkeys sorted and values roughly as created; callers
// must not rely on either, and neither do these tests.
Names Sorted(Names names) {
  std::sort(names.begin(), names.end());
  return names;
}

std::string Message(std::string_view pattern, const std::string& name) {
  return Format(pattern, {name});
}

TYPED_TEST(RegistryConformanceTest, MissingKeyOpensOnlyWhenCreated) {
  for (RegistryRoot root : {kCU, kLM}) {
    const std::string path = kBase + "\\A\\B\\C";
    EXPECT_EQ(this->registry().OpenKey(root, path, kKeyRead, false), nullptr);
    EXPECT_EQ(this->registry().OpenKey(root, path, kKeyAllAccess, false), nullptr);
    // Failing to open creates nothing on the way.
    EXPECT_FALSE(this->registry().KeyExists(root, kBase));

    EXPECT_NE(this->registry().OpenKey(root, path, kKeyCreateDataSource, true), nullptr);
    for (const std::string& created : {kBase, kBase + "\\A", kBase + "\\A\\B", path}) {
      EXPECT_TRUE(this->registry().KeyExists(root, created)) << created;
    }
    EXPECT_NE(this->registry().OpenKey(root, path, kKeyRead, false), nullptr);
  }
}

TYPED_TEST(RegistryConformanceTest, RootsAreSeparate) {
  this->Create(kBase + "\\OnlyUser")->WriteString("Name", "user");
  EXPECT_FALSE(this->registry().KeyExists(kLM, kBase + "\\OnlyUser"));
  EXPECT_EQ(this->registry().OpenKey(kLM, kBase + "\\OnlyUser", kKeyRead, false), nullptr);
}

TYPED_TEST(RegistryConformanceTest, CreatingAnExistingKeyKeepsItsValues) {
  this->Create(kBase)->WriteString("Kept", "yes");
  EXPECT_EQ(this->Create(kBase)->ReadString("Kept"), "yes");
}

TYPED_TEST(RegistryConformanceTest, KeyNamesIgnoreCaseAndKeepTheirSpelling) {
  const std::string path = kBase + "\\Zażółć Gęślą";
  this->Create(path)->WriteString("Was", "here");

  const std::string shouted = "\\SOFTWARE\\KONFIGNOVERATEST\\ZAŻÓŁĆ GĘŚLĄ";
  EXPECT_TRUE(this->registry().KeyExists(kCU, shouted));
  auto key = this->registry().OpenKey(kCU, shouted, kKeyRead, false);
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->ReadString("Was"), "here");
  // Creating it again under another spelling opens the same key.
  this->Create("\\software\\konfignoveratest\\zażółć gęślą");
  EXPECT_EQ(this->Create(kBase)->SubkeyNames(), Names{"Zażółć Gęślą"});
}

TYPED_TEST(RegistryConformanceTest, StringsRoundTrip) {
  struct Case {
    std::string name;
    std::string value;
  };
  const Case cases[] = {
      {"", "wartość domyślna"},
      {"Empty", ""},
      {"Zażółć gęślą jaźń", "Zażółć gęślą jaźń"},
      {"CONFIGFILE01", "C:\\Program Files\\Borland\\Common Files\\BDE\\IDAPI32.CFG"},
      {"Two lines", "first\r\nsecond"},
      {"Long", std::string(5000, 'x') + "ż"},
      {"Percent", "%SystemRoot%\\x"},
  };
  auto key = this->Create(kBase);
  for (const Case& c : cases) key->WriteString(c.name, c.value);
  // Read back through a new handle, after every write is done.
  auto reopened = this->registry().OpenKey(kCU, kBase, kKeyRead, false);
  ASSERT_NE(reopened, nullptr);
  for (const Case& c : cases) {
    EXPECT_TRUE(reopened->ValueExists(c.name)) << c.name;
    EXPECT_EQ(reopened->ReadString(c.name), c.value) << c.name;
  }
}

TYPED_TEST(RegistryConformanceTest, IntegersRoundTrip) {
  const int32_t values[] = {0, 1, -1, 31, INT32_MIN, INT32_MAX};
  auto key = this->Create(kBase);
  for (int32_t value : values) {
    const std::string name = "Liczba " + std::to_string(value);
    key->WriteInteger(name, value);
    EXPECT_EQ(key->ReadInteger(name), value);
  }
}

TYPED_TEST(RegistryConformanceTest, AWriteReplacesTheValueOfAnotherType) {
  auto key = this->Create(kBase);
  key->WriteString("Value", "text");
  key->WriteInteger("Value", 7);
  EXPECT_EQ(key->ReadInteger("Value"), 7);
  key->WriteString("Value", "again");
  EXPECT_EQ(key->ReadString("Value"), "again");
}

TYPED_TEST(RegistryConformanceTest, ReadingAnotherTypeRaisesWrongType) {
  auto key = this->Create(kBase);
  key->WriteInteger("Liczba", 1);
  key->WriteString("Tekst", "1");
  // Four bytes with its null, the size of a DWORD: still not one.
  key->WriteString("A", "a");
  this->backend_.Plant(kBase, "Bajty", Planted::Binary, std::string("\x01\x02", 2));
  this->backend_.Plant(kBase, "Cztery bajty", Planted::Binary, std::string("\x01\x00\x00\x00", 4));
  this->backend_.Plant(kBase, "Ścieżka", Planted::ExpandString, "%TEMP%");

  struct Case {
    std::string name;
    bool asString;
  };
  const Case cases[] = {
      {"Liczba", true},
      {"LICZBA", true},  // the message names the value as asked for
      {"Tekst", false},
      {"A", false},
      {"Bajty", true},
      {"Bajty", false},
      {"Cztery bajty", false},
      {"Ścieżka", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string expected = Message(kWrongTypeMessage, c.name);
    if (c.asString) {
      ExpectError([&] { key->ReadString(c.name); }, expected);
    } else {
      ExpectError([&] { key->ReadInteger(c.name); }, expected);
    }
  }
}

TYPED_TEST(RegistryConformanceTest, ExpandStringsReadUnexpanded) {
  this->backend_.Plant(kBase, "Ścieżka", Planted::ExpandString, "%SystemRoot%\\Wspólne");
  EXPECT_EQ(this->Create(kBase)->ReadString("ścieżka"), "%SystemRoot%\\Wspólne");
}

TYPED_TEST(RegistryConformanceTest, MissingValueRaisesGetDataFailed) {
  auto key = this->Create(kBase);
  key->WriteString("Other", "x");
  for (const std::string name : {"Brak", "", "Zażółć"}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(key->ValueExists(name));
    ExpectError([&] { key->ReadString(name); }, Message(kGetDataFailedMessage, name));
    ExpectError([&] { key->ReadInteger(name); }, Message(kGetDataFailedMessage, name));
  }
}

// Only a missing value is "not there"; a value of another type, or one the
// handle may not read, is an error.
TYPED_TEST(RegistryConformanceTest, TryReadFindsNothingOnlyWhereTheValueIsMissing) {
  auto key = this->Create(kBase);
  key->WriteString("Tekst", "wartość");
  key->WriteInteger("Liczba", -7);
  EXPECT_EQ(key->TryReadString("TEKST"), "wartość");
  EXPECT_EQ(key->TryReadInteger("liczba"), -7);
  for (const std::string name : {"Brak", "", "Zażółć"}) {
    EXPECT_EQ(key->TryReadString(name), std::nullopt) << name;
    EXPECT_EQ(key->TryReadInteger(name), std::nullopt) << name;
  }
  ExpectError([&] { (void)key->TryReadString("Liczba"); }, Message(kWrongTypeMessage, "Liczba"));
  ExpectError([&] { (void)key->TryReadInteger("Tekst"); }, Message(kWrongTypeMessage, "Tekst"));

  // KEY_SET_VALUE alone: the handle cannot tell whether a value is there.
  const OpenedKey writeOnly = this->registry().OpenKey(kCU, kBase, 0x0002, false);
  ASSERT_TRUE(writeOnly);
  ExpectError([&] { (void)writeOnly->TryReadString("Brak"); }, Message(kGetDataFailedMessage, "Brak"));
  ExpectError([&] { (void)writeOnly->TryReadInteger("Liczba"); }, Message(kGetDataFailedMessage, "Liczba"));

  // Nor can a handle whose key was deleted.
  ASSERT_TRUE(this->registry().DeleteKey(kCU, kBase));
  ExpectError([&] { (void)key->TryReadString("Brak"); }, Message(kGetDataFailedMessage, "Brak"));
  ExpectError([&] { (void)key->TryReadInteger("Liczba"); }, Message(kGetDataFailedMessage, "Liczba"));
}

// A key whose writes an ACL denies opens for reading, and an open that asks
// to write is refused, which is told from a key that is not there.
TYPED_TEST(RegistryConformanceTest, OpenKeyTellsAMissingKeyFromARefusedOne) {
  const std::string denied = kBase + "\\Zablokowany";
  this->Create(denied)->WriteString("Nazwa", "zostaje");
  this->backend_.DenyWrites(denied);

  struct Case {
    std::string path;
    uint32_t access;
    bool create;
    KeyStatus status;
  };
  const Case cases[] = {
      {kBase + "\\Brak", kKeyRead, false, KeyStatus::Missing},
      {kBase + "\\Brak\\Dalej", kKeyAllAccess, false, KeyStatus::Missing},
      {denied, kKeyRead, false, KeyStatus::Opened},
      {denied, kKeyRead, true, KeyStatus::Opened},
      {denied, kKeyAllAccess, false, KeyStatus::Refused},
      {denied, kKeyAllAccess, true, KeyStatus::Refused},
      {denied, kKeyCreateDataSource, false, KeyStatus::Refused},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path + (c.create ? ", created" : ", opened") + " with " + std::to_string(c.access));
    const OpenedKey key = this->registry().OpenKey(kCU, c.path, c.access, c.create);
    EXPECT_EQ(key.Status(), c.status);
    EXPECT_EQ(static_cast<bool>(key), c.status == KeyStatus::Opened);
  }
  EXPECT_TRUE(this->registry().KeyExists(kCU, denied));
  EXPECT_EQ(this->registry().OpenKey(kCU, denied, kKeyRead, false)->ReadString("Nazwa"), "zostaje");
}

TYPED_TEST(RegistryConformanceTest, ValueNamesIgnoreCaseAndKeepTheirSpelling) {
  auto key = this->Create(kBase);
  key->WriteInteger("Żółw", 1);
  key->WriteInteger("żÓŁW", 2);
  EXPECT_TRUE(key->ValueExists("ŻÓŁW"));
  EXPECT_EQ(key->ReadInteger("żółw"), 2);
  EXPECT_EQ(key->ValueNames(), Names{"Żółw"});
}

TYPED_TEST(RegistryConformanceTest, DeleteValue) {
  auto key = this->Create(kBase);
  key->WriteString("Gęś", "x");
  key->WriteString("", "default");
  key->WriteString("Stays", "y");

  struct Case {
    const char* name;
    bool deleted;
  };
  const Case cases[] = {{"GĘŚ", true}, {"Gęś", false}, {"", true}, {"Never", false}};
  for (const Case& c : cases) {
    EXPECT_EQ(key->DeleteValue(c.name), c.deleted) << c.name;
    EXPECT_FALSE(key->ValueExists(c.name)) << c.name;
  }
  EXPECT_EQ(key->ValueNames(), Names{"Stays"});
}

TYPED_TEST(RegistryConformanceTest, DeleteKeyTakesItsSubkeys) {
  const std::string top = kBase + "\\Alias";
  this->Create(top + "\\DB INFO\\Ąę")->WriteString("PATH", "C:\\Dane");
  this->Create(top)->WriteInteger("Count", 2);
  this->Create(kBase + "\\Sibling");

  EXPECT_TRUE(this->registry().DeleteKey(kCU, "\\SOFTWARE\\KonfigNoveraTest\\ALIAS"));
  for (const std::string& gone : {top, top + "\\DB INFO", top + "\\DB INFO\\Ąę"}) {
    EXPECT_FALSE(this->registry().KeyExists(kCU, gone)) << gone;
  }
  EXPECT_TRUE(this->registry().KeyExists(kCU, kBase + "\\Sibling"));
  EXPECT_FALSE(this->registry().DeleteKey(kCU, top));
  EXPECT_FALSE(this->registry().DeleteKey(kCU, kBase + "\\Never\\Was"));
}

TYPED_TEST(RegistryConformanceTest, DeleteKeyRefusesTheRoot) {
  this->Create(kBase);
  for (const char* root : {"", "\\"}) EXPECT_FALSE(this->registry().DeleteKey(kCU, root));
  EXPECT_TRUE(this->registry().KeyExists(kCU, kBase));
}

TYPED_TEST(RegistryConformanceTest, ListsSubkeysAndValuesOfOneLevel) {
  auto key = this->Create(kBase);
  EXPECT_TRUE(key->SubkeyNames().empty());
  EXPECT_TRUE(key->ValueNames().empty());

  for (const char* name : {"Jeden", "dwa", "Żółty"}) this->Create(kBase + "\\" + name);
  this->Create(kBase + "\\Jeden\\Grandchild");
  key->WriteString("x", "1");
  key->WriteInteger("Y", 2);
  key->WriteString("", "default");

  auto reader = this->registry().OpenKey(kCU, kBase, kKeyRead, false);
  ASSERT_NE(reader, nullptr);
  EXPECT_EQ(Sorted(reader->SubkeyNames()), Sorted({"Jeden", "dwa", "Żółty"}));
  EXPECT_EQ(Sorted(reader->ValueNames()), Sorted({"x", "Y", ""}));
}

TYPED_TEST(RegistryConformanceTest, KeyOpenedForReadingRefusesWrites) {
  this->Create(kBase)->WriteString("Name", "old");
  auto key = this->registry().OpenKey(kCU, kBase, kKeyRead, false);
  ASSERT_NE(key, nullptr);

  ExpectError([&] { key->WriteString("Name", "new"); }, Message(kSetDataFailedMessage, "Name"));
  ExpectError([&] { key->WriteInteger("Nowa", 1); }, Message(kSetDataFailedMessage, "Nowa"));
  EXPECT_FALSE(key->DeleteValue("Name"));
  EXPECT_EQ(key->ReadString("Name"), "old");
  EXPECT_FALSE(key->ValueExists("Nowa"));
}

TYPED_TEST(RegistryConformanceTest, KeyDeletedUnderAnOpenHandleTakesNoMoreData) {
  auto key = this->Create(kBase + "\\Doomed");
  key->WriteString("Name", "x");
  ASSERT_TRUE(this->registry().DeleteKey(kCU, kBase));

  ExpectError([&] { key->WriteString("Name", "y"); }, Message(kSetDataFailedMessage, "Name"));
  ExpectError([&] { key->ReadString("Name"); }, Message(kGetDataFailedMessage, "Name"));
  EXPECT_FALSE(key->ValueExists("Name"));
  EXPECT_TRUE(key->ValueNames().empty());
  EXPECT_FALSE(this->registry().KeyExists(kCU, kBase + "\\Doomed"));
}

// A backup reads whatever a key holds and writes it back as it was. Texts
// here end in their null: Wine adds one to a text stored without it, where
// Windows keeps the bytes as given.
TYPED_TEST(RegistryConformanceTest, ValuesOfAnyTypeRoundTripByteForByte) {
  using namespace std::string_literals;
  struct Case {
    std::string name;
    RegistryValue value;
  };
  const Case cases[] = {
      {"Tekst", {kRegSz, "\x7c\x01\x3f\x00\x00\x00"s}},  // "ż?"
      {"Pusty", {kRegSz, "\x00\x00"s}},
      {"Ścieżka", {kRegExpandSz, "%\x00T\x00%\x00\x00\x00"s}},
      {"Bajty", {kRegBinary, "\x01\x00\xff"s}},
      {"Nic", {kRegBinary, ""}},
      {"Liczba", {kRegDword, "\x2a\x00\x00\x80"s}},
      {"Lista", {kRegMultiSz, "a\x00\x00\x00b\x00\x00\x00\x00\x00"s}},
      {"Duża liczba", {kRegQword, "\x01\x02\x03\x04\x05\x06\x07\x08"s}},
      {"Bez typu", {kRegNone, "xyz"}},
      {"", {kRegSz, "d\x00\x00\x00"s}},
  };
  auto key = this->Create(kBase);
  for (const Case& c : cases) key->WriteValue(c.name, c.value);
  auto reopened = this->registry().OpenKey(kCU, kBase, kKeyRead, false);
  ASSERT_NE(reopened, nullptr);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::optional<RegistryValue> read = reopened->TryReadValue(c.name);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->type, c.value.type);
    EXPECT_EQ(read->data, c.value.data);
  }
  EXPECT_EQ(reopened->ReadString("Tekst"), "ż?");
  EXPECT_EQ(reopened->ReadString("Ścieżka"), "%T%");
  EXPECT_EQ(reopened->ReadInteger("Liczba"), static_cast<int32_t>(0x8000002a));
  EXPECT_FALSE(reopened->TryReadValue("Brak").has_value());
}

// The raw forms of what the typed writes store, as another program reads them.
TYPED_TEST(RegistryConformanceTest, TypedValuesReadRawAsTheRegistryStoresThem) {
  using namespace std::string_literals;
  auto key = this->Create(kBase);
  key->WriteString("Tekst", "Zą");
  key->WriteInteger("Liczba", -2);
  EXPECT_EQ(key->TryReadValue("tekst"), (RegistryValue{kRegSz, "Z\x00\x05\x01\x00\x00"s}));
  EXPECT_EQ(key->TryReadValue("Liczba"), (RegistryValue{kRegDword, "\xfe\xff\xff\xff"s}));
}

TYPED_TEST(RegistryConformanceTest, RawWritesAreRefusedWhereTypedOnesAre) {
  this->Create(kBase)->WriteString("Name", "old");
  auto key = this->registry().OpenKey(kCU, kBase, kKeyRead, false);
  ASSERT_NE(key, nullptr);
  ExpectError([&] { key->WriteValue("Name", {kRegBinary, "x"}); }, Message(kSetDataFailedMessage, "Name"));
  EXPECT_EQ(key->ReadString("Name"), "old");
}

#ifdef _WIN32
TEST(RegistryOverrideTest, RedirectsBothRootsAndLeavesNothingBehind) {
  win32::Win32Registry registry;
  const std::string marker = kBase + "\\Marker";
  std::string branch;
  {
    win32::RegistryOverride override;
    branch = "\\" + override.BranchPath();
    EXPECT_FALSE(registry.KeyExists(kCU, branch));
    for (RegistryRoot root : {kCU, kLM}) {
      auto top = registry.OpenKey(root, "", kKeyRead, false);
      ASSERT_NE(top, nullptr);
      EXPECT_TRUE(top->SubkeyNames().empty());
      EXPECT_NE(registry.OpenKey(root, marker, kKeyAllAccess, true), nullptr);
    }
  }
  EXPECT_FALSE(registry.KeyExists(kCU, branch));
  EXPECT_FALSE(registry.KeyExists(kCU, std::string("\\") + win32::RegistryOverride::kParentPath));
  EXPECT_FALSE(registry.KeyExists(kCU, marker));
  EXPECT_FALSE(registry.KeyExists(kLM, marker));
}

// The 32-bit BDE, its ODBC drivers and Oracle clients keep their keys in the
// 32-bit view: what the layer writes must be there, whatever processor the
// program was built for, and on a 64-bit system not in the 64-bit view.
TEST(Win32RegistryViewTest, WritesTheThirtyTwoBitView) {
  win32::Win32Registry registry;
  const std::string path =
      "\\SOFTWARE\\KonfigNoveraViewTest" + std::to_string(GetCurrentProcessId());
  ASSERT_NE(registry.OpenKey(kLM, path + "\\Child", kKeyAllAccess, true), nullptr);
  const std::wstring relative = win32::Widen(path.substr(1));
  const auto visible = [&](REGSAM view) {
    win32::UniqueHKey key;
    return RegOpenKeyExW(HKEY_LOCAL_MACHINE, relative.c_str(), 0, KEY_READ | view, key.Put()) ==
           ERROR_SUCCESS;
  };
  EXPECT_TRUE(visible(KEY_WOW64_32KEY));
  BOOL wow64 = FALSE;
  IsWow64Process(GetCurrentProcess(), &wow64);
  if (sizeof(void*) == 8 || wow64) {
    EXPECT_FALSE(visible(KEY_WOW64_64KEY));
  }

  EXPECT_TRUE(registry.DeleteKey(kLM, path));
  EXPECT_FALSE(visible(KEY_WOW64_32KEY));
}
#endif

}  // namespace
}  // namespace platform
