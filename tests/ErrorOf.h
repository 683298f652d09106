#pragma once

#include <functional>
#include <string>

#include "platform/Error.h"

namespace testing_support {

// The message of the platform::Error that body raises, or a marker that
// no test expects.
inline std::string ErrorOf(const std::function<void()>& body) {
  try {
    body();
  } catch (const platform::Error& error) {
    return error.what();
  }
  return "(no error)";
}

}  // namespace testing_support
