#include "platform/Sockets.h"

#include <cstring>

namespace platform::sockets {

Outcome OutcomeOf(int code, std::span<const FaultCode> table) {
  if (code == 0) return {};
  for (const FaultCode& entry : table) {
    if (entry.code == code) return {entry.fault, code};
  }
  return {Fault::Other, code};
}

void Lookup::Add(const void* address, size_t size, int family) {
  Address kept;
  if (size > kept.bytes.size()) return;
  std::memcpy(kept.bytes.data(), address, size);
  kept.size = size;
  kept.family = family;
  addresses.push_back(kept);
}

}  // namespace platform::sockets
