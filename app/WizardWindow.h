#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/Answers.h"
#include "app/ApplyConfiguration.h"
#include "app/Controls.h"
#include "bde/Connection.h"
#include "bde/Drivers.h"
#include "bde/Templates.h"
#include "oracle/SchemaUsers.h"
#include "oracle/ServiceEntry.h"
#include "oracle/ServiceEntryTable.h"
#include "oracle/ServiceFile.h"

namespace platform {
class Registry;
class UiServices;
}  // namespace platform

namespace bde {
class AliasEngine;
class Session;
}

namespace app {

// The wizard "Konfiguracja BDE" as a model: it owns every control, page
// and piece of state, and the handlers named after the controls and
// events. A view mirrors it into real controls; the user's actions come
// back through Dispatch, which is the top-level error handler.
class WizardWindow {
 public:
  static constexpr int kPageCount = 7;
  static constexpr char kCaption[] = "Konfiguracja BDE";

  // The session opens the connections; the alias engine does the alias work.
  WizardWindow(platform::Registry& registry, bde::Session& session, bde::AliasEngine& aliases,
               platform::UiServices& ui);
  ~WizardWindow();
  WizardWindow(const WizardWindow&) = delete;
  WizardWindow& operator=(const WizardWindow&) = delete;

  // Runs one event handler as the top-level handler does: an error is shown
  // in an error box, with a full stop added where the text lacks one, after
  // the view has been brought up to date; the wizard stays where it was.
  void Dispatch(const std::function<void()>& handler);
  // Called after each dispatched handler, before any error is shown.
  std::function<void()> onChanged;

  // Window events.
  void FormShow();
  void UpdateButtons();
  void ButtonDalejClick();
  void ButtonWsteczClick();
  void ButtonWykonajClick();
  void Button1Click();

  // Page 0: the choices, their persistence and the alias prefix.
  void TabSheet0Show();
  void RadioGroupWersjaClick();
  void RadioGroupSerwerClick();

  // The other pages' fills, served by the SQL Server and Oracle paths.
  void TabSheet1Show();
  void TabSheet1OracleShow();
  void TabSheet2Show();
  void TabSheet2OracleShow();
  void TabSheet3Show();
  void ComboBoxServerDropDown();
  void ComboBoxBazaDropDown(ComboBox& field);
  void FillDataSourceList();
  void FillDatabaseList(ComboBox& field);
  void ComboBoxOracleHomeChange();
  void ComboBoxOracleServerChange();
  void ComboBoxUserDropDown();
  void ClientDataSet1NewRecord(oracle::ServiceEntry& entry);
  void ClientDataSet1AfterEdit();

  // The current service entry's values as the four edit fields show them,
  // unsaved changes included.
  oracle::ServiceEntry CurrentServiceEntry() const { return ClientDataSet1.Current(); }

  // 0 = Microsoft SQL Server, any other value (-1 included) = Oracle.
  int ServerKind() const { return RadioGroupSerwer.ItemIndex(); }
  int VersionIndex() const { return RadioGroupWersja.ItemIndex(); }
  const std::string& AliasPrefix() const { return aliasPrefix_; }
  int CurrentPage() const { return PageControl1.ActiveIndex(); }
  bool CloseRequested() const { return closeRequested_; }

  const std::vector<Control*>& AllControls() const { return controls_; }
  Control* FindControl(std::string_view name) const;
  Page* FindPage(std::string_view name) const;

  // The pages.
  Page TabSheet0{"TabSheet0"}, TabSheet1{"TabSheet1"}, TabSheet1Oracle{"TabSheet1Oracle"},
      TabSheet2{"TabSheet2"}, TabSheet2Oracle{"TabSheet2Oracle"}, TabSheet3{"TabSheet3"},
      TabSheet3Oracle{"TabSheet3Oracle"}, TabSheet4{"TabSheet4"}, TabSheet5{"TabSheet5"};
  PageControl PageControl1{{&TabSheet0, &TabSheet1, &TabSheet1Oracle, &TabSheet2, &TabSheet2Oracle, &TabSheet3,
                            &TabSheet3Oracle}};
  PageControl PageControl2{{&TabSheet4, &TabSheet5}};

