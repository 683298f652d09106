#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "app/plan/PreviewRegistry.h"
#include "tests/RegistryDump.h"
#include "tests/platform/MemoryRegistry.h"

namespace app::plan {
namespace {

using namespace std::string_literals;
using platform::KeyStatus;
using platform::Registry;
using platform::RegistryValue;
using Names = std::vector<std::string>;

constexpr platform::RegistryRoot kLM = platform::RegistryRoot::LocalMachine;
constexpr platform::RegistryRoot kCU = platform::RegistryRoot::CurrentUser;
const std::string kEngine = "\\SOFTWARE\\Borland\\Database Engine";
const std::string kOdbc = "\\SOFTWARE\\ODBC\\ODBC.INI";
const std::string kSource = kOdbc + "\\Novera LM";

constexpr const char* kWorkstation =
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Borland\\Database Engine]\n"
    "\"CONFIGFILE01\"=\"C:\\\\BDE\\\\IDAPI32.CFG\"\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\ODBC\\ODBC.INI\\Novera LM]\n"
    "\"Driver\"=\"C:\\\\sqlncli.dll\"\n\"Count\"=dword:00000002\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\ODBC\\ODBC.INI\\Novera LM\\Łódź\\Głębiej]\n\"X\"=\"y\"\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\ODBC\\ODBC.INI\\ODBC Data Sources]\n\"Novera LM\"=\"SQL Server\"\n";

class PreviewRegistryTest : public ::testing::Test {
 protected:
  PreviewRegistryTest() { beneath_.LoadRegText(kWorkstation); }

  platform::OpenedKey Open(const std::string& path, bool create = false) {
    return preview_.OpenKey(kLM, path, platform::kKeyAllAccess, create);
  }

  platform::MemoryRegistry beneath_;
  PreviewRegistry preview_{beneath_};
};

// Each step is done to the preview and to a registry of its own that
// really changes: afterwards the preview shows exactly what that one holds,
// and the registry beneath is as it was.
TEST_F(PreviewRegistryTest, ShowsWhatTheWritesWouldLeaveAndChangesNothingBeneath) {
  struct Step {
    const char* what;
    // Runs on both registries, so what it expects holds of both.
    std::function<void(Registry&)> run;
  };
  const auto open = [](Registry& registry, const std::string& path, bool create) {
    return registry.OpenKey(kLM, path, platform::kKeyAllAccess, create);
  };
  const std::string created = "\\SOFTWARE\\Novera\\Nowy";
  const Step steps[] = {
      {"write beside values beneath", [&](Registry& r) { open(r, kSource, false)->WriteString("Server", "S1"); }},
      {"overwrite another spelling", [&](Registry& r) { open(r, kSource, false)->WriteInteger("COUNT", -3); }},
      {"delete a value beneath", [&](Registry& r) { EXPECT_TRUE(open(r, kSource, false)->DeleteValue("driver")); }},
      {"delete a missing value", [&](Registry& r) { EXPECT_FALSE(open(r, kSource, false)->DeleteValue("Brak")); }},
      {"create with parents", [&](Registry& r) { open(r, created + "\\Ąę", true)->WriteString("", "x"); }},
      {"write raw",
       [&](Registry& r) {
         open(r, kEngine, true)->WriteValue("Lista", {platform::kRegMultiSz, "a\0\0\0\0\0"s});
       }},
      {"delete unread subkeys",
       [&](Registry& r) { EXPECT_TRUE(r.DeleteKey(kLM, "\\software\\odbc\\odbc.ini\\NOVERA LM")); }},
      {"create it again", [&](Registry& r) { open(r, kSource + "\\Nowy", true)->WriteString("Driver", "new"); }},
      {"delete a key made here", [&](Registry& r) { EXPECT_TRUE(r.DeleteKey(kLM, created)); }},
      {"delete it twice", [&](Registry& r) { EXPECT_FALSE(r.DeleteKey(kLM, created)); }},
      {"open a deleted key",
       [&](Registry& r) { EXPECT_EQ(open(r, kSource + "\\Łódź", false).Status(), KeyStatus::Missing); }},
      {"the other root",
       [&](Registry& r) { r.OpenKey(kCU, "\\Software\\Novera", platform::kKeyAllAccess, true)->WriteInteger("N", 1); }},
  };
  platform::MemoryRegistry expected;
  expected.LoadRegText(kWorkstation);
  const std::string before = testing_support::DumpRegistry(beneath_);
  // Any value written beneath would fail.
  beneath_.FailNthWrite(1);

  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.run(preview_);
    step.run(expected);
  }
  EXPECT_EQ(testing_support::DumpRegistry(preview_), testing_support::DumpRegistry(expected));
  EXPECT_EQ(testing_support::DumpRegistry(beneath_), before);
}

