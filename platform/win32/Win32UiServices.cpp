#include "platform/win32/Win32UiServices.h"

#include "platform/win32/Unicode.h"
#include "platform/win32/Windows.h"

namespace platform::win32 {

void Win32UiServices::ShowError(const std::string& text) {
  MessageBoxW(static_cast<HWND>(owner_), Widen(text).c_str(), Widen(kApplicationTitle).c_str(),
              MB_OK | MB_ICONERROR);
}

// Nested scopes keep the hourglass until the outermost one ends.
void Win32UiServices::SetBusyCursor(bool busy) {
  busyDepth_ += busy ? 1 : -1;
  SetCursor(LoadCursorW(nullptr, busyDepth_ > 0 ? IDC_WAIT : IDC_ARROW));
}

}  // namespace platform::win32
