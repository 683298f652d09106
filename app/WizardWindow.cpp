#include "app/WizardWindow.h"

#include <algorithm>
#include <exception>

#include "app/ErrorText.h"
#include "app/WizardSettings.h"
#include "bde/Engine.h"
#include "platform/UiServices.h"

namespace app {

WizardWindow::WizardWindow(platform::Registry& registry, bde::Engine& engine, platform::UiServices& ui)
    : registry_(registry), engine_(engine), ui_(ui) {
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

  TabSheet0.onShow = [this] { RunShowHandler(&WizardWindow::TabSheet0Show); };
  TabSheet1.onShow = [this] { RunShowHandler(&WizardWindow::TabSheet1Show); };
  TabSheet1Oracle.onShow = [this] { RunShowHandler(&WizardWindow::TabSheet1OracleShow); };
  TabSheet2.onShow = [this] { RunShowHandler(&WizardWindow::TabSheet2Show); };
  TabSheet2Oracle.onShow = [this] { RunShowHandler(&WizardWindow::TabSheet2OracleShow); };
  TabSheet3.onShow = [this] { RunShowHandler(&WizardWindow::TabSheet3Show); };

  FormCreate();
}

WizardWindow::~WizardWindow() {
  engine_.UnregisterDatabase(Database2);
  engine_.UnregisterDatabase(DatabaseOracle);
}

void WizardWindow::FormCreate() {
  for (PageControl* pages : {&PageControl1, &PageControl2}) {
    for (Page* page : pages->Pages()) page->tabVisible = false;
  }
  TnsnamesLines.clear();
  engine_.RegisterDatabase(Database2);
  engine_.RegisterDatabase(DatabaseOracle);
  engine_.SetConfigurationMode(bde::ConfigurationMode::Persistent);
  aliasPrefix_ = "X ";
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
  const int step = (ServerKind() == 0 && CurrentPage() == 0) ? 1 : 2;
  ShowPage(CurrentPage() + step);
  UpdateButtons();
}

void WizardWindow::ButtonWsteczClick() {
  ShowPage(std::max(CurrentPage() - 2, 0));
  UpdateButtons();
}

void WizardWindow::ButtonWykonajClick() {}

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

// Filled by the SQL Server and Oracle paths; until then the pages show
// their defaults.
void WizardWindow::TabSheet1Show() {}
void WizardWindow::TabSheet1OracleShow() {}
void WizardWindow::TabSheet2Show() {}
void WizardWindow::TabSheet2OracleShow() {}
void WizardWindow::ComboBoxServerDropDown() {}
void WizardWindow::ComboBoxBazaDropDown(ComboBox&) {}
void WizardWindow::ComboBoxOracleHomeChange() {}
void WizardWindow::ComboBoxOracleServerChange() {}
void WizardWindow::ComboBoxUserDropDown() {}

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
