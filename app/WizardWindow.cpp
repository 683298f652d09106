#include "app/WizardWindow.h"

#include <algorithm>
#include <exception>
#include <memory>

#include "app/ApplyConfiguration.h"
#include "app/ErrorText.h"
#include "app/WizardSettings.h"
#include "bde/Session.h"
#include "bde/StatusReport.h"
#include "mssql/OdbcApi.h"
#include "mssql/PickLists.h"
#include "mssql/ServerDiscovery.h"
#include "oracle/AliasPresets.h"
#include "oracle/OciDriver.h"
#include "oracle/OracleHomes.h"
#include "oracle/ServiceFile.h"
#include "platform/ServerNetwork.h"
#include "platform/UiServices.h"

namespace app {

WizardWindow::WizardWindow(platform::Registry& registry, bde::Session& session, bde::AliasEngine& aliases,
                           platform::UiServices& ui)
    : registry_(registry), session_(session), aliases_(aliases), ui_(ui), apply_(registry, aliases) {
  controls_ = {&Label5,         &RadioGroupSerwer,    &RadioGroupWersja,     &CheckBoxKopia,
               &LabelConfigFile, &Label1,             &ComboBoxNazwaZrodla,  &Memo1,
               &Label6,         &ComboBoxOracleHome,  &Label8,               &EditBoundle,
               &LabelNLS,       &EditNLS,             &Label7,               &EditFolderHome,
               &Memo6,          &Label2,              &ComboBoxServer,       &CheckBoxWindows,
               &Memo2,          &CheckBoxDMO,         &Label9,               &ComboBoxOracleServer,
               &Label10,        &DBEdit1,             &Label11,              &DBEdit2,
               &Label12,        &DBEdit3,             &Label13,              &DBEdit4,
               &Memo5,          &Label3,              &ComboBoxBaza,         &Label4,
               &ComboBoxBazaLiczniki, &LabelBazaArchiwum, &ComboBoxBazaArchiwum, &Memo3,
               &GroupBox1,      &Label14,             &ComboBoxUserOchrona,  &Label15,
               &ComboBoxUserLM, &Label16,             &ComboBoxUserLiczniki, &Memo4,
               &ButtonWstecz,   &ButtonDalej,         &ButtonWykonaj,        &MemoStatus,
               &Button1};

  CheckBoxWindows.captionLeft = true;
  CheckBoxDMO.captionLeft = true;
  CheckBoxDMO.visible = false;
  LabelBazaArchiwum.visible = false;
  ComboBoxBazaArchiwum.visible = false;

  RadioGroupSerwer.onClick = [this] { RadioGroupSerwerClick(); };
  RadioGroupWersja.onClick = [this] { RadioGroupWersjaClick(); };
  CheckBoxKopia.onClick = [this] { RadioGroupWersjaClick(); };
  ButtonDalej.onClick = [this] { ButtonDalejClick(); };
  ButtonWstecz.onClick = [this] { ButtonWsteczClick(); };
  ButtonWykonaj.onClick = [this] { ButtonWykonajClick(); };
  Button1.onClick = [this] { Button1Click(); };
  ComboBoxServer.onDropDown = [this] { ComboBoxServerDropDown(); };
  for (ComboBox* field : {&ComboBoxBaza, &ComboBoxBazaLiczniki, &ComboBoxBazaArchiwum}) {
    field->onDropDown = [this, field] { ComboBoxBazaDropDown(*field); };
  }
  ComboBoxOracleHome.onChange = [this] { ComboBoxOracleHomeChange(); };
  ComboBoxOracleServer.onChange = [this] { ComboBoxOracleServerChange(); };
  for (ComboBox* box : {&ComboBoxUserOchrona, &ComboBoxUserLM, &ComboBoxUserLiczniki}) {
    box->onDropDown = [this] { ComboBoxUserDropDown(); };
  }
  const std::pair<Edit*, oracle::ServiceField> boundEdits[] = {{&DBEdit1, oracle::ServiceField::Protocol},
                                                               {&DBEdit2, oracle::ServiceField::Host},
                                                               {&DBEdit3, oracle::ServiceField::Port},
                                                               {&DBEdit4, oracle::ServiceField::Service}};
  for (const auto& bound : boundEdits) {
    bound.first->onChange = [this, bound] { DBEditChange(*bound.first, bound.second); };
  }
  ClientDataSet1.onNewRecord = [this](oracle::ServiceEntry& entry) { ClientDataSet1NewRecord(entry); };
  ClientDataSet1.onAfterEdit = [this] { ClientDataSet1AfterEdit(); };

  TabSheet0.onShow = [this] { RunShowHandler(&WizardWindow::TabSheet0Show); };
  TabSheet1.onShow = [this] { RunShowHandler(&WizardWindow::TabSheet1Show); };
  TabSheet1Oracle.onShow = [this] { RunShowHandler(&WizardWindow::TabSheet1OracleShow); };
  TabSheet2.onShow = [this] { RunShowHandler(&WizardWindow::TabSheet2Show); };
  TabSheet2Oracle.onShow = [this] { RunShowHandler(&WizardWindow::TabSheet2OracleShow); };
  TabSheet3.onShow = [this] { RunShowHandler(&WizardWindow::TabSheet3Show); };

  FormCreate();
}

WizardWindow::~WizardWindow() {
  session_.UnregisterDatabase(Database2);
  session_.UnregisterDatabase(DatabaseOracle);
}

void WizardWindow::FormCreate() {
  for (PageControl* pages : {&PageControl1, &PageControl2}) {
    for (Page* page : pages->Pages()) page->tabVisible = false;
  }
  session_.RegisterDatabase(Database2);
  session_.RegisterDatabase(DatabaseOracle);
  aliasPrefix_ = "X ";
  ClientDataSet1.Clear();
}

void WizardWindow::Dispatch(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& error) {
    pendingErrors_.push_back(error.what());
  }
  if (onChanged) onChanged();
  const std::vector<std::string> errors = std::move(pendingErrors_);
  pendingErrors_.clear();
  for (const std::string& text : errors) ui_.ShowError(WithFinalStop(text));
}

