#include "platform/win32/SystemMessage.h"

#include "platform/win32/Unicode.h"

namespace platform::win32 {

std::string SystemMessage(DWORD error) {
  wchar_t buffer[512];
  DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, buffer,
                                512, nullptr);
  while (length > 0 && (buffer[length - 1] == L'\r' || buffer[length - 1] == L'\n' || buffer[length - 1] == L' ' ||
                        buffer[length - 1] == L'\t')) {
    --length;
  }
  if (length == 0) return "Error " + std::to_string(error);
  return Narrow(std::wstring_view(buffer, length));
}

}  // namespace platform::win32
