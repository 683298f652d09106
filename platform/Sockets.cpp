#include "platform/Sockets.h"

#include <utility>

namespace platform::sockets {

Socket::Socket(Socket&& other) noexcept : handle_(std::exchange(other.handle_, kEmpty)) {}

Socket& Socket::operator=(Socket&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = std::exchange(other.handle_, kEmpty);
  }
  return *this;
}

Socket::~Socket() { Close(); }

}  // namespace platform::sockets
