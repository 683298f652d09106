#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/ErrorText.h"
#include "app/WizardSettings.h"
#include "app/WizardWindow.h"
#include "bde/Engine.h"
#include "bde/Session.h"
#include "platform/Error.h"
#include "platform/UiServices.h"
#include "tests/FakeUi.h"
#include "tests/TempFolder.h"
#include "tests/platform/MemoryRegistry.h"

namespace app {
namespace {

using platform::MemoryRegistry;
using platform::RegistryRoot;

using testing_support::FakeUi;

MemoryRegistry::Value Dword(int32_t value) {
  return {MemoryRegistry::ValueType::Integer, {}, static_cast<uint32_t>(value)};
}

class WizardWindowTest : public ::testing::Test {
 protected:
  void Store(std::optional<int32_t> server, std::optional<int32_t> version) {
    if (server) registry.SetValue(RegistryRoot::CurrentUser, kSettingsKey, kServerValue, Dword(*server));
    if (version) registry.SetValue(RegistryRoot::CurrentUser, kSettingsKey, kVersionValue, Dword(*version));
  }

  std::optional<int32_t> Stored(const char* name) {
    auto key = registry.OpenKey(RegistryRoot::CurrentUser, kSettingsKey, platform::kKeyRead, false);
    if (!key) return std::nullopt;
    return key->TryReadInteger(name);
  }

  WizardWindow& Start(std::function<void()> onChanged = {}) {
    window.emplace(registry, session, engine, ui, (folder.Path() / "KonfigNovera").string());
    window->onChanged = std::move(onChanged);
    window->Dispatch([this] { window->FormShow(); });
    return *window;
  }

  // Presses a button the way the user does: through the top-level handler,
  // and only when the button can be pressed.
  void Press(Button& button) {
    window->Dispatch([&button] { button.Click(); });
  }

  std::string Buttons() const {
    return std::string(window->ButtonWstecz.enabled ? "W" : "-") + (window->ButtonDalej.enabled ? "D" : "-") +
           (window->ButtonWykonaj.enabled ? "X" : "-");
  }

