#include "view/WizardView.h"

#include <string>
#include <vector>

#include "app/WizardWindow.h"
#include "platform/UniqueHandle.h"
#include "platform/win32/Unicode.h"
#include "platform/win32/Win32UiServices.h"
#include "platform/win32/Windows.h"
#include "view/WizardLayout.h"

namespace view {
namespace {

using platform::win32::Narrow;
using platform::win32::Widen;
using platform::win32::Win32UiServices;

using UniqueFont = platform::UniqueHandle<HFONT, platform::CloseWith<DeleteObject>>;
using UniqueBrush = platform::UniqueHandle<HBRUSH, platform::CloseWith<DeleteObject>>;

constexpr COLORREF kMaroon = RGB(128, 0, 0);
constexpr COLORREF kOlive = RGB(128, 128, 0);
constexpr int kRadioItemHeight = 20;

std::string WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<size_t>(length));
  return Narrow(text);
}

void SetWindowTextIfChanged(HWND window, const std::string& text) {
  if (WindowText(window) != text) SetWindowTextW(window, Widen(text).c_str());
}

std::string JoinMemoLines(const std::vector<std::string>& lines) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += lines[i];
  }
  return text;
}

// One real control (a radio group: its frame and items) and the model
// control and page it mirrors.
struct ViewControl {
  const ControlPlacement* placement;
  app::Control* control;
  const app::PageControl* pageControl;
  int pageIndex;
  HWND window = nullptr;
  std::vector<HWND> radioItems;
  std::vector<std::string> shownItems;
};

class WizardView {
 public:
  WizardView(app::WizardWindow& model, Win32UiServices& ui) : model_(model), ui_(ui) {}

  int Run();

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  void CreateFonts();
  void CreateControls();
  void CreateWindowOf(ViewControl& view);
  void PlaceInKeyboardOrder(const ViewControl& view);
  HWND CreateChild(const wchar_t* windowClass, const std::string& text, DWORD style, DWORD exStyle, int x, int y,
                   int width, int height, int id);
  void PlaceWindow();
  void Mirror();
  void MirrorControl(ViewControl& view, bool pageShown);
  void UpdateDefaultButton();
  void Command(int id, int code);
  void Dispatch(const std::function<void()>& handler);
  const ViewControl* FindByWindow(HWND window) const;
  int Scale(int pixels) const { return MulDiv(pixels, dpi_, 96); }

  app::WizardWindow& model_;
  Win32UiServices& ui_;
  HWND dialog_ = nullptr;
  int dpi_ = 96;
  bool mirroring_ = false;
  bool shown_ = false;
  std::vector<ViewControl> controls_;
  UniqueFont font_;
  UniqueFont titleFont_;
  UniqueBrush pageBrush_;
  UniqueBrush oliveBrush_;
};

int WizardView::Run() {
  // An empty in-memory dialog template: the dialog manager then gives us
  // Tab navigation and default buttons; the controls are laid out in code.
  struct {
    DLGTEMPLATE header;
    WORD menu, windowClass, title;
  } dialogTemplate{};
  dialogTemplate.header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &dialogTemplate.header, nullptr, DialogProc,
                             reinterpret_cast<LPARAM>(this));
  if (!dialog_) return 1;

  model_.onChanged = [this] {
    Mirror();
    if (!shown_) {
      shown_ = true;
      ShowWindow(dialog_, SW_SHOW);
      UpdateWindow(dialog_);
    }
  };
  Dispatch([this] { model_.FormShow(); });

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (!IsDialogMessageW(dialog_, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  model_.onChanged = nullptr;
  return 0;
}

INT_PTR CALLBACK WizardView::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    auto* view = reinterpret_cast<WizardView*>(lParam);
    view->dialog_ = dialog;
  }
  auto* view = reinterpret_cast<WizardView*>(GetWindowLongPtrW(dialog, DWLP_USER));
  return view ? view->HandleMessage(message, wParam, lParam) : FALSE;
}

