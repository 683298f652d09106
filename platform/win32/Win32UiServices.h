#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/UiServices.h"

namespace platform::win32 {

inline constexpr char kApplicationTitle[] = "KonfigNovera";

// The message a finished background job posts to the owner window (WM_APP
// + 1); its LPARAM is the job, which the window's procedure hands to
// FinishBackground.
inline constexpr unsigned kBackgroundDoneMessage = 0x8000 + 1;

// Message boxes, the hourglass cursor and background work. The header
// stays free of <windows.h> so the program entry can use it; the owner is
// an HWND.
class Win32UiServices : public UiServices {
 public:
  void SetOwner(void* window) { owner_ = window; }
  void ShowError(const std::string& text) override;
  void SetBusyCursor(bool busy) override;
  bool Busy() const { return busyDepth_ > 0; }
  // The work runs on a detached thread: a job still running when the window
  // closes finds no window to post to and is dropped there, and the
  // process's end stops it.
  void RunInBackground(std::function<void()> work, std::function<void()> done) override;
  // Called by the owner's window procedure for kBackgroundDoneMessage, on
  // the user-interface thread: runs the job's done, or raises the error its
  // work let out.
  static void FinishBackground(std::intptr_t job);

 private:
  void* owner_ = nullptr;
  int busyDepth_ = 0;
};

}  // namespace platform::win32
