#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/WizardSettings.h"
#include "app/WizardWindow.h"
#include "bde/Engine.h"
#include "bde/Session.h"
#include "oracle/OciDriver.h"
#include "platform/TextFile.h"
#include "platform/UiServices.h"
#include "tests/FakeUi.h"
#include "tests/TempFolder.h"
#include "tests/platform/MemoryRegistry.h"

namespace app {
namespace {

using platform::MemoryRegistry;
using platform::RegistryRoot;
using Items = std::vector<std::string>;

using testing_support::FakeUi;

MemoryRegistry::Value Text(std::string text) { return {MemoryRegistry::ValueType::String, std::move(text), 0}; }

// An Oracle workstation: homes in the registry, the first one's tnsnames.ora
// in a throw-away folder, aliases of an earlier run in the engine.
class WizardWindowOracleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    registry.SetValue(RegistryRoot::CurrentUser, kSettingsKey, kServerValue, {MemoryRegistry::ValueType::Integer, {}, 1});
    home = folder.Path().string() + "/home";
  }

  void AddHome(const std::string& subkey, std::vector<std::pair<const char*, std::string>> values) {
    for (auto& [name, value] : values) {
      registry.SetValue(RegistryRoot::LocalMachine, "\\SOFTWARE\\ORACLE\\" + subkey, name, Text(value));
    }
  }

  void Tnsnames(const std::vector<std::string>& lines) {
    platform::WriteTextLines(home + "\\NETWORK\\ADMIN\\tnsnames.ora", lines);
  }

  void Alias(const std::string& name, const std::string& user, const std::string& server) {
    bde::ParameterList params;
    params.Set("USER NAME", user);
    params.Set("SERVER NAME", server);
    engine.CreateAlias(name, "ORACLE", params);
  }

  WizardWindow& Start() {
    window.emplace(registry, session, engine, ui);
    window->Dispatch([this] { window->FormShow(); });
    return *window;
  }
  void Press(Button& button) {
    window->Dispatch([&button] { button.Click(); });
  }
  template <typename Action>
  void User(Action action) {
    window->Dispatch(action);
  }
  std::string Shown() const {
    const WizardWindow& w = *window;
    return w.DBEdit1.text + "|" + w.DBEdit2.text + "|" + w.DBEdit3.text + "|" + w.DBEdit4.text;
  }

  testing_support::TempFolder folder;
  std::string home;
  MemoryRegistry registry;
  bde::Engine engine{registry, folder.Path().string() + "/none.cfg"};
  bde::Session session;
  FakeUi ui;
  std::optional<WizardWindow> window;
};

TEST_F(WizardWindowOracleTest, HomesAreListedSortedAndShownValueByValue) {
  AddHome("KEY_Z", {{"ORACLE_HOME", "C:\\z"}, {"ORACLE_HOME_NAME", "alpha"}, {"NLS_LANG", "POLISH_POLAND.EE8MSWIN1250"},
                    {"ORACLE_BUNDLE_NAME", "Enterprise"}});
  AddHome("KEY_A", {{"ORACLE_HOME", "C:\\a"}, {"ORACLE_HOME_NAME", "Beta"}});
  AddHome("KEY_M", {{"ORACLE_HOME", "C:\\m"}, {"ORACLE_HOME_NAME", "Alpha"}, {"ORACLE_BUNDLE_NAME", "Instant"}});
  AddHome("KEY_NONAME", {{"ORACLE_HOME", "C:\\x"}});
  AddHome("KEY_NOHOME", {{"ORACLE_HOME_NAME", "Gamma"}});
  AddHome("KEY_BROKEN", {{"ORACLE_HOME", "C:\\b"}});
  registry.SetValue(RegistryRoot::LocalMachine, "\\SOFTWARE\\ORACLE\\KEY_BROKEN", "ORACLE_HOME_NAME",
                    {MemoryRegistry::ValueType::Integer, {}, 7});
  WizardWindow& w = Start();
  Press(w.ButtonDalej);
  ASSERT_EQ(w.CurrentPage(), 2);
  EXPECT_EQ(w.ComboBoxOracleHome.Items(), (Items{"alpha", "Alpha", "Beta"}));
  EXPECT_EQ(w.EditFolderHome.text, "C:\\z");
  EXPECT_EQ(w.EditNLS.text, "POLISH_POLAND.EE8MSWIN1250");

  // Missing values keep the texts of the home chosen before; of two equal
  // names the one picked counts.
  User([&] { w.ComboBoxOracleHome.UserSelect(2); });
  EXPECT_EQ(w.EditFolderHome.text + "|" + w.EditBoundle.text + "|" + w.EditNLS.text,
            "C:\\a|Enterprise|POLISH_POLAND.EE8MSWIN1250");
  User([&] { w.ComboBoxOracleHome.UserSelect(1); });
  EXPECT_EQ(w.EditFolderHome.text + "|" + w.EditBoundle.text, "C:\\m|Instant");
  EXPECT_TRUE(ui.errors.empty());
}

