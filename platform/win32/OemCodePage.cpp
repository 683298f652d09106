#include "platform/win32/SystemServices.h"

#include "platform/win32/Unicode.h"
#include "platform/win32/Windows.h"

namespace platform::win32 {
namespace {

// As CharToOem and OemToChar convert, but a character the OEM code page
// lacks is reported instead of becoming "?" or its best fit.
class OemCodePage final : public CodePage {
 public:
  std::optional<std::string> FromUtf8(std::string_view text) const override {
    const std::wstring wide = Widen(text);
    if (wide.empty()) return std::string();
    BOOL usedDefault = FALSE;
    const int size = WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, &usedDefault);
    if (size <= 0 || usedDefault) return std::nullopt;
    std::string oem(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()), oem.data(),
                        size, nullptr, &usedDefault);
    if (usedDefault) return std::nullopt;
    return oem;
  }

  std::string ToUtf8(std::string_view text) const override {
    if (text.empty()) return {};
    const int size = MultiByteToWideChar(CP_OEMCP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size > 0 ? size : 0), L'\0');
    MultiByteToWideChar(CP_OEMCP, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return Narrow(wide);
  }
};

}  // namespace

const CodePage& SystemOemCodePage() {
  static const OemCodePage codePage;
  return codePage;
}

}  // namespace platform::win32
