// Drives the running wizard from outside, as a user would, and checks what
// its controls show. Each argument group is one step, run in order:
//
//   desktop NAME                 wait for that desktop (a Wine virtual desktop
//                                started by "explorer /desktop=NAME,...") and
//                                look there; only as the first step
//   wait                         until the window "Konfiguracja BDE" stands
//   click NAME                   press a button or toggle a check box
//   radio NAME ITEM              mark a radio group's item
//   enter                        press Enter in the window
//   type NAME TEXT               replace an edit's or combo box's text, as
//                                typing does (the change is notified)
//   pick NAME INDEX              choose a combo box's item as a user does
//   dropdown NAME                open a combo box's list, then close it
//   focus NAME                   move the keyboard focus to a control
//   tab                          press Tab in the control that has the focus
//   expect-focus NAME            the focus is on that control (a radio
//                                group: on one of its items)
//   expect NAME PROPERTY VALUE   visible|enabled|checked: 0 or 1; text;
//                                marked: the radio item marked, -1 for none;
//                                items: a combo box's entries joined by "|"
//   expect-page N                the wizard page N alone is shown
//   expect-error TEXT            an error box shows TEXT; press its OK
//   close                        close with the close box, wait until gone
//   print NAME                   print a control's text (a memo's lines)
//   dump                         print every control's state
//
// The exit code is 0 when every step passed; a failed step prints why.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/Unicode.h"
#include "platform/win32/Windows.h"
#include "view/WizardLayout.h"

namespace {

using view::ControlPlacement;
using view::FindPlacement;
using view::kWizardLayout;
using platform::win32::Narrow;
using platform::win32::Widen;

constexpr DWORD kReplyTimeoutMs = 30000;
// One control that only the page of that index holds.
constexpr std::string_view kPageMarkers[] = {"RadioGroupSerwer",     "ComboBoxNazwaZrodla",  "ComboBoxOracleHome",
                                             "ComboBoxServer",       "ComboBoxOracleServer", "ComboBoxBaza",
                                             "ComboBoxUserOchrona"};

HWND wizard = nullptr;

[[noreturn]] void Fail(const std::string& why) {
  std::fprintf(stderr, "wizard driver: %s\n", why.c_str());
  std::exit(1);
}

HWND FindWizard() { return FindWindowW(L"#32770", L"Konfiguracja BDE"); }
// Message boxes are dialogs too; ours carry the application's title.
HWND ErrorBox() { return FindWindowW(L"#32770", L"KonfigNovera"); }

// Waits until the wizard has handled everything sent or posted so far.
// A window that closed meanwhile ("OK" on the status page) has nothing left
// to handle.
void Settle() {
  for (int round = 0; round < 3 && IsWindow(wizard); ++round) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(wizard, WM_NULL, 0, 0, SMTO_NORMAL, kReplyTimeoutMs, &result)) {
      Fail("the window does not answer");
    }
    Sleep(50);
  }
}

// The wizard makes a page's controls when the page is first shown, so a
// control of a page not shown yet has no window: it is not visible.
HWND FindControl(std::string_view name) {
  const ControlPlacement* placement = FindPlacement(name);
  if (!placement) Fail("no control named " + std::string(name));
  return GetDlgItem(wizard, placement->id);
}

HWND Control(std::string_view name, int item = -1) {
  const ControlPlacement* placement = FindPlacement(name);
  if (!placement) Fail("no control named " + std::string(name));
  HWND control = GetDlgItem(wizard, placement->id + (item >= 0 ? item + 1 : 0));
  if (!control) Fail("the window has no control " + std::string(name));
  return control;
}

std::string Text(HWND control) {
  wchar_t buffer[4096] = L"";
  DWORD_PTR length = 0;
  SendMessageTimeoutW(control, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buffer), SMTO_NORMAL, kReplyTimeoutMs,
                      &length);
  return Narrow(std::wstring_view(buffer, length));
}

std::string Items(HWND box) {
  std::string items;
  const LRESULT count = SendMessageW(box, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t item[1024] = L"";
    const LRESULT length = SendMessageW(box, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item));
    if (i > 0) items += '|';
    items += Narrow(std::wstring_view(item, length > 0 ? static_cast<size_t>(length) : 0));
  }
  return items;
}

// A user's pick: the list's selection moves and the window hears of it.
void Pick(std::string_view name, int index) {
  HWND box = Control(name);
  if (SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(index), 0) == CB_ERR) {
    Fail(std::string(name) + " has no item " + std::to_string(index));
  }
  const WPARAM command = MAKEWPARAM(GetDlgCtrlID(box), CBN_SELCHANGE);
  DWORD_PTR result = 0;
  SendMessageTimeoutW(wizard, WM_COMMAND, command, reinterpret_cast<LPARAM>(box), SMTO_NORMAL, kReplyTimeoutMs,
                      &result);
  Settle();
}

