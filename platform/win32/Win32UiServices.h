#pragma once

#include <string>

#include "platform/UiServices.h"

namespace platform::win32 {

inline constexpr char kApplicationTitle[] = "KonfigNovera";

// Message boxes and the hourglass cursor. The header stays free of
// <windows.h> so the program entry can use it; the owner is an HWND.
class Win32UiServices : public UiServices {
 public:
  void SetOwner(void* window) { owner_ = window; }
  void ShowError(const std::string& text) override;
  void SetBusyCursor(bool busy) override;
  bool Busy() const { return busyDepth_ > 0; }

 private:
  void* owner_ = nullptr;
  int busyDepth_ = 0;
};

}  // namespace platform::win32
