#include "platform/win32/Win32UiServices.h"

#include <exception>
#include <memory>
#include <thread>
#include <utility>

#include "platform/win32/Unicode.h"
#include "platform/win32/Windows.h"

namespace platform::win32 {
namespace {

struct BackgroundJob {
  std::function<void()> work;
  std::function<void()> done;
  std::exception_ptr error;
};

}  // namespace

void Win32UiServices::ShowError(const std::string& text) {
  MessageBoxW(static_cast<HWND>(owner_), Widen(text).c_str(), Widen(kApplicationTitle).c_str(),
              MB_OK | MB_ICONERROR);
}

// Nested scopes keep the hourglass until the outermost one ends.
void Win32UiServices::SetBusyCursor(bool busy) {
  busyDepth_ += busy ? 1 : -1;
  SetCursor(LoadCursorW(nullptr, busyDepth_ > 0 ? IDC_WAIT : IDC_ARROW));
}

void Win32UiServices::RunInBackground(std::function<void()> work, std::function<void()> done) {
  auto job = std::make_unique<BackgroundJob>(BackgroundJob{std::move(work), std::move(done), nullptr});
  const auto window = static_cast<HWND>(owner_);
  std::thread([window, job = std::move(job)]() mutable {
    try {
      job->work();
    } catch (...) {
      job->error = std::current_exception();
    }
    // Once posted, the job belongs to the message; a window already gone
    // leaves it here.
    if (PostMessageW(window, kBackgroundDoneMessage, 0, reinterpret_cast<LPARAM>(job.get())) != FALSE) {
      static_cast<void>(job.release());
    }
  }).detach();
}

void Win32UiServices::FinishBackground(std::intptr_t jobAddress) {
  const std::unique_ptr<BackgroundJob> job(reinterpret_cast<BackgroundJob*>(jobAddress));
  if (job->error) std::rethrow_exception(job->error);
  job->done();
}

}  // namespace platform::win32