INT_PTR WizardView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      ui_.SetOwner(dialog_);
      SetWindowTextW(dialog_, Widen(app::WizardWindow::kCaption).c_str());
      CreateFonts();
      CreateControls();
      PlaceWindow();
      Mirror();
      return FALSE;  // focus is set by Mirror
    case WM_COMMAND:
      Command(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case platform::win32::kBackgroundDoneMessage:
      // Background work of the model ended: its completion runs here, on
      // this thread, as any handler does.
      Dispatch([lParam] { Win32UiServices::FinishBackground(lParam); });
      return TRUE;
    case WM_SETCURSOR:
      if (ui_.Busy()) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        SetWindowLongPtrW(dialog_, DWLP_MSGRESULT, TRUE);
        return TRUE;
      }
      return FALSE;
    case WM_CTLCOLORDLG:
      return reinterpret_cast<INT_PTR>(pageBrush_.Get());
    case WM_CTLCOLORSTATIC: {
      auto dc = reinterpret_cast<HDC>(wParam);
      const ViewControl* view = FindByWindow(reinterpret_cast<HWND>(lParam));
      const Style style = view ? view->placement->style : Style::Plain;
      if (style == Style::Banner) {
        SetBkColor(dc, kOlive);
        return reinterpret_cast<INT_PTR>(oliveBrush_.Get());
      }
      if (style == Style::Title) SetTextColor(dc, kMaroon);
      SetBkColor(dc, GetSysColor(COLOR_WINDOW));
      return reinterpret_cast<INT_PTR>(pageBrush_.Get());
    }
    case WM_CLOSE:
      DestroyWindow(dialog_);
      return TRUE;
    case WM_DESTROY:
      PostQuitMessage(0);
      return TRUE;
    default:
      return FALSE;
  }
}