void WizardWindow::RunShowHandler(void (WizardWindow::*handler)()) {
  try {
    (this->*handler)();
  } catch (const std::exception& error) {
    pendingErrors_.push_back(error.what());
  }
}

void WizardWindow::ShowPage(int index) { PageControl1.SetActiveIndex(index); }

void WizardWindow::FormShow() {
  ShowPage(0);
  PageControl2.SetActiveIndex(0);
  UpdateButtons();
  if (choicesRestored_) {
    RadioGroupWersjaClick();
  } else {
    // The failed restore left the defaults on screen, not the user's
    // choices: storing them would overwrite the remembered ones.
    aliasPrefix_ = AliasPrefixFor(VersionIndex(), CheckBoxKopia.Checked());
  }
}

void WizardWindow::UpdateButtons() {
  const int i = CurrentPage();
  const int last = kPageCount - (ServerKind() == 0 ? 2 : 1);
  ButtonWstecz.enabled = i > 0;
  ButtonDalej.enabled = i < last;
  ButtonWykonaj.enabled = i == last;
}

void WizardWindow::ButtonDalejClick() {
  // A refused entry stays unsaved and keeps the user on the service page.
  ClientDataSet1.Post(ComboBoxOracleServer.text);
  ShowServiceEntry();
  const int step = (ServerKind() == 0 && CurrentPage() == 0) ? 1 : 2;
  ShowPage(CurrentPage() + step);
  UpdateButtons();
}

// The service entry's unsaved changes are dropped before the page changes,
// so that the entry the service page starts when shown again stays.
void WizardWindow::ButtonWsteczClick() {
  ClientDataSet1.Cancel();
  ShowServiceEntry();
  ShowPage(std::max(CurrentPage() - 2, 0));
  UpdateButtons();
}

// The status page is shown only when the whole run succeeded; an error
// leaves the user on the last page to correct it and try again.
void WizardWindow::ButtonWykonajClick() {
  bde::StatusReport report(MemoStatus.lines);
  apply_.Run(AnswersOnPages(), report);
  PageControl2.SetActiveIndex(1);
}