  // Page 0.
  Label Label5{"Label5", "Konfiguracja BDE dla systemu Novera - Lumira"};
  RadioGroup RadioGroupSerwer{"RadioGroupSerwer", "Serwer", {"Microsoft SQL Server", "Oracle Server"}, 0};
  RadioGroup RadioGroupWersja{"RadioGroupWersja", "Wersja", {"9 (II)", "10 (X)", "11 (XI)"}, 2};
  CheckBox CheckBoxKopia{"CheckBoxKopia", "Baza testowa (Kopia)", false};
  Label LabelConfigFile{"LabelConfigFile"};

  // Page 1.
  Label Label1{"Label1", "Nazwa źródła danych ODBC"};
  ComboBox ComboBoxNazwaZrodla{"ComboBoxNazwaZrodla", "MSSQL Novera LM", true, true, 32};
  Memo Memo1{"Memo1",
             {"Należy wprowadzić nazwę źródła danych ODBC do połaczenia z bazą ", "danych.",
              "Istniejące źródła można wybrać z listy rozwijanej.",
              "Jeśli źródło danych o podanej nazwie istnieje, zostanie zmodyfikowane.",
              "Jeśli źródło danych o podanej nazwie nie istnieje, zostanie utworzone.", ""}};

  // Page 2.
  Label Label6{"Label6", "Nazwa Oracle Home"};
  ComboBox ComboBoxOracleHome{"ComboBoxOracleHome", "", false, true};
  Label Label8{"Label8", "Nazwa pakietu"};
  Edit EditBoundle{"EditBoundle", true};
  Label LabelNLS{"LabelNLS", "Kodowanie znaków"};
  Edit EditNLS{"EditNLS", true};
  Label Label7{"Label7", "Folder Oracle Home"};
  Edit EditFolderHome{"EditFolderHome", true};
  Memo Memo6{"Memo6",
             {"Należy wybrać z listy nazwę ORACLE HOME.",
              "Jeśli lista jest pusta to klient ORACLE nie został poprawnie zainstalowany."}};

  // Page 3.
  Label Label2{"Label2", "Nazwa serwera MSSQL"};
  ComboBox ComboBoxServer{"ComboBoxServer", "", true, false};
  CheckBox CheckBoxWindows{"CheckBoxWindows", "Logowanie do serwera poprzez użytkownika Windows", true};
  Memo Memo2{"Memo2",
             {"Należy wprowadzić nazwę serwera MSSQL na którym zainstalowano bazę ",
              "danych i wybać sposób logowania użytkownika na serwerze.",
              "Sposób logowania zależy od konfiguracji sieci w przedsiębiorstwie i od ",
              "systemu operacyjnego komputera na którym zainstalowano serwer ", "MSSQL."}};
  CheckBox CheckBoxDMO{"CheckBoxDMO",
                       "Użyj metody wyszukiwania serwerów \"SQLBrowseConnect\" (szybka ale nie zawsze skuteczna).",
                       true};

  // Page 4.
  Label Label9{"Label9", "Nazwa serwisu Oracle"};
  ComboBox ComboBoxOracleServer{"ComboBoxOracleServer", "xe.serwer", true, true};
  Label Label10{"Label10", "Protokół"};
  Edit DBEdit1{"DBEdit1", false, 10};
  Label Label11{"Label11", "Nazwa lub IP serwera"};
  Edit DBEdit2{"DBEdit2", false, 30};
  Label Label12{"Label12", "Port serwera"};
  Edit DBEdit3{"DBEdit3", false, 10};
  Label Label13{"Label13", "Nazwa bazy (SID)"};
  Edit DBEdit4{"DBEdit4", false, 20};
  Memo Memo5{"Memo5", {"Należy wprowadzić parametry serwera ORACLE na którym zainstalowano bazę ", "danych."}};