TEST_F(WizardWindowOracleTest, SchemaUsersOfAnEarlierRunArePrefilledOnce) {
  Alias("X Novera- Ochrona", "OCH", "");
  Alias("X Novera- LM", "", "");  // empty: the box keeps its text
  Alias("x novera- lm- liczniki", "LICZ", "");
  WizardWindow& w = Start();
  Press(w.ButtonDalej);
  EXPECT_EQ(w.ComboBoxUserOchrona.text + "|" + w.ComboBoxUserLM.text + "|" + w.ComboBoxUserLiczniki.text,
            "OCH|NOVERA_LM|LICZ");
  w.ComboBoxUserOchrona.text = "TYPED";
  Press(w.ButtonWstecz);
  Press(w.ButtonDalej);
  EXPECT_EQ(w.ComboBoxUserOchrona.text, "TYPED");
  EXPECT_TRUE(w.ComboBoxOracleHome.Items().empty());
  EXPECT_TRUE(ui.errors.empty());
}

TEST_F(WizardWindowOracleTest, EntriesAreOfferedEditedStoredAndDiscarded) {
  AddHome("HOME", {{"ORACLE_HOME", home}, {"ORACLE_HOME_NAME", "Client"}});
  Tnsnames({"XE = (DESCRIPTION = (ADDRESS = (PROTOCOL = TCP)(HOST = xehost)(PORT = 1521))",
            "  (CONNECT_DATA = (SERVICE_NAME = XE)))", "ALPHA=(DESCRIPTION=(ADDRESS=(PROTOCOL=TCP)(HOST=ah)(PORT=2)))"});
  Alias("X Novera- LM", "NOVERA_LM", "xe");
  WizardWindow& w = Start();
  Press(w.ButtonDalej);
  Press(w.ButtonDalej);
  ASSERT_EQ(w.CurrentPage(), 4);
  EXPECT_EQ(w.TnsnamesFile.Folder().path, home + "\\NETWORK\\ADMIN\\");
  EXPECT_EQ(w.ComboBoxOracleServer.Items(), (Items{"ALPHA", "XE"}));
  EXPECT_EQ(w.ComboBoxOracleServer.text, "XE");  // the main alias's service
  EXPECT_EQ(Shown(), "TCP|xehost|1521|XE");

  // Typed in lower case it is a new entry, which XE's key refuses.
  User([&] { w.ComboBoxOracleServer.UserSetText("xe"); });
  EXPECT_EQ(Shown(), "TCP||1521|XE");
  EXPECT_FALSE(w.ServiceEntryModified);
  Press(w.ButtonDalej);
  EXPECT_EQ(ui.errors, (Items{"Pole 'Nazwa lub IP serwera' musi posiadać wartość."}));
  User([&] { w.DBEdit2.UserSetText("newhost"); });
  EXPECT_TRUE(w.ServiceEntryModified);
  Press(w.ButtonDalej);
  EXPECT_EQ(ui.errors.back(), "Key violation.");
  EXPECT_EQ(w.CurrentPage(), 4);

  // Picking another entry drops the change and the flag with it: an entry
  // the user did not touch is never rewritten.
  User([&] { w.ComboBoxOracleServer.UserSelect(0); });
  EXPECT_EQ(Shown(), "TCP|ah|2|XE");
  EXPECT_FALSE(w.ServiceEntryModified);
  User([&] { w.DBEdit3.UserSetText("1600"); });
  EXPECT_TRUE(w.ServiceEntryModified);
  Press(w.ButtonDalej);
  EXPECT_EQ(w.CurrentPage(), 6);
  EXPECT_EQ(w.CurrentServiceEntry(), (oracle::ServiceEntry{"ALPHA", "TCP", "ah", "1600", "XE"}));
  EXPECT_EQ(w.ClientDataSet1.Find("ALPHA")->port, "1600");

  // Back on the page: read afresh, the first entry, the flag clear.
  Press(w.ButtonWstecz);
  EXPECT_EQ(w.ComboBoxOracleServer.text, "ALPHA");
  EXPECT_EQ(Shown(), "TCP|ah|2|XE");
  EXPECT_FALSE(w.ServiceEntryModified);

  // "< Wstecz" drops what was typed.
  User([&] { w.DBEdit2.UserSetText("changed"); });
  Press(w.ButtonWstecz);
  EXPECT_EQ(w.CurrentPage(), 2);
  EXPECT_EQ(w.ClientDataSet1.Find("ALPHA")->host, "ah");
  EXPECT_EQ(Shown(), "TCP|ah|2|XE");
  EXPECT_EQ(ui.errors.size(), 2u);
}

