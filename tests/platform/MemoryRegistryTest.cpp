#include "tests/platform/MemoryRegistry.h"

#include <gtest/gtest.h>

#include "tests/ErrorOf.h"

#include <algorithm>
#include <functional>

#include "platform/Error.h"
#include "platform/Text.h"

namespace platform {
namespace {

using Names = std::vector<std::string>;

constexpr RegistryRoot kCU = RegistryRoot::CurrentUser;
constexpr RegistryRoot kLM = RegistryRoot::LocalMachine;

using testing_support::ErrorOf;

TEST(MemoryRegistryTest, LoadsRegText) {
  MemoryRegistry registry;
  registry.LoadRegText(
      "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n"
      "\r\n"
      "; The BDE as a 32-bit installer leaves it.\r\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Borland\\Database Engine]\r\n"
      "\"CONFIGFILE01\"=\"C:\\\\Program Files\\\\Wspólne\\\\IDAPI32.CFG\"\r\n"
      "\"Quoted\"=\"say \\\"tak\\\"\"\r\n"
      "@=\"domyślna\"\r\n"
      "\"Count\"=dword:0000001f\r\n"
      "\"Minus\"=dword:FFFFFFFF\r\n"
      "\"Raw\"=hex:01,02,ff\r\n"
      "\"Empty raw\"=hex:\r\n"
      "\"Path\"=hex(2):25,00,54,00,45,00,4d,00,50,00,25,00,5c,00,7c,01,00,00\n"
      "\"Long\"=hex:00,01,\\\n"
      "  02,03\n"
      "\"Multi\"=hex(7):61,00,00,00,00,00\n"
      "\n"
      "[HKEY_CURRENT_USER\\Software\\Novera\\Pusty]\r"
      "[HKEY_CURRENT_USER\\Software\\Novera\\Zażółć]\n"
      "\"Gęślą\"=\"jaźń\"\n"
      "[hkey_current_user\\SOFTWARE\\NOVERA\\ZAŻÓŁĆ]\n"
      "\"Second\"=dword:2\n");

  auto bde = registry.OpenKey(kLM, "\\SOFTWARE\\Borland\\Database Engine", kKeyRead, false);
  ASSERT_NE(bde, nullptr);
  EXPECT_EQ(bde->ReadString("CONFIGFILE01"), "C:\\Program Files\\Wspólne\\IDAPI32.CFG");
  EXPECT_EQ(bde->ReadString("Quoted"), "say \"tak\"");
  EXPECT_EQ(bde->ReadString(""), "domyślna");
  EXPECT_EQ(bde->ReadInteger("Count"), 31);
  EXPECT_EQ(bde->ReadInteger("Minus"), -1);
  EXPECT_EQ(bde->ReadString("Path"), "%TEMP%\\ż");
  for (const char* binary : {"Raw", "Empty raw", "Long", "Multi"}) {
    EXPECT_TRUE(bde->ValueExists(binary)) << binary;
    EXPECT_EQ(ErrorOf([&] { bde->ReadString(binary); }), Format(kWrongTypeMessage, {binary}));
    EXPECT_EQ(ErrorOf([&] { bde->ReadInteger(binary); }), Format(kWrongTypeMessage, {binary}));
  }

  EXPECT_TRUE(registry.KeyExists(kCU, "\\Software\\Novera\\Pusty"));
  auto novera = registry.OpenKey(kCU, "\\Software\\Novera", kKeyRead, false);
  ASSERT_NE(novera, nullptr);
  EXPECT_EQ(novera->SubkeyNames(), (Names{"Pusty", "Zażółć"}));
  auto polish = registry.OpenKey(kCU, "\\Software\\Novera\\Zażółć", kKeyRead, false);
  ASSERT_NE(polish, nullptr);
  EXPECT_EQ(polish->ReadString("GĘŚLĄ"), "jaźń");
  EXPECT_EQ(polish->ReadInteger("Second"), 2);
  EXPECT_FALSE(registry.KeyExists(kLM, "\\Software\\Novera"));
}

TEST(MemoryRegistryTest, RegTextErrorsNameTheLine) {
  struct Case {
    std::string text;
    int line;
  };
  const std::string key = "[HKEY_CURRENT_USER\\Software\\X]\n";
  const Case cases[] = {
      {"REGEDIT4\n\n\"Before\"=\"any key\"\n", 3},
      {"[HKEY_CLASSES_ROOT\\Software]\n", 1},
      {"[HKEY_CURRENT_USER\\Software\n", 1},
      {"[-HKEY_CURRENT_USER\\Software]\n", 1},
      {key + "\"Open\"=\"no end\n", 2},
      {key + "\"Escape\"=\"C:\\Dane\"\n", 2},
      {key + "\"NoValue\"\n", 2},
      {key + "Bare=\"x\"\n", 2},
      {key + "\"Trailing\"=\"x\" y\n", 2},
      {key + "\"Deleted\"=-\n", 2},
      {key + "\"Big\"=dword:100000000\n", 2},
      {key + "\"Digits\"=dword:12g4\n", 2},
      {key + "\"NoDigits\"=dword:\n", 2},
      {key + "\"Byte\"=hex:01,2g\n", 2},
      {key + "\"Wide\"=hex:100\n", 2},
      {key + "\"Gap\"=hex:01,,02\n", 2},
      {key + "\"Kind\"=hex(2:00\n", 2},
      // A continued value counts as the line it starts on.
      {key + "\"Long\"=hex:01,\\\n  02\n\"Next\"=bad\n", 4},
      {key + "\"Long\"=hex:01,\\\n  0z\n", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    MemoryRegistry registry;
    const std::string message = ErrorOf([&] { registry.LoadRegText(c.text); });
    EXPECT_NE(message.find("line " + std::to_string(c.line) + " "), std::string::npos) << message;
  }
}

TEST(MemoryRegistryTest, DeniedKeyRefusesWriteAccessButStillReads) {
  MemoryRegistry registry;
  const std::string path = "\\Software\\Novera\\KonfigNovera";
  registry.SetValue(kCU, path, "Serwer", {MemoryRegistry::ValueType::Integer, {}, 1});
  registry.SetValue(kCU, path + "\\Child", "Name", {MemoryRegistry::ValueType::String, "x", 0});
  auto openedBefore = registry.OpenKey(kCU, path, kKeyAllAccess, false);
  ASSERT_NE(openedBefore, nullptr);

  ASSERT_TRUE(registry.DenyWrites(kCU, "\\SOFTWARE\\NOVERA\\konfignovera"));

  struct OpenCase {
    uint32_t access;
    bool create;
    bool opens;
  };
  const OpenCase opens[] = {
      {kKeyRead, false, true},
      {kKeyRead, true, true},
      {kKeyAllAccess, false, false},
      {kKeyAllAccess, true, false},
      {kKeyCreateDataSource, true, false},
  };
  for (const OpenCase& c : opens) {
    EXPECT_EQ(registry.OpenKey(kCU, path, c.access, c.create) != nullptr, c.opens)
        << std::hex << c.access << " create " << c.create;
  }
  EXPECT_EQ(registry.OpenKey(kCU, path, kKeyRead, false)->ReadInteger("Serwer"), 1);

  // A handle opened before the denial fails every write and changes nothing.
  EXPECT_EQ(ErrorOf([&] { openedBefore->WriteInteger("Serwer", 2); }),
            Format(kSetDataFailedMessage, {"Serwer"}));
  EXPECT_EQ(ErrorOf([&] { openedBefore->WriteString("Wersja", "2"); }),
            Format(kSetDataFailedMessage, {"Wersja"}));
  EXPECT_FALSE(openedBefore->DeleteValue("Serwer"));
  EXPECT_EQ(openedBefore->ReadInteger("Serwer"), 1);
  EXPECT_FALSE(openedBefore->ValueExists("Wersja"));

  // No new subkey, no deletion; existing subkeys keep their own rights.
  EXPECT_EQ(registry.OpenKey(kCU, path + "\\New", kKeyRead, true), nullptr);
  EXPECT_FALSE(registry.KeyExists(kCU, path + "\\New"));
  EXPECT_FALSE(registry.DeleteKey(kCU, path));
  EXPECT_TRUE(registry.KeyExists(kCU, path));
  auto child = registry.OpenKey(kCU, path + "\\Child", kKeyAllAccess, false);
  ASSERT_NE(child, nullptr);
  child->WriteString("Name", "y");
  EXPECT_EQ(child->ReadString("Name"), "y");

  EXPECT_FALSE(registry.DenyWrites(kCU, path + "\\Missing"));
}

TEST(MemoryRegistryTest, HandleAllowsOnlyWhatItsAccessAskedFor) {
  MemoryRegistry registry;
  const std::string path = "\\Software\\Novera";
  registry.SetValue(kCU, path, "Name", {MemoryRegistry::ValueType::String, "x", 0});
  registry.SetValue(kCU, path + "\\Child", "", {});
  constexpr uint32_t kQueryValue = 0x0001;
  constexpr uint32_t kSetValue = 0x0002;
  constexpr uint32_t kEnumerateSubKeys = 0x0008;

  auto setOnly = registry.OpenKey(kCU, path, kSetValue, false);
  ASSERT_NE(setOnly, nullptr);
  setOnly->WriteString("Name", "y");
  EXPECT_FALSE(setOnly->ValueExists("Name"));
  EXPECT_EQ(ErrorOf([&] { setOnly->ReadString("Name"); }), Format(kGetDataFailedMessage, {"Name"}));
  EXPECT_TRUE(setOnly->ValueNames().empty());
  EXPECT_TRUE(setOnly->SubkeyNames().empty());

  auto queryOnly = registry.OpenKey(kCU, path, kQueryValue, false);
  EXPECT_EQ(queryOnly->ReadString("Name"), "y");
  EXPECT_TRUE(queryOnly->SubkeyNames().empty());
  EXPECT_EQ(registry.OpenKey(kCU, path, kEnumerateSubKeys, false)->SubkeyNames(), Names{"Child"});
}

// Whatever the order, each name is listed once, spelled as first written.
TEST(MemoryRegistryTest, ListsEachNameOnceAsFirstSpelled) {
  MemoryRegistry registry;
  for (const char* name : {"b", "A", "c", "B"}) {
    registry.SetValue(kCU, std::string("\\K\\") + name, name, {});
  }
  auto key = registry.OpenKey(kCU, "\\K", kKeyAllAccess, false);
  key->WriteString("z", "");
  key->WriteString("a", "");
  key->WriteString("Z", "again");
  Names subkeys = key->SubkeyNames();
  Names values = key->ValueNames();
  std::sort(subkeys.begin(), subkeys.end());
  std::sort(values.begin(), values.end());
  EXPECT_EQ(subkeys, (Names{"A", "b", "c"}));
  EXPECT_EQ(values, (Names{"a", "z"}));
}

}  // namespace
}  // namespace platform
