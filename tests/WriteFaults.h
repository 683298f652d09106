#pragma once

#include <cerrno>

#include "platform/TextFile.h"

namespace testing_support {

// Each step at which a file write can fail, with the system error it
// reports: a read-only folder, a full disk, a file held open elsewhere.
struct InjectedWriteFault {
  platform::WriteFault fault;
  int error;
};

inline constexpr InjectedWriteFault kWriteFaults[] = {{platform::WriteFault::CreateTemporary, EACCES},
                                                      {platform::WriteFault::AfterTemporaryWritten, ENOSPC},
                                                      {platform::WriteFault::Replace, EBUSY}};

}  // namespace testing_support