// The service entry goes to tnsnames.ora whole, and only once the user
// has changed it.
Answers WizardWindow::AnswersOnPages() const {
  Answers answers{.server = ServerKindOfItem(ServerKind()),
                  .version = SuiteVersionOfItem(VersionIndex()),
                  .testCopy = CheckBoxKopia.Checked(),
                  .dataSourceName = ComboBoxNazwaZrodla.text,
                  .sqlServer = ComboBoxServer.text,
                  .windowsLogin = CheckBoxWindows.Checked(),
                  .database = ComboBoxBaza.text,
                  .archiveDatabase = ComboBoxBazaArchiwum.text,
                  .metersDatabase = ComboBoxBazaLiczniki.text,
                  .oracleHomeFolder = EditFolderHome.text,
                  .oracleService = ComboBoxOracleServer.text,
                  .serviceEntry = {},
                  .userOchrona = ComboBoxUserOchrona.text,
                  .userLM = ComboBoxUserLM.text,
                  .userLiczniki = ComboBoxUserLiczniki.text};
  if (ServiceEntryModified) {
    const oracle::ServiceEntry& entry = ClientDataSet1.Current();
    answers.serviceEntry = {entry.protocol, entry.host, entry.port, entry.service};
  }
  return answers;
}

// "OK" belongs to the status page and closes the wizard only from there.
void WizardWindow::Button1Click() {
  if (PageControl2.ActiveIndex() == 1) closeRequested_ = true;
}

void WizardWindow::TabSheet0Show() {
  choicesRestored_ = false;
  if (auto configFile = ReadConfigFileName(registry_)) LabelConfigFile.text = *configFile;
  if (const auto stored = ReadStoredChoices(registry_)) {
    if (stored->server) RadioGroupSerwer.SetItemIndex(*stored->server);
    if (stored->version) RadioGroupWersja.SetItemIndex(*stored->version);
  }
  choicesRestored_ = true;
}

void WizardWindow::RadioGroupWersjaClick() {
  aliasPrefix_ = AliasPrefixFor(VersionIndex(), CheckBoxKopia.Checked());
  RadioGroupSerwerClick();
}

void WizardWindow::RadioGroupSerwerClick() { StoreChoices(registry_, ServerKind(), VersionIndex()); }

void WizardWindow::TabSheet3Show() {
  LabelBazaArchiwum.visible = VersionIndex() == 2;
  ComboBoxBazaArchiwum.visible = LabelBazaArchiwum.visible;
}

// The fields are pre-set from the aliases of an earlier run once only, so
// what the user chose later is never overwritten.
void WizardWindow::TabSheet1Show() {
  FillDataSourceList();
  if (TabSheet1.tag != 0) return;
  TabSheet1.tag = 1;
  const mssql::AliasPresets::Values presets = mssql::AliasPresets(aliases_).Read(AliasPrefix());
  for (const auto& [field, value] : {std::pair{&ComboBoxNazwaZrodla, &presets.dataSource},
                                     std::pair{&ComboBoxBaza, &presets.database},
                                     std::pair{&ComboBoxBazaLiczniki, &presets.meterDatabase},
                                     std::pair{&ComboBoxBazaArchiwum, &presets.archiveDatabase}}) {
    if (!value->empty()) field->text = *value;
  }
}

void WizardWindow::FillDataSourceList() {
  ComboBoxNazwaZrodla.ClearItems();
  for (std::string& name : mssql::DataSourceCatalog(registry_).DataSourceNames()) {
    ComboBoxNazwaZrodla.AddItem(std::move(name));
  }
}

void WizardWindow::TabSheet2Show() {
  if (TabSheet2.tag != 0) return;
  TabSheet2.tag = 1;
  const auto settings = mssql::DataSourceCatalog(registry_).ReadSettings(ComboBoxNazwaZrodla.text);
  if (settings.server) ComboBoxServer.text = *settings.server;
  if (settings.windowsLogin) CheckBoxWindows.SetChecked(*settings.windowsLogin);
}

void WizardWindow::ComboBoxServerDropDown() {
  const platform::BusyCursor busy(ui_);
  std::vector<std::string> servers = ComboBoxServer.Items();
  const std::unique_ptr<platform::ServerNetwork> network = platform::CreateSystemServerNetwork();
  mssql::ServerDiscovery(mssql::odbc::kDriverManagerLibrary, *network).FillServerList(CheckBoxDMO.Checked(), servers);
  ComboBoxServer.SetItems(std::move(servers));
}

void WizardWindow::ComboBoxBazaDropDown(ComboBox& field) {
  const platform::BusyCursor busy(ui_);
  FillDatabaseList(field);
}

void WizardWindow::FillDatabaseList(ComboBox& field) {
  field.ClearItems();
  mssql::DatabaseLister lister(registry_, session_, Database2);
  for (std::string& name : lister.ListDatabases(ComboBoxServer.text, CheckBoxWindows.Checked())) {
    field.AddItem(std::move(name));
  }
}