  testing_support::TempFolder folder;
  MemoryRegistry registry;
  bde::Engine engine{registry, "/nonexistent/konfignovera-test.cfg"};
  bde::Session session;
  FakeUi ui;
  std::optional<WizardWindow> window;
};

TEST_F(WizardWindowTest, FirstStartCreatesTheSettingsWithTheDefaults) {
  WizardWindow& w = Start();
  EXPECT_EQ(Stored(kServerValue), 0);
  EXPECT_EQ(Stored(kVersionValue), 2);
  EXPECT_EQ(w.AliasPrefix(), "X ");
  EXPECT_EQ(w.CurrentPage(), 0);
  EXPECT_EQ(w.PageControl2.ActiveIndex(), 0);
  EXPECT_EQ(Buttons(), "-D-");
  EXPECT_TRUE(ui.errors.empty());
  for (PageControl* pages : {&w.PageControl1, &w.PageControl2}) {
    for (Page* page : pages->Pages()) EXPECT_FALSE(page->tabVisible) << page->Name();
  }
  EXPECT_EQ(engine.GetConfigurationMode(), bde::ConfigurationMode::Persistent);
}

TEST_F(WizardWindowTest, StoredChoicesAreRestoredClampedAndWrittenBack) {
  struct Case {
    std::optional<int32_t> server, version;
    int shownServer, shownVersion;
    const char* prefix;
    int32_t storedServer, storedVersion;
  };
  const Case cases[] = {
      {1, 0, 1, 0, "II ", 1, 0},
      {0, 1, 0, 1, "X ", 0, 1},
      {5, 7, 1, 2, "X ", 1, 2},     // at or above the item count: the last item
      {-5, 0, -1, 0, "II ", -1, 0},  // below -1: no item marked
      {1, -1, 1, -1, "X ", 1, -1},
      {std::nullopt, 0, 0, 0, "II ", 0, 0},
      {1, std::nullopt, 1, 2, "X ", 1, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "stored " << c.server.value_or(99) << "," << c.version.value_or(99));
    registry.DeleteKey(RegistryRoot::CurrentUser, kSettingsKey);
    Store(c.server, c.version);
    WizardWindow& w = Start();
    EXPECT_EQ(w.ServerKind(), c.shownServer);
    EXPECT_EQ(w.VersionIndex(), c.shownVersion);
    EXPECT_EQ(w.AliasPrefix(), c.prefix);
    EXPECT_EQ(Stored(kServerValue), c.storedServer);
    EXPECT_EQ(Stored(kVersionValue), c.storedVersion);
    EXPECT_TRUE(ui.errors.empty());
  }
}

TEST_F(WizardWindowTest, AliasPrefixFollowsVersionAndTestCopy) {
  struct Case {
    int version;
    bool testCopy;
    const char* prefix;
  };
  for (const Case& c : {Case{0, false, "II "}, Case{0, true, "Kopia "}, Case{1, false, "X "},
                        Case{1, true, "KopiaX "}, Case{2, false, "X "}, Case{2, true, "KopiaX "},
                        Case{-1, false, "X "}, Case{-1, true, "KopiaX "}}) {
    EXPECT_EQ(AliasPrefixFor(c.version, c.testCopy), c.prefix) << c.version << " " << c.testCopy;
  }

  // The same through the controls, each change written at once.
  WizardWindow& w = Start();
  w.Dispatch([&] { w.RadioGroupWersja.SetItemIndex(1); });
  w.Dispatch([&] { w.CheckBoxKopia.SetChecked(true); });
  EXPECT_EQ(w.AliasPrefix(), "KopiaX ");
  w.Dispatch([&] { w.RadioGroupWersja.SetItemIndex(0); });
  EXPECT_EQ(w.AliasPrefix(), "Kopia ");
  EXPECT_EQ(Stored(kVersionValue), 0);
  w.Dispatch([&] { w.CheckBoxKopia.SetChecked(false); });
  EXPECT_EQ(w.AliasPrefix(), "II ");

  // The server kind alone leaves the prefix but rewrites both values.
  registry.DeleteKey(RegistryRoot::CurrentUser, kSettingsKey);
  w.Dispatch([&] { w.RadioGroupSerwer.SetItemIndex(1); });
  EXPECT_EQ(w.AliasPrefix(), "II ");
  EXPECT_EQ(Stored(kServerValue), 1);
  EXPECT_EQ(Stored(kVersionValue), 0);
}

TEST_F(WizardWindowTest, EachServerKindWalksItsOwnPagesWithTheRightButtons) {
  struct Case {
    int server;
    std::vector<int> forward;
    int last;
  };
  for (const Case& c : {Case{0, {0, 1, 3, 5}, 5}, Case{1, {0, 2, 4, 6}, 6}, Case{-1, {0, 2, 4, 6}, 6}}) {
    SCOPED_TRACE(c.server);
    Store(c.server == -1 ? -5 : c.server, 2);
    WizardWindow& w = Start();
    ASSERT_EQ(w.ServerKind(), c.server);
    for (size_t i = 0; i < c.forward.size(); ++i) {
      EXPECT_EQ(w.CurrentPage(), c.forward[i]);
      EXPECT_EQ(Buttons(), i == 0 ? "-D-" : w.CurrentPage() == c.last ? "W-X" : "WD-");
      // Without tnsnames.ora the service page starts a new entry, which
      // needs a host before the page can be left.
      if (w.CurrentPage() == 4) w.Dispatch([&] { w.DBEdit2.UserSetText("db"); });
      Press(w.ButtonDalej);
    }
    // "Dalej >" is disabled on the last page: no step leaves the range.
    EXPECT_EQ(w.CurrentPage(), c.last);
    for (size_t i = c.forward.size(); i-- > 0;) {
      EXPECT_EQ(w.CurrentPage(), c.forward[i]);
      Press(w.ButtonWstecz);
    }
    EXPECT_EQ(w.CurrentPage(), 0);
    EXPECT_EQ(Buttons(), "-D-");
  }
}

TEST_F(WizardWindowTest, ServerKindChangedOnTheFirstPageTakesEffectWithTheNextStep) {
  Store(1, 2);
  WizardWindow& w = Start();
  Press(w.ButtonDalej);
  EXPECT_EQ(w.CurrentPage(), 2);
  Press(w.ButtonWstecz);
  w.Dispatch([&] { w.RadioGroupSerwer.SetItemIndex(0); });
  Press(w.ButtonDalej);
  EXPECT_EQ(w.CurrentPage(), 1);
  EXPECT_EQ(Buttons(), "WD-");
}

TEST_F(WizardWindowTest, ArchiveFieldIsShownForVersionElevenOnly) {
  WizardWindow& w = Start();
  EXPECT_FALSE(w.LabelBazaArchiwum.visible);
  for (int press = 0; press < 3; ++press) Press(w.ButtonDalej);
  ASSERT_EQ(w.CurrentPage(), 5);
  EXPECT_TRUE(w.LabelBazaArchiwum.visible);
  EXPECT_TRUE(w.ComboBoxBazaArchiwum.visible);

  for (int press = 0; press < 3; ++press) Press(w.ButtonWstecz);
  w.Dispatch([&] { w.RadioGroupWersja.SetItemIndex(1); });
  for (int press = 0; press < 3; ++press) Press(w.ButtonDalej);
  EXPECT_FALSE(w.LabelBazaArchiwum.visible);
  EXPECT_FALSE(w.ComboBoxBazaArchiwum.visible);
}

TEST_F(WizardWindowTest, ConfigFileNameIsShownWhenTheBdeKeyNamesOne) {
  Start();
  EXPECT_EQ(window->LabelConfigFile.text, "");

  registry.SetValue(RegistryRoot::LocalMachine, kBdeKey, kConfigFileValue,
                    {MemoryRegistry::ValueType::String, "C:\\Program Files\\Wspólne\\IDAPI32.CFG", 0});
  Start();
  EXPECT_EQ(window->LabelConfigFile.text, "C:\\Program Files\\Wspólne\\IDAPI32.CFG");
}

TEST_F(WizardWindowTest, FailedRestoreIsReportedAndTheRememberedChoicesSurvive) {
  struct Case {
    const char* what;
    MemoryRegistry::Value server, version, configFile;
    const char* error;
  };
  const MemoryRegistry::Value text{MemoryRegistry::ValueType::String, "0", 0};
  const MemoryRegistry::Value path{MemoryRegistry::ValueType::String, "C:\\BDE\\IDAPI32.CFG", 0};
  const Case cases[] = {
      {"configuration file name of the wrong type", Dword(1), Dword(0), Dword(3),
       "Niepoprawny typ danych : CONFIGFILE01."},
      {"version of the wrong type", Dword(1), text, path, "Niepoprawny typ danych : Wersja."},
      {"server of the wrong type", text, Dword(0), path, "Niepoprawny typ danych : Server."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ui.errors.clear();
    registry.SetValue(RegistryRoot::CurrentUser, kSettingsKey, kServerValue, c.server);
    registry.SetValue(RegistryRoot::CurrentUser, kSettingsKey, kVersionValue, c.version);
    registry.SetValue(RegistryRoot::LocalMachine, kBdeKey, kConfigFileValue, c.configFile);
    WizardWindow& w = Start();
    ASSERT_EQ(ui.errors, std::vector<std::string>{c.error});
    // The first page stands with its buttons and the defaults.
    EXPECT_EQ(w.CurrentPage(), 0);
    EXPECT_EQ(Buttons(), "-D-");
    EXPECT_EQ(w.ServerKind(), 0);
    EXPECT_EQ(w.VersionIndex(), 2);
    EXPECT_EQ(w.AliasPrefix(), "X ");
    // Start-up wrote nothing back: each value is as it was, type and all.
    auto key = registry.OpenKey(RegistryRoot::CurrentUser, kSettingsKey, platform::kKeyRead, false);
    for (const auto& [name, value] : {std::pair{kServerValue, c.server}, std::pair{kVersionValue, c.version}}) {
      if (value.type == MemoryRegistry::ValueType::Integer) {
        EXPECT_EQ(key->ReadInteger(name), static_cast<int32_t>(value.number)) << name;
      } else {
        EXPECT_EQ(key->ReadString(name), value.data) << name;
      }
    }
  }

  // A choice the user changes is stored as at any other time.
  window->Dispatch([&] { window->CheckBoxKopia.SetChecked(true); });
  EXPECT_EQ(window->AliasPrefix(), "KopiaX ");
  EXPECT_EQ(Stored(kServerValue), 0);
  EXPECT_EQ(Stored(kVersionValue), 2);
}

// The user must see the page the error belongs to before the box covers it.
TEST_F(WizardWindowTest, ErrorBoxComesAfterTheViewIsBroughtUpToDate) {
  std::vector<std::string> events;
  ui.events = &events;
  registry.SetValue(RegistryRoot::LocalMachine, kBdeKey, kConfigFileValue, Dword(3));
  WizardWindow& w =
      Start([&] { events.push_back("view page " + std::to_string(window->CurrentPage()) + " " + Buttons()); });
  EXPECT_EQ(events, (std::vector<std::string>{"view page 0 -D-", "error Niepoprawny typ danych : CONFIGFILE01."}));

  events.clear();
  registry.DeleteKey(RegistryRoot::LocalMachine, kBdeKey);  // page 1 reads the engine's aliases
  w.Dispatch([&] {
    w.ButtonDalejClick();
    throw platform::Error("Brak sterownika");
  });
  EXPECT_EQ(events, (std::vector<std::string>{"view page 1 WD-", "error Brak sterownika."}));
}

TEST_F(WizardWindowTest, BdeKeyIsOnlyReadNeverCreated) {
  // Looking for a missing key does not create it, on any showing of page 0.
  WizardWindow& w = Start();
  Press(w.ButtonDalej);
  Press(w.ButtonWstecz);
  EXPECT_FALSE(registry.KeyExists(RegistryRoot::LocalMachine, kBdeKey));
  EXPECT_FALSE(registry.KeyExists(RegistryRoot::LocalMachine, "\\SOFTWARE\\Borland"));

  // A key the user may read but not write, as HKEY_LOCAL_MACHINE is for
  // an ordinary user, is still read.
  registry.SetValue(RegistryRoot::LocalMachine, kBdeKey, kConfigFileValue,
                    {MemoryRegistry::ValueType::String, "C:\\BDE\\IDAPI32.CFG", 0});
  ASSERT_TRUE(registry.DenyWrites(RegistryRoot::LocalMachine, kBdeKey));
  Start();
  EXPECT_EQ(window->LabelConfigFile.text, "C:\\BDE\\IDAPI32.CFG");
  EXPECT_TRUE(ui.errors.empty());
}

TEST_F(WizardWindowTest, SettingsKeyThatCannotBeWrittenIsPassedOverSilently) {
  Store(1, 1);
  ASSERT_TRUE(registry.DenyWrites(RegistryRoot::CurrentUser, kSettingsKey));
  WizardWindow& w = Start();
  // Without full access nothing is restored and nothing stored.
  EXPECT_EQ(w.ServerKind(), 0);
  w.Dispatch([&] { w.CheckBoxKopia.SetChecked(true); });
  EXPECT_EQ(w.AliasPrefix(), "KopiaX ");
  EXPECT_TRUE(ui.errors.empty());
  EXPECT_EQ(Stored(kServerValue), 1);
}

TEST_F(WizardWindowTest, ErrorsGetAFullStopOnlyAfterALetterOrDigit) {
  struct Case {
    const char* raised;
    const char* shown;
  };
  const Case cases[] = {
      {"Brak sterownika", "Brak sterownika."},
      {"Wartość 12", "Wartość 12."},
      {"Źródło danych \"A\" istnieje i jest innego typu", "Źródło danych \"A\" istnieje i jest innego typu."},
      {"Alias BDE \"X\"", "Alias BDE \"X\""},
      {"Gotowe.", "Gotowe."},
      {"Uwaga!", "Uwaga!"},
      {"(wiersz 3)", "(wiersz 3)"},
      {"Błąd: ń", "Błąd: ń."},
      {"koniec ", "koniec "},
  };
  WizardWindow& w = Start();
  for (const Case& c : cases) {
    ui.errors.clear();
    const int page = w.CurrentPage();
    w.Dispatch([&] { throw platform::Error(c.raised); });
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0], c.shown);
    EXPECT_EQ(w.CurrentPage(), page);
  }
}

TEST_F(WizardWindowTest, OkClosesTheWindowFromTheStatusPageOnly) {
  for (int server : {0, 1}) {
    SCOPED_TRACE(server);
    Store(server, 2);
    WizardWindow& w = Start();
    for (int step = 0; step < 4; ++step) {
      const int page = w.CurrentPage();
      Press(w.Button1);
      EXPECT_FALSE(w.CloseRequested()) << "page " << page;
      EXPECT_EQ(w.CurrentPage(), page);
      Press(w.ButtonDalej);
    }
  }
  // The status page, as the apply step leaves it.
  window->PageControl2.SetActiveIndex(1);
  Press(window->Button1);
  EXPECT_TRUE(window->CloseRequested());
}

}  // namespace
}  // namespace app
