#pragma once

#include <string>
#include <vector>

#include "platform/UiServices.h"

namespace testing_support {

// Records what the window would show instead of showing it.
class FakeUi : public platform::UiServices {
 public:
  void ShowError(const std::string& text) override {
    errors.push_back(text);
    if (events) events->push_back("error " + text);
  }
  void SetBusyCursor(bool busy) override { busyDepth += busy ? 1 : -1; }

  std::vector<std::string> errors;
  int busyDepth = 0;                            // hourglass scopes still open
  std::vector<std::string>* events = nullptr;  // error boxes, in order with other events
};

}  // namespace testing_support
