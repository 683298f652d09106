#include "platform/AnsiCodePage.h"

#include "platform/win32/Unicode.h"
#include "platform/win32/Windows.h"

namespace platform {

std::string FromAnsiCodePage(std::string_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), length);
  return win32::Narrow(wide);
}

}  // namespace platform