  // Page 5.
  Label Label3{"Label3", "Nazwa bazy danych"};
  ComboBox ComboBoxBaza{"ComboBoxBaza", "", true, true};
  Label Label4{"Label4", "Nazwa bazy danych dla liczników"};
  ComboBox ComboBoxBazaLiczniki{"ComboBoxBazaLiczniki", "", true, true};
  Label LabelBazaArchiwum{"LabelBazaArchiwum", "Nazwa bazy danych dla archiwum"};
  ComboBox ComboBoxBazaArchiwum{"ComboBoxBazaArchiwum", "", true, true};
  Memo Memo3{"Memo3",
             {"Należy wprowadzić nazwę bazy danych przygotowaną do użycia z ", "systemem ", "\"Lumira\". ",
              "Jeśli możliwe jest wybranie jej z listy rozwijanej to wcześniejsze parametry ",
              "zostały określone poprawnie.",
              "Jeśli dane liczników są przechowywane w osobnej bazie, należy ją również ",
              "wprowadzić lub wybrać z listy.", "Jeśli pole pozostanie nie wypełnione, przyjęta zostanie nazwa bazy ",
              "ogólnej."}};

  // Page 6.
  GroupBox GroupBox1{"GroupBox1", "Nazwy użtkowników schematów"};
  Label Label14{"Label14", "Ochrona"};
  ComboBox ComboBoxUserOchrona{"ComboBoxUserOchrona", "NOVERA_OCHRONA", true, false};
  Label Label15{"Label15", "Lumira"};
  ComboBox ComboBoxUserLM{"ComboBoxUserLM", "NOVERA_LM", true, false};
  Label Label16{"Label16", "Lumira - Liczniki"};
  ComboBox ComboBoxUserLiczniki{"ComboBoxUserLiczniki", "", true, false};
  Memo Memo4{"Memo4",
             {"Należy wprowadzić nazwy schematów bazy przygotowanej do użycia z systemem \"Lumira\".",
              "Jeśli możliwe jest wybranie ich z listy to wcześniejsze parametry zostały określone poprawnie.",
              "Jeśli dane liczników są przechowywane w osobnym shemacie, należy go również wprowadzić.",
              "Jeśli pole pozostanie nie wypełnione, przyjęta zostanie nazwa schematu bazy LM."}};

  // The wizard's button row.
  Button ButtonWstecz{"ButtonWstecz", "< Wstecz"};
  Button ButtonDalej{"ButtonDalej", "Dalej >"};
  Button ButtonWykonaj{"ButtonWykonaj", "Wykonaj"};

  // The status page.
  Memo MemoStatus{"MemoStatus", {}};
  Button Button1{"Button1", "OK"};

  // tnsnames.ora of the chosen Oracle home as the service page read it.
  oracle::ServiceFile TnsnamesFile;
  // Set by the user's first change of a service entry since the service
  // page was shown: tnsnames.ora is to be rewritten.
  bool ServiceEntryModified = false;
  // The entries of tnsnames.ora behind the edits of the service page.
  oracle::ServiceEntryTable& ClientDataSet1 = TnsnamesFile.Table();

  // The connections that list a server's databases and the Oracle schema
  // users; values set on them stay for the next listing.
  bde::Database Database2{std::string(bde::kTmpDatabaseName), std::string(bde::kSqlNativeClientDriver),
                          bde::Database2Parameters()};
  bde::Database DatabaseOracle{std::string(bde::kOracleDatabaseName), std::string(bde::kOracleDriver),
                               bde::DatabaseOracleParameters()};

 private:
  void FormCreate();
  Answers AnswersOnPages() const;
  // A show handler's error is held until the page change is complete, so
  // the page is shown and the buttons follow it before the error box.
  void RunShowHandler(void (WizardWindow::*handler)());
  void ShowPage(int index);
  void ShowServiceEntry();
  void DBEditChange(const Edit& edit, oracle::ServiceField field);

  platform::Registry& registry_;
  bde::Session& session_;
  bde::AliasEngine& aliases_;
  platform::UiServices& ui_;
  ApplyConfiguration apply_;
  // The schema users of the Oracle server.
  bde::Query Query2{session_, std::string(bde::kOracleDatabaseName), oracle::SchemaUserQueryLines()};
  std::vector<Control*> controls_;
  std::string aliasPrefix_;
  std::vector<std::string> pendingErrors_;
  // Whether the last TabSheet0Show ran to its end: only then do the
  // choices on screen stand for the stored ones.
  bool choicesRestored_ = false;
  bool closeRequested_ = false;
};

}  // namespace app