void WizardWindow::TabSheet1OracleShow() {
  ComboBoxOracleHome.ClearItems();
  ComboBoxOracleHome.text.clear();
  for (oracle::OracleHome& home : oracle::OracleHomeLister(registry_).List()) {
    ComboBoxOracleHome.AddItem(std::move(home.name), std::move(home.subkey));
  }
  if (!ComboBoxOracleHome.Items().empty()) {
    ComboBoxOracleHome.SelectItem(0);
    ComboBoxOracleHomeChange();
  }
  // The schema users of an earlier run are proposed once per run.
  if (TabSheet1Oracle.tag != 0) return;
  TabSheet1Oracle.tag = 1;
  const oracle::AliasPresets::Users users = oracle::AliasPresets(aliases_).ReadUsers(aliasPrefix_);
  for (auto [box, user] : {std::pair{&ComboBoxUserOchrona, &users.ochrona}, std::pair{&ComboBoxUserLM, &users.lm},
                           std::pair{&ComboBoxUserLiczniki, &users.liczniki}}) {
    if (!user->empty()) box->text = *user;
  }
}

void WizardWindow::ComboBoxOracleHomeChange() {
  const int index = ComboBoxOracleHome.ItemIndex();
  if (index < 0) return;
  const oracle::OracleHomeDetails home = oracle::OracleHomeLister(registry_).Details(ComboBoxOracleHome.ItemData(index));
  if (home.bundle) EditBoundle.text = *home.bundle;
  if (home.nls) EditNLS.text = *home.nls;
  if (home.folder) EditFolderHome.text = *home.folder;
}

void WizardWindow::TabSheet2OracleShow() {
  TnsnamesFile.Read(oracle::NetworkFolder(EditFolderHome.text));
  ServiceEntryModified = false;
  std::vector<std::string> names = ClientDataSet1.Names();
  if (!names.empty()) ComboBoxOracleServer.text = names.front();
  ComboBoxOracleServer.SetItems(std::move(names));
  // On the first showing the service of the main alias is proposed.
  if (TabSheet2Oracle.tag == 0) {
    TabSheet2Oracle.tag = 1;
    std::string service = oracle::AliasPresets(aliases_).ReadService(aliasPrefix_);
    if (!service.empty()) ComboBoxOracleServer.text = std::move(service);
  }
  ComboBoxOracleServerChange();
}

// Picking another entry drops the changes of the one before, so nothing is
// left for tnsnames.ora until the user changes the entry now shown.
void WizardWindow::ComboBoxOracleServerChange() {
  ServiceEntryModified = false;
  ClientDataSet1.Select(ComboBoxOracleServer.text);
  ShowServiceEntry();
}

void WizardWindow::ClientDataSet1NewRecord(oracle::ServiceEntry& entry) { oracle::ApplyNewEntryDefaults(entry); }

void WizardWindow::ClientDataSet1AfterEdit() { ServiceEntryModified = true; }

void WizardWindow::DBEditChange(const Edit& edit, oracle::ServiceField field) {
  ClientDataSet1.Edit(field, edit.text);
  ShowServiceEntry();
}

// The edit fields mirror the current entry.
void WizardWindow::ShowServiceEntry() {
  const oracle::ServiceEntry& entry = ClientDataSet1.Current();
  DBEdit1.text = entry.protocol;
  DBEdit2.text = entry.host;
  DBEdit3.text = entry.port;
  DBEdit4.text = entry.service;
}

void WizardWindow::ComboBoxUserDropDown() {
  oracle::UseOracleHomeClient(session_, EditFolderHome.text);
  oracle::PrepareSchemaUserQuery(DatabaseOracle, ComboBoxOracleServer.text);
  ComboBoxUserOchrona.ClearItems();
  oracle::FetchSchemaUsers(Query2, [this](const std::vector<std::string>& users) {
    for (ComboBox* box : {&ComboBoxUserOchrona, &ComboBoxUserLM, &ComboBoxUserLiczniki}) box->SetItems(users);
  });
}

Control* WizardWindow::FindControl(std::string_view name) const {
  for (Control* control : controls_) {
    if (control->Name() == name) return control;
  }
  return nullptr;
}

Page* WizardWindow::FindPage(std::string_view name) const {
  for (const PageControl* pages : {&PageControl1, &PageControl2}) {
    for (Page* page : pages->Pages()) {
      if (page->Name() == name) return page;
    }
  }
  return nullptr;
}

}  // namespace app