// Opening the list sends CBN_DROPDOWN, whose handler fills it first. A
// fill reports nothing, so an error box is a failure.
void DropDown(std::string_view name) {
  HWND box = Control(name);
  DWORD_PTR result = 0;
  SendMessageTimeoutW(box, CB_SHOWDROPDOWN, TRUE, 0, SMTO_NORMAL, kReplyTimeoutMs, &result);
  Settle();
  if (HWND error = ErrorBox()) {
    Fail("opening " + std::string(name) + " showed an error box: " + Text(GetDlgItem(error, 0xFFFF)));
  }
  SendMessageTimeoutW(box, CB_SHOWDROPDOWN, FALSE, 0, SMTO_NORMAL, kReplyTimeoutMs, &result);
  Settle();
}

// An edit notifies a text set from outside as it does typing; a combo box
// does not, so its change is notified as its edit would.
void Type(std::string_view name, const std::string& text) {
  HWND control = Control(name);
  DWORD_PTR result = 0;
  SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()), SMTO_NORMAL,
                      kReplyTimeoutMs, &result);
  wchar_t windowClass[32] = L"";
  GetClassNameW(control, windowClass, 32);
  if (lstrcmpiW(windowClass, L"ComboBox") == 0) {
    SendMessageTimeoutW(wizard, WM_COMMAND, MAKEWPARAM(FindPlacement(name)->id, CBN_EDITCHANGE),
                        reinterpret_cast<LPARAM>(control), SMTO_NORMAL, kReplyTimeoutMs, &result);
  }
  Settle();
}

HWND Focus() {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(wizard, nullptr), &info)) Fail("the window's thread is gone");
  return info.hwndFocus;
}

// The control a child window belongs to: itself, or the radio group whose
// item it is.
std::string ControlName(HWND window) {
  if (!window) return "(nothing)";
  const int id = GetDlgCtrlID(window);
  for (const ControlPlacement& placement : kWizardLayout) {
    const bool radioGroup = app::RowOf(placement.control).kind == app::ControlKind::RadioGroup;
    const bool radioItem = radioGroup && id > placement.id && id < placement.id + 10;
    if (id == placement.id || radioItem) return std::string(placement.Name());
  }
  return "(control " + std::to_string(id) + ")";
}

bool Checked(HWND control) { return SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED; }

int MarkedItem(std::string_view name) {
  for (int item = 0; item < 8; ++item) {
    HWND radio = GetDlgItem(wizard, FindPlacement(name)->id + item + 1);
    if (!radio) break;
    if (Checked(radio)) return item;
  }
  return -1;
}

// A press whose handler shows an error box does not return until the box
// is closed, so the press counts as done once the box stands.
void Press(HWND control) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(control, BM_CLICK, 0, 0, SMTO_NORMAL, 500, &result)) {
    for (DWORD waited = 0; IsWindow(wizard) && !ErrorBox(); waited += 100) {
      if (waited > kReplyTimeoutMs) Fail("the window does not answer");
      if (SendMessageTimeoutW(wizard, WM_NULL, 0, 0, SMTO_NORMAL, 100, &result)) break;
    }
  }
  Settle();
}

std::string Property(std::string_view name, std::string_view property) {
  if (property == "marked") return std::to_string(MarkedItem(name));
  if (property == "visible") return IsWindowVisible(FindControl(name)) ? "1" : "0";
  HWND control = Control(name);
  if (property == "enabled") return IsWindowEnabled(control) ? "1" : "0";
  if (property == "checked") return Checked(control) ? "1" : "0";
  if (property == "text") return Text(control);
  if (property == "items") return Items(control);
  Fail("unknown property " + std::string(property));
}

void Expect(std::string_view name, std::string_view property, const std::string& expected) {
  const std::string actual = Property(name, property);
  if (actual != expected) {
    Fail(std::string(name) + " " + std::string(property) + ": expected \"" + expected + "\", found \"" + actual +
         "\"");
  }
}

void ExpectPage(int page) {
  for (int index = 0; index < static_cast<int>(std::size(kPageMarkers)); ++index) {
    const bool shown = IsWindowVisible(FindControl(kPageMarkers[index])) != FALSE;
    if (shown != (index == page)) {
      Fail("page " + std::to_string(index) + (shown ? " is shown" : " is not shown") + ", expected page " +
           std::to_string(page));
    }
  }
}

