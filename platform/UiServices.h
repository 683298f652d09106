#pragma once

#include <functional>
#include <string>

namespace platform {

// What the wizard needs of the user-interface toolkit beyond its controls.
class UiServices {
 public:
  virtual ~UiServices() = default;
  // Message box with the error icon, an OK button and the application's title.
  virtual void ShowError(const std::string& text) = 0;
  virtual void SetBusyCursor(bool busy) = 0;
  // Runs work on a thread of its own, so the window keeps repainting and
  // moving, then done on the user-interface thread, inside the top-level
  // error handler. Work must own everything it uses and touch nothing of
  // the window; an exception it lets out is raised on the user-interface
  // thread in place of done, never on the worker.
  virtual void RunInBackground(std::function<void()> work, std::function<void()> done) = 0;
};

// Shows the hourglass cursor for the life of the scope, however it ends.
class BusyCursor {
 public:
  explicit BusyCursor(UiServices& ui) : ui_(ui) { ui_.SetBusyCursor(true); }
  ~BusyCursor() { ui_.SetBusyCursor(false); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

 private:
  UiServices& ui_;
};

}  // namespace platform