void WizardView::CreateFonts() {
  HDC screen = GetDC(nullptr);
  dpi_ = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  const auto makeFont = [this](int points, int weight) {
    return UniqueFont(CreateFontW(-MulDiv(points, dpi_, 72), 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Tahoma"));
  };
  font_ = makeFont(8, FW_NORMAL);
  titleFont_ = makeFont(12, FW_BOLD);
  pageBrush_.Reset(CreateSolidBrush(GetSysColor(COLOR_WINDOW)));
  oliveBrush_.Reset(CreateSolidBrush(kOlive));
}

HWND WizardView::CreateChild(const wchar_t* windowClass, const std::string& text, DWORD style, DWORD exStyle, int x,
                             int y, int width, int height, int id) {
  HWND window = CreateWindowExW(exStyle, windowClass, Widen(text).c_str(), WS_CHILD | style, Scale(x), Scale(y),
                                Scale(width), Scale(height), dialog_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                GetModuleHandleW(nullptr), nullptr);
  SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
  return window;
}

// Only the table is set up here; each control's window is made when its
// page is first shown, so start-up creates the first page alone.
void WizardView::CreateControls() {
  for (const ControlPlacement& placement : kWizardLayout) {
    const app::PageId page = app::RowOf(placement.control).page;
    const app::PageControl* pages = app::IsWizardPage(page) ? &model_.PageControl1 : &model_.PageControl2;
    controls_.push_back(
        {&placement, &model_.ControlOf(placement.control), pages, app::PageIndex(page), nullptr, {}, {}});
  }
}

// The dialog manager takes the keyboard order from the windows' order, so
// a window made later is placed after the one made before it in the table.
void WizardView::CreateWindowOf(ViewControl& view) {
  const auto [controlId, id, x, y, width, height, style] = *view.placement;
  app::Control& control = *view.control;
  // Each control starts its own group, which also ends a radio group.
  const DWORD group = WS_GROUP;
  switch (control.Kind()) {
    case app::ControlKind::Label: {
      const DWORD align = style == Style::Plain ? SS_LEFT : SS_CENTER;
      view.window = CreateChild(L"STATIC", control.text, group | align | SS_NOPREFIX, 0, x, y, width, height, id);
      if (style == Style::Title) SendMessageW(view.window, WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_.Get()), 0);
      break;
    }
    case app::ControlKind::GroupBox:
      view.window = CreateChild(L"BUTTON", control.text, group | BS_GROUPBOX, 0, x, y, width, height, id);
      break;
    case app::ControlKind::Button:
      view.window =
          CreateChild(L"BUTTON", control.text, group | WS_TABSTOP | BS_PUSHBUTTON, 0, x, y, width, height, id);
      break;
    case app::ControlKind::CheckBox: {
      const auto& box = static_cast<app::CheckBox&>(control);
      DWORD checkStyle = group | WS_TABSTOP | BS_AUTOCHECKBOX | BS_MULTILINE;
      if (box.captionLeft) checkStyle |= BS_LEFTTEXT | BS_RIGHTBUTTON;
      view.window = CreateChild(L"BUTTON", control.text, checkStyle, 0, x, y, width, height, id);
      break;
    }
    case app::ControlKind::RadioGroup: {
      const auto& radios = static_cast<app::RadioGroup&>(control);
      view.window = CreateChild(L"BUTTON", control.text, group | BS_GROUPBOX, 0, x, y, width, height, id);
      for (size_t i = 0; i < radios.Items().size(); ++i) {
        const DWORD first = i == 0 ? WS_GROUP | WS_TABSTOP : 0;
        view.radioItems.push_back(CreateChild(L"BUTTON", radios.Items()[i], first | BS_AUTORADIOBUTTON, 0, x + 12,
                                              y + 20 + static_cast<int>(i) * kRadioItemHeight, width - 24, 17,
                                              id + 1 + static_cast<int>(i)));
      }
      break;
    }
    case app::ControlKind::ComboBox: {
      const auto& box = static_cast<app::ComboBox&>(control);
      const DWORD kind = box.editable ? CBS_DROPDOWN | CBS_AUTOHSCROLL : CBS_DROPDOWNLIST;
      view.window = CreateChild(L"COMBOBOX", "", group | WS_TABSTOP | WS_VSCROLL | kind, 0, x, y, width,
                                kDropDownHeight, id);
      if (box.maxLength > 0) SendMessageW(view.window, CB_LIMITTEXT, box.maxLength, 0);
      break;
    }
    case app::ControlKind::Edit: {
      const auto& edit = static_cast<app::Edit&>(control);
      const DWORD readOnly = edit.readOnly ? ES_READONLY : 0;
      view.window = CreateChild(L"EDIT", control.text, group | WS_TABSTOP | ES_AUTOHSCROLL | readOnly,
                                WS_EX_CLIENTEDGE, x, y, width, height, id);
      if (edit.maxLength > 0) SendMessageW(view.window, EM_LIMITTEXT, edit.maxLength, 0);
      break;
    }
    case app::ControlKind::Memo: {
      // Help texts fit their box; only the status report can grow past it.
      const DWORD border = style == Style::PageColoured ? 0 : WS_EX_CLIENTEDGE;
      const DWORD scroll = style == Style::Report ? WS_VSCROLL : 0;
      view.window = CreateChild(L"EDIT", "", group | WS_TABSTOP | scroll | ES_MULTILINE | ES_READONLY, border, x, y,
                                width, height, id);
      break;
    }
  }
  PlaceInKeyboardOrder(view);
}

void WizardView::PlaceInKeyboardOrder(const ViewControl& view) {
  HWND before = HWND_TOP;
  for (const ViewControl& other : controls_) {
    if (&other == &view) break;
    if (other.window) before = other.radioItems.empty() ? other.window : other.radioItems.back();
  }
  constexpr UINT kOrderOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW;
  SetWindowPos(view.window, before, 0, 0, 0, 0, kOrderOnly);
  HWND previous = view.window;
  for (HWND item : view.radioItems) {
    SetWindowPos(item, previous, 0, 0, 0, 0, kOrderOnly);
    previous = item;
  }
}

void WizardView::PlaceWindow() {
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(dialog_, GWL_STYLE));
  const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(dialog_, GWL_EXSTYLE));
  RECT frame{0, 0, Scale(kClientWidth), Scale(kClientHeight)};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  SetWindowPos(dialog_, nullptr, work.left + (work.right - work.left - width) / 2,
               work.top + (work.bottom - work.top - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void WizardView::Mirror() {
  mirroring_ = true;
  const bool wizardShown = model_.PageControl2.ActiveIndex() == 0;
  for (ViewControl& view : controls_) {
    bool pageShown = view.pageControl && view.pageControl->ActiveIndex() == view.pageIndex;
    if (view.pageControl == &model_.PageControl1) pageShown = pageShown && wizardShown;
    MirrorControl(view, pageShown);
  }
  mirroring_ = false;
  UpdateDefaultButton();
}

void WizardView::MirrorControl(ViewControl& view, bool pageShown) {
  app::Control& control = *view.control;
  const bool show = pageShown && control.visible;
  if (!view.window) {
    if (!show) return;
    CreateWindowOf(view);
  }
  switch (control.Kind()) {
    case app::ControlKind::CheckBox:
      SendMessageW(view.window, BM_SETCHECK,
                   static_cast<app::CheckBox&>(control).Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
      SetWindowTextIfChanged(view.window, control.text);
      break;
    case app::ControlKind::RadioGroup: {
      const int marked = static_cast<app::RadioGroup&>(control).ItemIndex();
      for (size_t i = 0; i < view.radioItems.size(); ++i) {
        HWND item = view.radioItems[i];
        SendMessageW(item, BM_SETCHECK, static_cast<int>(i) == marked ? BST_CHECKED : BST_UNCHECKED, 0);
        EnableWindow(item, control.enabled);
        ShowWindow(item, show ? SW_SHOWNA : SW_HIDE);
      }
      SetWindowTextIfChanged(view.window, control.text);
      break;
    }
    case app::ControlKind::ComboBox: {
      auto& box = static_cast<app::ComboBox&>(control);
      if (view.shownItems != box.Items()) {
        SendMessageW(view.window, CB_RESETCONTENT, 0, 0);
        for (const std::string& item : box.Items()) {
          SendMessageW(view.window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
        }
        view.shownItems = box.Items();
      }
      if (box.editable) {
        SetWindowTextIfChanged(view.window, box.text);
      } else {
        SendMessageW(view.window, CB_SETCURSEL, static_cast<WPARAM>(box.ItemIndex()), 0);
      }
      break;
    }
    case app::ControlKind::Memo:
      SetWindowTextIfChanged(view.window, JoinMemoLines(static_cast<app::Memo&>(control).lines));
      break;
    default:
      SetWindowTextIfChanged(view.window, control.text);
      break;
  }
  EnableWindow(view.window, control.enabled);
  if ((IsWindowVisible(view.window) != FALSE) != show) ShowWindow(view.window, show ? SW_SHOWNA : SW_HIDE);
}

// Enter presses "Dalej >" or "Wykonaj", whichever is enabled, on the wizard
// pages and "OK" on the status page. Focus left on a control that was just
// disabled or hidden moves to that button, so the keyboard never gets stuck.
void WizardView::UpdateDefaultButton() {
  const app::Button* target = &model_.Button1;
  if (model_.PageControl2.ActiveIndex() == 0) {
    target = model_.ButtonDalej.enabled ? &model_.ButtonDalej : &model_.ButtonWykonaj;
  }
  const ControlPlacement* placement = &PlacementOf(target->Id());
  HWND previousDefault = GetDlgItem(dialog_, static_cast<int>(LOWORD(SendMessageW(dialog_, DM_GETDEFID, 0, 0))));
  if (previousDefault) SendMessageW(previousDefault, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
  SendMessageW(dialog_, DM_SETDEFID, static_cast<WPARAM>(placement->id), 0);
  HWND focus = GetFocus();
  if (!focus || !IsWindowEnabled(focus) || !IsWindowVisible(focus)) {
    HWND button = GetDlgItem(dialog_, placement->id);
    if (IsWindowEnabled(button) && IsWindowVisible(button)) {
      SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(button), TRUE);
    }
  }
}

const ViewControl* WizardView::FindByWindow(HWND window) const {
  for (const ViewControl& view : controls_) {
    if (view.window == window) return &view;
  }
  return nullptr;
}

void WizardView::Dispatch(const std::function<void()>& handler) {
  model_.Dispatch(handler);
  if (model_.CloseRequested()) DestroyWindow(dialog_);
}

void WizardView::Command(int id, int code) {
  if (mirroring_) return;
  for (ViewControl& view : controls_) {
    const int first = view.placement->id;
    app::Control& control = *view.control;
    if (control.Kind() == app::ControlKind::RadioGroup) {
      const int item = id - first - 1;
      if (item >= 0 && item < static_cast<int>(view.radioItems.size()) && code == BN_CLICKED) {
        auto& radios = static_cast<app::RadioGroup&>(control);
        Dispatch([&radios, item] { radios.SetItemIndex(item); });
        return;
      }
      continue;
    }
    if (id != first) continue;
    switch (control.Kind()) {
      case app::ControlKind::Button:
        if (code == BN_CLICKED) Dispatch([&control] { static_cast<app::Button&>(control).Click(); });
        break;
      case app::ControlKind::CheckBox:
        if (code == BN_CLICKED) {
          const bool checked = SendMessageW(view.window, BM_GETCHECK, 0, 0) == BST_CHECKED;
          Dispatch([&control, checked] { static_cast<app::CheckBox&>(control).SetChecked(checked); });
        }
        break;
      case app::ControlKind::ComboBox: {
        auto& box = static_cast<app::ComboBox&>(control);
        if (code == CBN_DROPDOWN) {
          Dispatch([&box] { box.DropDown(); });
        } else if (code == CBN_EDITCHANGE) {
          const std::string text = WindowText(view.window);
          Dispatch([&box, text] { box.UserSetText(text); });
        } else if (code == CBN_SELCHANGE) {
          const int index = static_cast<int>(SendMessageW(view.window, CB_GETCURSEL, 0, 0));
          Dispatch([&box, index] { box.UserSelect(index); });
        }
        break;
      }
      case app::ControlKind::Edit: {
        auto& edit = static_cast<app::Edit&>(control);
        if (code == EN_CHANGE && !edit.readOnly) {
          const std::string text = WindowText(view.window);
          Dispatch([&edit, text] { edit.UserSetText(text); });
        }
        break;
      }
      default:
        break;
    }
    return;
  }
}

}  // namespace

int RunWizardWindow(app::WizardWindow& model, Win32UiServices& ui) {
  WizardView view(model, ui);
  return view.Run();
}

}  // namespace view