TEST_F(PreviewRegistryTest, DeletingAKeyHidesWhatLiesBeneathItUnread) {
  ASSERT_TRUE(preview_.DeleteKey(kLM, kOdbc));
  for (const std::string& gone : {kOdbc, kSource, kSource + "\\Łódź\\Głębiej", kOdbc + "\\ODBC Data Sources"}) {
    EXPECT_FALSE(preview_.KeyExists(kLM, gone)) << gone;
    EXPECT_FALSE(preview_.DeleteKey(kLM, gone)) << gone;
    EXPECT_TRUE(beneath_.KeyExists(kLM, gone)) << gone;
  }
  EXPECT_TRUE(Open("\\SOFTWARE\\ODBC")->SubkeyNames().empty());

  // Created again, the key holds nothing of what was beneath it.
  const platform::OpenedKey again = Open(kSource, true);
  ASSERT_TRUE(again);
  EXPECT_TRUE(again->ValueNames().empty());
  EXPECT_TRUE(again->SubkeyNames().empty());
  EXPECT_EQ(Open(kOdbc)->SubkeyNames(), Names{"Novera LM"});
}

TEST_F(PreviewRegistryTest, AKeyRefusedBeneathIsRefusedInThePreview) {
  ASSERT_TRUE(beneath_.DenyWrites(kLM, kEngine));
  struct Case {
    std::string path;
    uint32_t access;
    bool create;
    KeyStatus status;
  };
  const Case cases[] = {
      {kEngine, platform::kKeyRead, false, KeyStatus::Opened},
      {kEngine, platform::kKeyAllAccess, false, KeyStatus::Refused},
      {kEngine, platform::kKeyAllAccess, true, KeyStatus::Refused},
      {kEngine, platform::kKeyCreateDataSource, false, KeyStatus::Refused},
      {kEngine + "\\Nowy", platform::kKeyAllAccess, true, KeyStatus::Refused},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(preview_.OpenKey(kLM, c.path, c.access, c.create).Status(), c.status) << c.path << " " << c.access;
  }
  EXPECT_FALSE(preview_.DeleteKey(kLM, kEngine));
  EXPECT_EQ(preview_.OpenKey(kLM, kEngine, platform::kKeyRead, false)->ReadString("CONFIGFILE01"),
            "C:\\BDE\\IDAPI32.CFG");
}

// Values read through, copied at the first write beside them, or written
// here keep their bytes, whatever they are.
TEST_F(PreviewRegistryTest, RawValuesKeepTheirBytes) {
  const RegistryValue values[] = {
      {platform::kRegSz, "a\0b\0"s},  // no null of its own
      {platform::kRegMultiSz, "a\0\0\0b\0\0\0\0\0"s},
      {platform::kRegQword, "\x01\x02\x03\x04\x05\x06\x07\x08"s},
      {platform::kRegDword, "\x01\x02\x03"s},
      {platform::kRegNone, ""},
  };
  for (size_t i = 0; i < std::size(values); ++i) {
    beneath_.SetValue(kLM, kSource, "Beneath " + std::to_string(i),
                      {platform::MemoryRegistry::ValueType::Raw, values[i].data, 0, values[i].type});
  }
  const platform::OpenedKey copied = Open(kSource);
  const platform::OpenedKey created = Open("\\SOFTWARE\\Novera", true);
  for (size_t i = 0; i < std::size(values); ++i) {
    const std::string name = "Beneath " + std::to_string(i);
    EXPECT_EQ(copied->TryReadValue(name), values[i]) << "read through: " << name;
    copied->WriteValue("Here " + std::to_string(i), values[i]);
    created->WriteValue(name, values[i]);
  }
  for (size_t i = 0; i < std::size(values); ++i) {
    const std::string name = "Beneath " + std::to_string(i);
    EXPECT_EQ(copied->TryReadValue(name), values[i]) << "copied: " << name;
    EXPECT_EQ(copied->TryReadValue("Here " + std::to_string(i)), values[i]) << i;
    EXPECT_EQ(created->TryReadValue(name), values[i]) << "created: " << name;
  }
  EXPECT_EQ(copied->ReadString("Driver"), "C:\\sqlncli.dll");
}

}  // namespace
}  // namespace app::plan
