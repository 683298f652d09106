#include "app/WizardWindow.h"

#include <exception>
#include <memory>
#include <stdexcept>

#include "app/ApplyConfiguration.h"
#include "app/ConnectionChecks.h"
#include "app/ErrorText.h"
#include "app/WizardSettings.h"
#include "app/servers/Kinds.h"
#include "app/servers/Mssql.h"
#include "app/servers/Oracle.h"
#include "bde/Session.h"
#include "bde/StatusReport.h"
#include "mssql/OdbcApi.h"
#include "mssql/PickLists.h"
#include "mssql/ServerDiscovery.h"
#include "oracle/OciDriver.h"
#include "platform/NetworkProbe.h"
#include "platform/ServerNetwork.h"
#include "platform/UiServices.h"

namespace app {

WizardWindow::WizardWindow(platform::Registry& registry, bde::Session& session, bde::AliasEngine& aliases,
                           platform::UiServices& ui)
    : checkSources(SystemCheckSources(registry, platform::CreateSystemNetworkProbe())),
      registry_(registry),
      session_(session),
      aliases_(aliases),
      ui_(ui),
      apply_(registry, aliases) {
  // A row of the control table without its member would leave the view
  // nothing to mirror.
  if (!controls_.Complete()) throw std::logic_error("a control of the table has no member in the window");

  RadioGroupSerwer.onClick = [this] { RadioGroupSerwerClick(); };
  RadioGroupWersja.onClick = [this] { RadioGroupWersjaClick(); };
  CheckBoxKopia.onClick = [this] { RadioGroupWersjaClick(); };
  ButtonDalej.onClick = [this] { ButtonDalejClick(); };
  ButtonWstecz.onClick = [this] { ButtonWsteczClick(); };
  ButtonWykonaj.onClick = [this] { ButtonWykonajClick(); };
  Button1.onClick = [this] { Button1Click(); };
  ButtonSprawdz.onClick = [this] { ButtonSprawdzClick(); };
  ComboBoxServer.onDropDown = [this] { ComboBoxServerDropDown(); };
  for (ComboBox* field : {&ComboBoxBaza, &ComboBoxBazaLiczniki, &ComboBoxBazaArchiwum}) {
    field->onDropDown = [this, field] { ComboBoxBazaDropDown(*field); };
  }
  ComboBoxOracleHome.onChange = [this] { ComboBoxOracleHomeChange(); };
  ComboBoxOracleServer.onChange = [this] { ComboBoxOracleServerChange(); };
  for (ComboBox* box : {&ComboBoxUserOchrona, &ComboBoxUserLM, &ComboBoxUserLiczniki}) {
    box->onDropDown = [this] { ComboBoxUserDropDown(); };
  }
  for (const ControlRow& row : kControls) {
    if (!row.entryField) continue;
    auto& edit = static_cast<Edit&>(ControlOf(row.id));
    edit.onChange = [this, &edit, field = *row.entryField] { DBEditChange(edit, field); };
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

const servers::Kind& WizardWindow::ActiveKind() const { return servers::KindOf(ServerKindOfItem(ServerKind())); }

// The kind is chosen on the first page alone, so every other page shown
// is one of the active kind's.
size_t WizardWindow::StepOfCurrentPage() const {
  const std::span<const PageId> pages = ActiveKind().Pages();
  for (size_t i = 0; i < pages.size(); ++i) {
    if (PageIndex(pages[i]) == CurrentPage()) return i + 1;
  }
  return 0;
}

void WizardWindow::ShowStep(size_t step) {
  const std::span<const PageId> pages = ActiveKind().Pages();
  if (step > pages.size()) return;
  PageControl1.SetActiveIndex(step == 0 ? PageIndex(PageId::TabSheet0) : PageIndex(pages[step - 1]));
}

servers::Sources WizardWindow::ProposalSources() const { return {registry_, aliasEngine_, aliasPrefix_}; }

void WizardWindow::FormShow() {
  ShowStep(0);
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
  const size_t step = StepOfCurrentPage();
  const size_t last = ActiveKind().Pages().size();
  ButtonWstecz.enabled = step > 0;
  ButtonDalej.enabled = step < last;
  ButtonWykonaj.enabled = step == last;
}

void WizardWindow::ButtonDalejClick() {
  // A refused entry stays unsaved and keeps the user on the service page.
  ClientDataSet1.Post(TnsnamesFile.LookupName(ComboBoxOracleServer.text));
  ShowServiceEntry();
  ShowStep(StepOfCurrentPage() + 1);
  UpdateButtons();
}

// The service entry's unsaved changes are dropped before the page changes,
// so that the entry the service page starts when shown again stays.
void WizardWindow::ButtonWsteczClick() {
  ClientDataSet1.Cancel();
  ShowServiceEntry();
  const size_t step = StepOfCurrentPage();
  ShowStep(step > 0 ? step - 1 : 0);
  UpdateButtons();
}

// The status page is shown only when the whole run succeeded; an error
// leaves the user on the last page to correct it and try again.
void WizardWindow::ButtonWykonajClick() {
  bde::StatusReport report(MemoStatus.lines);
  const Answers answers = AnswersOnPages();
  apply_.Run(answers, report);
  applied_ = answers;
  PageControl2.SetActiveIndex(1);
}

// The active kind reads its pages; the service entry counts as given only
// once the user has changed it, and then whole.
Answers WizardWindow::AnswersOnPages() const {
  Answers answers;
  answers.server = ServerKindOfItem(ServerKind());
  answers.version = SuiteVersionOfItem(VersionIndex());
  answers.testCopy = CheckBoxKopia.Checked();
  ActiveKind().Collect(fields_, answers);
  return answers;
}

// "OK" belongs to the status page and closes the wizard only from there.
void WizardWindow::Button1Click() {
  if (PageControl2.ActiveIndex() == 1) closeRequested_ = true;
}

// The checks are made here and their network part runs in the
// background, so the window stays alive; the aliases are read back once it
// is done, as the engine wants its own thread. The page's own lines stay:
// the section is added after them.
void WizardWindow::ButtonSprawdzClick() {
  const auto checks = std::make_shared<const std::vector<bde::Check>>(MakeConnectionChecks(checkSources, applied_));
  const auto results = std::make_shared<std::vector<bde::CheckResult>>();
  ButtonSprawdz.enabled = false;
  ui_.RunInBackground([checks, results] { *results = RunConnectionChecks(*checks); },
                      [this, results] { ConnectionChecksDone(std::move(*results)); });
}

void WizardWindow::ConnectionChecksDone(std::vector<bde::CheckResult> results) {
  ButtonSprawdz.enabled = true;
  bde::StatusReport report(MemoStatus.lines);
  FinishConnectionChecks(std::move(results), aliases_, apply_.WrittenAliases(), report);
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
  servers::Mssql::ProposeFromAliases(ProposalSources(), fields_);
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
  servers::Mssql::ProposeFromDataSource(registry_, fields_);
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
  servers::Oracle::ProposeHome(registry_, fields_);
  // The schema users of an earlier run are proposed once per run.
  if (TabSheet1Oracle.tag != 0) return;
  TabSheet1Oracle.tag = 1;
  servers::Oracle::ProposeUsers(ProposalSources(), fields_);
}

void WizardWindow::ComboBoxOracleHomeChange() {
  const int index = ComboBoxOracleHome.ItemIndex();
  if (index < 0) return;
  servers::Oracle::ProposeHomeDetails(registry_, ComboBoxOracleHome.ItemData(index), fields_);
}

void WizardWindow::TabSheet2OracleShow() {
  servers::Oracle::ReadServiceFile(registry_, fields_, TnsnamesFile);
  ServiceEntryModified = false;
  servers::Oracle::ProposeService(TnsnamesFile, fields_);
  // On the first showing the service of the main alias is proposed.
  if (TabSheet2Oracle.tag == 0) {
    TabSheet2Oracle.tag = 1;
    servers::Oracle::ProposeAliasService(ProposalSources(), fields_);
  }
  ComboBoxOracleServerChange();
}

// Picking another entry drops the changes of the one before, so nothing is
// left for tnsnames.ora until the user changes the entry now shown.
void WizardWindow::ComboBoxOracleServerChange() {
  ServiceEntryModified = false;
  ClientDataSet1.Select(TnsnamesFile.LookupName(ComboBoxOracleServer.text));
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
  for (const ControlRow& row : kControls) {
    if (row.entryField) ControlOf(row.id).text = oracle::FieldOf(ClientDataSet1.Current(), *row.entryField);
  }
}

void WizardWindow::ComboBoxUserDropDown() {
  oracle::UseOracleHomeClient(session_, EditFolderHome.text);
  oracle::PrepareSchemaUserQuery(DatabaseOracle, ComboBoxOracleServer.text);
  ComboBoxUserOchrona.ClearItems();
  oracle::FetchSchemaUsers(Query2, [this](const std::vector<std::string>& users) {
    for (ComboBox* box : {&ComboBoxUserOchrona, &ComboBoxUserLM, &ComboBoxUserLiczniki}) box->SetItems(users);
  });
}

}  // namespace app
