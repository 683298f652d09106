#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/Answers.h"
#include "app/ApplyConfiguration.h"
#include "app/Controls.h"
#include "app/WindowFields.h"
#include "app/servers/ServerKind.h"
#include "bde/Connection.h"
#include "bde/ConnectionCheck.h"
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
  void ButtonSprawdzClick();

  // Page 0: the choices, their persistence and the alias prefix.
  void TabSheet0Show();
  void RadioGroupWersjaClick();
  void RadioGroupSerwerClick();

  // The other pages' fills: what the server kinds propose, and the lists
  // filled for the user.
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

  Control& ControlOf(ControlId id) const { return controls_[id]; }

  // The pages.
  Page TabSheet0{PageId::TabSheet0}, TabSheet1{PageId::TabSheet1}, TabSheet1Oracle{PageId::TabSheet1Oracle},
      TabSheet2{PageId::TabSheet2}, TabSheet2Oracle{PageId::TabSheet2Oracle}, TabSheet3{PageId::TabSheet3},
      TabSheet3Oracle{PageId::TabSheet3Oracle}, TabSheet4{PageId::TabSheet4}, TabSheet5{PageId::TabSheet5};
  PageControl PageControl1{{&TabSheet0, &TabSheet1, &TabSheet1Oracle, &TabSheet2, &TabSheet2Oracle, &TabSheet3,
                            &TabSheet3Oracle}};
  PageControl PageControl2{{&TabSheet4, &TabSheet5}};

 private:
  // Declared before the controls, which enter it as they are made.
  ControlSet controls_;

 public:
  // The controls, each as its row of app/ControlTable.h describes it.
  // Page 0.
  Label Label5{controls_, ControlId::Label5};
  RadioGroup RadioGroupSerwer{controls_, ControlId::RadioGroupSerwer};
  RadioGroup RadioGroupWersja{controls_, ControlId::RadioGroupWersja};
  CheckBox CheckBoxKopia{controls_, ControlId::CheckBoxKopia};
  Label LabelConfigFile{controls_, ControlId::LabelConfigFile};

  // Page 1.
  Label Label1{controls_, ControlId::Label1};
  ComboBox ComboBoxNazwaZrodla{controls_, ControlId::ComboBoxNazwaZrodla};
  Memo Memo1{controls_, ControlId::Memo1};

  // Page 2.
  Label Label6{controls_, ControlId::Label6};
  ComboBox ComboBoxOracleHome{controls_, ControlId::ComboBoxOracleHome};
  Label Label8{controls_, ControlId::Label8};
  Edit EditBoundle{controls_, ControlId::EditBoundle};
  Label LabelNLS{controls_, ControlId::LabelNLS};
  Edit EditNLS{controls_, ControlId::EditNLS};
  Label Label7{controls_, ControlId::Label7};
  Edit EditFolderHome{controls_, ControlId::EditFolderHome};
  Memo Memo6{controls_, ControlId::Memo6};

  // Page 3.
  Label Label2{controls_, ControlId::Label2};
  ComboBox ComboBoxServer{controls_, ControlId::ComboBoxServer};
  CheckBox CheckBoxWindows{controls_, ControlId::CheckBoxWindows};
  Memo Memo2{controls_, ControlId::Memo2};
  CheckBox CheckBoxDMO{controls_, ControlId::CheckBoxDMO};

  // Page 4.
  Label Label9{controls_, ControlId::Label9};
  ComboBox ComboBoxOracleServer{controls_, ControlId::ComboBoxOracleServer};
  Label Label10{controls_, ControlId::Label10};
  Edit DBEdit1{controls_, ControlId::DBEdit1};
  Label Label11{controls_, ControlId::Label11};
  Edit DBEdit2{controls_, ControlId::DBEdit2};
  Label Label12{controls_, ControlId::Label12};
  Edit DBEdit3{controls_, ControlId::DBEdit3};
  Label Label13{controls_, ControlId::Label13};
  Edit DBEdit4{controls_, ControlId::DBEdit4};
  Memo Memo5{controls_, ControlId::Memo5};

  // Page 5.
  Label Label3{controls_, ControlId::Label3};
  ComboBox ComboBoxBaza{controls_, ControlId::ComboBoxBaza};
  Label Label4{controls_, ControlId::Label4};
  ComboBox ComboBoxBazaLiczniki{controls_, ControlId::ComboBoxBazaLiczniki};
  Label LabelBazaArchiwum{controls_, ControlId::LabelBazaArchiwum};
  ComboBox ComboBoxBazaArchiwum{controls_, ControlId::ComboBoxBazaArchiwum};
  Memo Memo3{controls_, ControlId::Memo3};

  // Page 6.
  GroupBox GroupBox1{controls_, ControlId::GroupBox1};
  Label Label14{controls_, ControlId::Label14};
  ComboBox ComboBoxUserOchrona{controls_, ControlId::ComboBoxUserOchrona};
  Label Label15{controls_, ControlId::Label15};
  ComboBox ComboBoxUserLM{controls_, ControlId::ComboBoxUserLM};
  Label Label16{controls_, ControlId::Label16};
  ComboBox ComboBoxUserLiczniki{controls_, ControlId::ComboBoxUserLiczniki};
  Memo Memo4{controls_, ControlId::Memo4};

  // The wizard's button row.
  Button ButtonWstecz{controls_, ControlId::ButtonWstecz};
  Button ButtonDalej{controls_, ControlId::ButtonDalej};
  Button ButtonWykonaj{controls_, ControlId::ButtonWykonaj};

  // The status page.
  Memo MemoStatus{controls_, ControlId::MemoStatus};
  Button ButtonSprawdz{controls_, ControlId::ButtonSprawdz};
  Button Button1{controls_, ControlId::Button1};

  // What "Sprawdź połączenia" checks with: the system's network and ODBC
  // driver manager unless a test puts its own.
  servers::CheckSources checkSources;

  // The service entries that the client of the chosen Oracle home reads, as
  // the service page read them.
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
  // The kind of the first page's choice, whose pages the buttons walk.
  const servers::Kind& ActiveKind() const;
  // The current page's place in the walk: 0 for the first page, then the
  // place among the active kind's pages.
  size_t StepOfCurrentPage() const;
  void ShowStep(size_t step);
  servers::Sources ProposalSources() const;
  void ShowServiceEntry();
  void DBEditChange(const Edit& edit, oracle::ServiceField field);
  void ConnectionChecksDone(std::vector<bde::CheckResult> results);

  platform::Registry& registry_;
  bde::Session& session_;
  bde::AliasEngine& aliases_;
  platform::UiServices& ui_;
  ApplyConfiguration apply_;
  // The schema users of the Oracle server.
  bde::Query Query2{session_, std::string(bde::kOracleDatabaseName), oracle::SchemaUserQueryLines()};
  std::string aliasPrefix_;
  // What the server kinds' proposals read and fill.
  WindowFields fields_{*this};
  const std::function<bde::AliasEngine&()> aliasEngine_ = [this]() -> bde::AliasEngine& { return aliases_; };
  std::vector<std::string> pendingErrors_;
  // The answers of the run the status page reports, which its checks check.
  Answers applied_;
  // Whether the last TabSheet0Show ran to its end: only then do the
  // choices on screen stand for the stored ones.
  bool choicesRestored_ = false;
  bool closeRequested_ = false;
};

}  // namespace app
