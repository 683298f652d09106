#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "app/servers/Kinds.h"
#include "oracle/ServiceEntryTable.h"

// Every page and control of the wizard, each named once. The model builds
// its controls from these rows, the view places each one by its identity,
// and an unattended run starts from the same texts and choices the window
// starts with. Adding a control is one row here and one member of the
// window; the view's layout must then place it, or the build fails.
namespace app {

enum class ControlKind { Label, Button, CheckBox, RadioGroup, ComboBox, Edit, Memo, GroupBox };

// PageControl1 holds the wizard pages TabSheet0 to TabSheet3Oracle in this
// order, so a page's place here is its page index; PageControl2 holds the
// wizard (TabSheet4) and the status page (TabSheet5).
#define KONFIGNOVERA_PAGES(X) \
  X(TabSheet0)                \
  X(TabSheet1)                \
  X(TabSheet1Oracle)          \
  X(TabSheet2)                \
  X(TabSheet2Oracle)          \
  X(TabSheet3)                \
  X(TabSheet3Oracle)          \
  X(TabSheet4)                \
  X(TabSheet5)

enum class PageId : uint8_t {
#define KONFIGNOVERA_PAGE_ID(name) name,
  KONFIGNOVERA_PAGES(KONFIGNOVERA_PAGE_ID)
#undef KONFIGNOVERA_PAGE_ID
};

inline constexpr std::string_view kPageNames[] = {
#define KONFIGNOVERA_PAGE_NAME(name) #name,
    KONFIGNOVERA_PAGES(KONFIGNOVERA_PAGE_NAME)
#undef KONFIGNOVERA_PAGE_NAME
};

inline constexpr int kWizardPageCount = static_cast<int>(PageId::TabSheet4);

constexpr std::string_view PageName(PageId page) { return kPageNames[static_cast<size_t>(page)]; }
constexpr bool IsWizardPage(PageId page) { return static_cast<int>(page) < kWizardPageCount; }
// The page's index in its page control.
constexpr int PageIndex(PageId page) {
  return IsWizardPage(page) ? static_cast<int>(page) : static_cast<int>(page) - kWizardPageCount;
}

// The sizes of the service entry's fields, which its edits allow.
constexpr size_t ServiceFieldSize(oracle::ServiceField field) {
  for (const oracle::ServiceFieldDefinition& definition : oracle::kServiceFields) {
    if (definition.field == field) return definition.size;
  }
  return 0;
}

namespace control_texts {

inline constexpr std::string_view kVersionItems[] = {"9 (II)", "10 (X)", "11 (XI)"};

inline constexpr std::string_view kMemo1[] = {
    "Należy wprowadzić nazwę źródła danych ODBC do połaczenia z bazą ", "danych.",
    "Istniejące źródła można wybrać z listy rozwijanej.",
    "Jeśli źródło danych o podanej nazwie istnieje, zostanie zmodyfikowane.",
    "Jeśli źródło danych o podanej nazwie nie istnieje, zostanie utworzone.", ""};
inline constexpr std::string_view kMemo6[] = {
    "Należy wybrać z listy nazwę ORACLE HOME.",
    "Jeśli lista jest pusta to klient ORACLE nie został poprawnie zainstalowany."};
inline constexpr std::string_view kMemo2[] = {
    "Należy wprowadzić nazwę serwera MSSQL na którym zainstalowano bazę ",
    "danych i wybać sposób logowania użytkownika na serwerze.",
    "Sposób logowania zależy od konfiguracji sieci w przedsiębiorstwie i od ",
    "systemu operacyjnego komputera na którym zainstalowano serwer ", "MSSQL."};
inline constexpr std::string_view kMemo5[] = {
    "Należy wprowadzić parametry serwera ORACLE na którym zainstalowano bazę ", "danych."};
inline constexpr std::string_view kMemo3[] = {
    "Należy wprowadzić nazwę bazy danych przygotowaną do użycia z ", "systemem ", "\"Lumira\". ",
    "Jeśli możliwe jest wybranie jej z listy rozwijanej to wcześniejsze parametry ", "zostały określone poprawnie.",
    "Jeśli dane liczników są przechowywane w osobnej bazie, należy ją również ", "wprowadzić lub wybrać z listy.",
    "Jeśli pole pozostanie nie wypełnione, przyjęta zostanie nazwa bazy ", "ogólnej."};
inline constexpr std::string_view kMemo4[] = {
    "Należy wprowadzić nazwy schematów bazy przygotowanej do użycia z systemem \"Lumira\".",
    "Jeśli możliwe jest wybranie ich z listy to wcześniejsze parametry zostały określone poprawnie.",
    "Jeśli dane liczników są przechowywane w osobnym shemacie, należy go również wprowadzić.",
    "Jeśli pole pozostanie nie wypełnione, przyjęta zostanie nazwa schematu bazy LM."};

}  // namespace control_texts

// X(name, kind, page, designated fields of ControlRow after the page...)
#define KONFIGNOVERA_CONTROLS(X)                                                                                   \
  X(Label5, Label, TabSheet0, .text = "Konfiguracja BDE dla systemu Novera - Lumira")                              \
  X(RadioGroupSerwer, RadioGroup, TabSheet0, .text = "Serwer", .lines = kServerKindItems, .choice = 0)             \
  X(RadioGroupWersja, RadioGroup, TabSheet0, .text = "Wersja", .lines = control_texts::kVersionItems,              \
    .choice = 2)                                                                                                   \
  X(CheckBoxKopia, CheckBox, TabSheet0, .text = "Baza testowa (Kopia)")                                            \
  X(LabelConfigFile, Label, TabSheet0)                                                                             \
                                                                                                                   \
  X(Label1, Label, TabSheet1, .text = "Nazwa źródła danych ODBC")                                                  \
  X(ComboBoxNazwaZrodla, ComboBox, TabSheet1, .text = "MSSQL Novera LM", .limit = 32, .sorted = true)              \
  X(Memo1, Memo, TabSheet1, .lines = control_texts::kMemo1)                                                        \
                                                                                                                   \
  X(Label6, Label, TabSheet1Oracle, .text = "Nazwa Oracle Home")                                                   \
  X(ComboBoxOracleHome, ComboBox, TabSheet1Oracle, .pickOnly = true, .sorted = true)                               \
  X(Label8, Label, TabSheet1Oracle, .text = "Nazwa pakietu")                                                       \
  X(EditBoundle, Edit, TabSheet1Oracle, .readOnly = true)                                                          \
  X(LabelNLS, Label, TabSheet1Oracle, .text = "Kodowanie znaków")                                                  \
  X(EditNLS, Edit, TabSheet1Oracle, .readOnly = true)                                                              \
  X(Label7, Label, TabSheet1Oracle, .text = "Folder Oracle Home")                                                  \
  X(EditFolderHome, Edit, TabSheet1Oracle, .readOnly = true)                                                       \
  X(Memo6, Memo, TabSheet1Oracle, .lines = control_texts::kMemo6)                                                  \
                                                                                                                   \
  X(Label2, Label, TabSheet2, .text = "Nazwa serwera MSSQL")                                                       \
  X(ComboBoxServer, ComboBox, TabSheet2)                                                                           \
  X(CheckBoxWindows, CheckBox, TabSheet2, .text = "Logowanie do serwera poprzez użytkownika Windows",              \
    .checked = true, .captionLeft = true)                                                                          \
  X(Memo2, Memo, TabSheet2, .lines = control_texts::kMemo2)                                                        \
  X(CheckBoxDMO, CheckBox, TabSheet2,                                                                              \
    .text = "Użyj metody wyszukiwania serwerów \"SQLBrowseConnect\" (szybka ale nie zawsze skuteczna).",           \
    .checked = true, .captionLeft = true, .hidden = true)                                                          \
                                                                                                                   \
  X(Label9, Label, TabSheet2Oracle, .text = "Nazwa serwisu Oracle")                                                \
  X(ComboBoxOracleServer, ComboBox, TabSheet2Oracle, .text = "xe.serwer", .sorted = true)                          \
  X(Label10, Label, TabSheet2Oracle, .text = "Protokół")                                                           \
  X(DBEdit1, Edit, TabSheet2Oracle, .entryField = oracle::ServiceField::Protocol)                                  \
  X(Label11, Label, TabSheet2Oracle, .text = "Nazwa lub IP serwera")                                               \
  X(DBEdit2, Edit, TabSheet2Oracle, .entryField = oracle::ServiceField::Host)                                      \
  X(Label12, Label, TabSheet2Oracle, .text = "Port serwera")                                                       \
  X(DBEdit3, Edit, TabSheet2Oracle, .entryField = oracle::ServiceField::Port)                                      \
  X(Label13, Label, TabSheet2Oracle, .text = "Nazwa bazy (SID)")                                                   \
  X(DBEdit4, Edit, TabSheet2Oracle, .entryField = oracle::ServiceField::Service)                                   \
  X(Memo5, Memo, TabSheet2Oracle, .lines = control_texts::kMemo5)                                                  \
                                                                                                                   \
  X(Label3, Label, TabSheet3, .text = "Nazwa bazy danych")                                                         \
  X(ComboBoxBaza, ComboBox, TabSheet3, .sorted = true)                                                             \
  X(Label4, Label, TabSheet3, .text = "Nazwa bazy danych dla liczników")                                           \
  X(ComboBoxBazaLiczniki, ComboBox, TabSheet3, .sorted = true)                                                     \
  X(LabelBazaArchiwum, Label, TabSheet3, .text = "Nazwa bazy danych dla archiwum", .hidden = true)                 \
  X(ComboBoxBazaArchiwum, ComboBox, TabSheet3, .sorted = true, .hidden = true)                                     \
  X(Memo3, Memo, TabSheet3, .lines = control_texts::kMemo3)                                                        \
                                                                                                                   \
  X(GroupBox1, GroupBox, TabSheet3Oracle, .text = "Nazwy użtkowników schematów")                                   \
  X(Label14, Label, TabSheet3Oracle, .text = "Ochrona")                                                            \
  X(ComboBoxUserOchrona, ComboBox, TabSheet3Oracle, .text = "NOVERA_OCHRONA")                                      \
  X(Label15, Label, TabSheet3Oracle, .text = "Lumira")                                                             \
  X(ComboBoxUserLM, ComboBox, TabSheet3Oracle, .text = "NOVERA_LM")                                                \
  X(Label16, Label, TabSheet3Oracle, .text = "Lumira - Liczniki")                                                  \
  X(ComboBoxUserLiczniki, ComboBox, TabSheet3Oracle)                                                               \
  X(Memo4, Memo, TabSheet3Oracle, .lines = control_texts::kMemo4)                                                  \
                                                                                                                   \
  X(ButtonWstecz, Button, TabSheet4, .text = "< Wstecz")                                                           \
  X(ButtonDalej, Button, TabSheet4, .text = "Dalej >")                                                             \
  X(ButtonWykonaj, Button, TabSheet4, .text = "Wykonaj")                                                           \
                                                                                                                   \
  X(MemoStatus, Memo, TabSheet5)                                                                                   \
  X(ButtonSprawdz, Button, TabSheet5, .text = "Sprawdź połączenia")                                                \
  X(Button1, Button, TabSheet5, .text = "OK")

enum class ControlId : uint8_t {
#define KONFIGNOVERA_CONTROL_ID(name, ...) name,
  KONFIGNOVERA_CONTROLS(KONFIGNOVERA_CONTROL_ID)
#undef KONFIGNOVERA_CONTROL_ID
};

struct ControlRow {
  ControlId id;
  std::string_view name;
  ControlKind kind;
  PageId page;
  std::string_view text = {};                    // caption, or the initial text
  std::span<const std::string_view> lines = {};  // a memo's lines, a radio group's items
  size_t limit = 0;                              // characters the user may type; 0: no limit
  // An edit bound to a field of the service-entry table, whose size it
  // allows.
  std::optional<oracle::ServiceField> entryField = {};
  int choice = 0;                                // a radio group's item marked at start
  bool checked = false;                          // a check box at start
  bool pickOnly = false;                         // a combo box without typing
  bool sorted = false;                           // a combo box's list
  bool readOnly = false;                         // an edit
  bool captionLeft = false;                      // a check box's caption
  bool hidden = false;                           // at start
};

inline constexpr ControlRow kControls[] = {
#define KONFIGNOVERA_CONTROL_ROW(control, controlKind, onPage, ...)                                      \
  {.id = ControlId::control, .name = #control, .kind = ControlKind::controlKind, .page = PageId::onPage, \
   __VA_ARGS__},
    KONFIGNOVERA_CONTROLS(KONFIGNOVERA_CONTROL_ROW)
#undef KONFIGNOVERA_CONTROL_ROW
};

inline constexpr size_t kControlCount = std::size(kControls);

constexpr size_t IndexOf(ControlId control) { return static_cast<size_t>(control); }
constexpr const ControlRow& RowOf(ControlId control) { return kControls[IndexOf(control)]; }

// What an unattended run starts from, as the window does.
constexpr std::string_view InitialText(ControlId control) { return RowOf(control).text; }
constexpr bool InitiallyChecked(ControlId control) { return RowOf(control).checked; }
constexpr int InitialChoice(ControlId control) { return RowOf(control).choice; }
constexpr size_t LimitOf(ControlId control) {
  const ControlRow& row = RowOf(control);
  return row.entryField ? ServiceFieldSize(*row.entryField) : row.limit;
}

// A control's identity where its kind is known: a member declared with a
// row of another kind does not compile.
template <ControlKind kind>
struct ControlOfKind {
  ControlId id;
  consteval ControlOfKind(ControlId control) : id(control) {
    if (RowOf(control).kind != kind) throw "the control table gives this control another kind";
  }
};

}  // namespace app