// Message boxes are dialogs too; ours carry the application's title.
void ExpectError(const std::string& expected) {
  HWND box = nullptr;
  for (int tries = 0; tries < 100 && !(box = ErrorBox()); ++tries) Sleep(100);
  if (!box) Fail("no error box appeared, expected \"" + expected + "\"");
  // The text of a message box is its static control 0xFFFF.
  const std::string actual = Text(GetDlgItem(box, 0xFFFF));
  PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
  for (int tries = 0; tries < 100 && IsWindow(box); ++tries) Sleep(50);
  if (actual != expected) Fail("error box: expected \"" + expected + "\", found \"" + actual + "\"");
  Settle();
}

void Dump() {
  for (const ControlPlacement& placement : kWizardLayout) {
    HWND control = GetDlgItem(wizard, placement.id);
    if (!control) continue;
    std::printf("%-22s visible=%d enabled=%d checked=%d text=\"%s\"\n", std::string(placement.Name()).c_str(),
                IsWindowVisible(control) ? 1 : 0, IsWindowEnabled(control) ? 1 : 0, Checked(control) ? 1 : 0,
                Text(control).c_str());
  }
}

}  // namespace

// Wide arguments, so expected texts with Polish letters arrive whole.
int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(Narrow(argv[i]));
  auto need = [&](size_t i, size_t count) {
    if (i + count >= args.size()) Fail("missing arguments after " + args[i]);
  };
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& step = args[i];
    if (step == "desktop") {
      need(i, 1);
      // Windows are found only on the thread's own desktop, which may
      // still be starting.
      const std::wstring name = Widen(args[++i]);
      HDESK desktop = nullptr;
      for (int tries = 0; tries < 600 && !(desktop = OpenDesktopW(name.c_str(), 0, FALSE, GENERIC_ALL)); ++tries) {
        Sleep(100);
      }
      if (!desktop || !SetThreadDesktop(desktop)) Fail("no desktop named " + args[i]);
      continue;
    }
    if (step == "wait") {
      for (int tries = 0; tries < 600 && !(wizard = FindWizard()); ++tries) Sleep(100);
      if (!wizard) Fail("the window \"Konfiguracja BDE\" did not appear");
      Settle();
      continue;
    }
    if (!wizard && !(wizard = FindWizard())) Fail("the window \"Konfiguracja BDE\" is not there");
    if (step == "click") {
      need(i, 1);
      Press(Control(args[++i]));
    } else if (step == "radio") {
      need(i, 2);
      const std::string name = args[++i];
      Press(Control(name, std::atoi(args[++i].c_str())));
    } else if (step == "type") {
      need(i, 2);
      const std::string name = args[++i];
      Type(name, args[++i]);
    } else if (step == "pick") {
      need(i, 2);
      const std::string name = args[++i];
      Pick(name, std::atoi(args[++i].c_str()));
    } else if (step == "enter") {
      PostMessageW(wizard, WM_KEYDOWN, VK_RETURN, 0x001C0001);
      PostMessageW(wizard, WM_KEYUP, VK_RETURN, 0xC01C0001);
      Settle();
    } else if (step == "dropdown") {
      need(i, 1);
      DropDown(args[++i]);
    } else if (step == "focus") {
      need(i, 1);
      PostMessageW(wizard, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(args[++i])), TRUE);
      Settle();
    } else if (step == "tab") {
      HWND focus = Focus();
      if (!focus) Fail("no control has the focus");
      PostMessageW(focus, WM_KEYDOWN, VK_TAB, 0x000F0001);
      PostMessageW(focus, WM_KEYUP, VK_TAB, 0xC00F0001);
      Settle();
    } else if (step == "expect-focus") {
      need(i, 1);
      const std::string actual = ControlName(Focus());
      if (actual != args[++i]) Fail("focus: expected " + args[i] + ", found " + actual);
    } else if (step == "expect") {
      need(i, 3);
      const std::string name = args[i + 1];
      const std::string property = args[i + 2];
      Expect(name, property, args[i + 3]);
      i += 3;
    } else if (step == "expect-page") {
      need(i, 1);
      ExpectPage(std::atoi(args[++i].c_str()));
    } else if (step == "expect-error") {
      need(i, 1);
      ExpectError(args[++i]);
    } else if (step == "close") {
      PostMessageW(wizard, WM_CLOSE, 0, 0);
      for (int tries = 0; tries < 300 && IsWindow(wizard); ++tries) Sleep(100);
      if (IsWindow(wizard)) Fail("the window did not close");
      wizard = nullptr;
    } else if (step == "print") {
      need(i, 1);
      std::printf("%s\n", Text(Control(args[++i])).c_str());
      std::fflush(stdout);
    } else if (step == "dump") {
      Dump();
    } else {
      Fail("unknown step " + step);
    }
  }
  return 0;
}