// An empty service name or SID never leaves the service page, so it never
// reaches tnsnames.ora or an alias.
TEST_F(WizardWindowOracleTest, AnEmptyServiceNameOrSidKeepsTheUserOnTheServicePage) {
  AddHome("HOME", {{"ORACLE_HOME", home}, {"ORACLE_HOME_NAME", "Client"}});
  Tnsnames({"XE = (DESCRIPTION = (ADDRESS = (PROTOCOL = TCP)(HOST = xehost)(PORT = 1521))",
            "  (CONNECT_DATA = (SERVICE_NAME = XE)))"});
  WizardWindow& w = Start();
  Press(w.ButtonDalej);
  Press(w.ButtonDalej);
  ASSERT_EQ(w.ComboBoxOracleServer.text, "XE");

  User([&] { w.DBEdit4.UserSetText(""); });
  Press(w.ButtonDalej);
  User([&] { w.ComboBoxOracleServer.UserSetText(""); });
  User([&] { w.DBEdit2.UserSetText("db"); });
  Press(w.ButtonDalej);
  EXPECT_EQ(ui.errors, (Items{"Pole 'Nazwa bazy (SID)' musi posiadać wartość.", "Pole 'Nazwa' musi posiadać wartość."}));
  EXPECT_EQ(w.CurrentPage(), 4);
  EXPECT_EQ(w.ClientDataSet1.Names(), Items{"XE"});
}

TEST_F(WizardWindowOracleTest, WithoutAFileANewEntryIsStartedAndKeptWhenComingBack) {
  WizardWindow& w = Start();
  Press(w.ButtonDalej);
  Press(w.ButtonDalej);
  EXPECT_EQ(w.TnsnamesFile.Folder().path, "\\NETWORK\\ADMIN\\");
  EXPECT_EQ(w.ComboBoxOracleServer.text, "xe.serwer");
  EXPECT_EQ(Shown(), "TCP||1521|XE");
  for (const char* typed : {"d", "db"}) User([&] { w.DBEdit2.UserSetText(typed); });
  Press(w.ButtonDalej);
  Press(w.ButtonWstecz);
  // The entry the page started when shown again is not dropped by the step.
  EXPECT_EQ(w.CurrentPage(), 4);
  EXPECT_EQ(w.ClientDataSet1.CurrentState(), oracle::ServiceEntryTable::State::New);
  EXPECT_EQ(Shown(), "TCP||1521|XE");
  EXPECT_TRUE(ui.errors.empty());
}

TEST_F(WizardWindowOracleTest, UserListsFillAllThreeBoxesOrStayQuiet) {
  session.RegisterDriver("ORACLE", std::make_unique<oracle::OciConnectionDriver>(FAKE_OCI_LIBRARY));
  WizardWindow& w = Start();
  w.ComboBoxOracleServer.text = "XE";
  User([&] { w.ComboBoxUserLM.DropDown(); });
  for (const ComboBox* box : {&w.ComboBoxUserOchrona, &w.ComboBoxUserLM, &w.ComboBoxUserLiczniki}) {
    EXPECT_EQ(box->Items(), (Items{"SYS", "SYSTEM", "NOVERA_LM"})) << box->Name();
  }
  EXPECT_EQ(w.ComboBoxUserLM.text, "NOVERA_LM");
  w.ComboBoxOracleServer.text = "NOSUCH";
  User([&] { w.ComboBoxUserLiczniki.DropDown(); });
  EXPECT_TRUE(w.ComboBoxUserOchrona.Items().empty());
  EXPECT_EQ(w.ComboBoxUserLM.Items().size(), 3u);
  EXPECT_EQ(w.DatabaseOracle.Params().Lines().back(), "password=brevandol");
  EXPECT_TRUE(ui.errors.empty());
}

// The client comes from the chosen home's folder and nowhere else: a home
// without one, or no home at all, leaves the lists empty without a word.
TEST_F(WizardWindowOracleTest, TheUserListUsesTheClientOfTheChosenHome) {
  const std::string withClient = folder.Path().string() + "/z-with-client";
  std::filesystem::create_directories(withClient + "/lib");
  std::filesystem::copy_file(FAKE_OCI_LIBRARY, withClient + std::string(oracle::kOciLibrary));
  AddHome("KEY_A", {{"ORACLE_HOME", home}, {"ORACLE_HOME_NAME", "A bez klienta"}});
  AddHome("KEY_B", {{"ORACLE_HOME", withClient}, {"ORACLE_HOME_NAME", "B z klientem"}});
  session.RegisterDriver("ORACLE", std::make_unique<oracle::OciConnectionDriver>());
  WizardWindow& w = Start();
  w.ComboBoxOracleServer.text = "XE";
  User([&] { w.ComboBoxUserLM.DropDown(); });
  EXPECT_TRUE(w.ComboBoxUserLM.Items().empty());
  Press(w.ButtonDalej);
  ASSERT_EQ(w.EditFolderHome.text, home);
  User([&] { w.ComboBoxUserLM.DropDown(); });
  EXPECT_TRUE(w.ComboBoxUserLM.Items().empty());
  User([&] { w.ComboBoxOracleHome.UserSelect(1); });
  ASSERT_EQ(w.EditFolderHome.text, withClient);
  User([&] { w.ComboBoxUserLM.DropDown(); });
  EXPECT_EQ(w.ComboBoxUserLM.Items(), (Items{"SYS", "SYSTEM", "NOVERA_LM"}));
  EXPECT_TRUE(ui.errors.empty());
}

}  // namespace
}  // namespace app
