#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/UiServices.h"

namespace testing_support {

// Records what the window would show instead of showing it. Background
// work waits until the test finishes it, so a test sees the window while
// the work runs.
class FakeUi : public platform::UiServices {
 public:
  void ShowError(const std::string& text) override {
    errors.push_back(text);
    if (events) events->push_back("error " + text);
  }
  void SetBusyCursor(bool busy) override { busyDepth += busy ? 1 : -1; }
  void RunInBackground(std::function<void()> work, std::function<void()> done) override {
    background.push_back({std::move(work), std::move(done)});
  }

  // Runs the background work started so far, each job's work and then its
  // done, as the real toolkit does on two threads; call it inside the
  // window's top-level handler, where the real completion arrives.
  void FinishBackground() {
    std::vector<std::pair<std::function<void()>, std::function<void()>>> jobs = std::move(background);
    background.clear();
    for (auto& [work, done] : jobs) {
      work();
      done();
    }
  }

  std::vector<std::string> errors;
  int busyDepth = 0;                            // hourglass scopes still open
  std::vector<std::string>* events = nullptr;  // error boxes, in order with other events
  std::vector<std::pair<std::function<void()>, std::function<void()>>> background;  // not yet finished
};

}  // namespace testing_support
