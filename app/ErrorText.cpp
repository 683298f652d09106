#include "app/ErrorText.h"

namespace app {

std::string WithFinalStop(std::string text) {
  // Compared as unsigned bytes: a UTF-8 letter's last byte is above 0x7F.
  if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.')) {
    text += '.';
  }
  return text;
}

}  // namespace app
