#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/UniqueHandle.h"

// The few socket calls that NetworkProbe is built on, with one
// implementation per system (posix/SocketsPosix.cpp, win32/SocketsWin32.cpp).
// Not for the logic libraries: they use NetworkProbe. Sockets are
// non-blocking, and every wait ends at a deadline. Everything here may be
// called from any thread.
namespace platform::sockets {

using Deadline = std::chrono::steady_clock::time_point;

// What the system said, sorted into what a probe tells apart.
enum class Fault {
  None,
  Refused,      // a reset in answer to a connection, or a port-unreachable answer to a datagram
  Reset,        // an open connection cut by the peer
  Unreachable,  // no route to the network or the host
  TimedOut,     // the deadline passed first
  Other,
};

struct Outcome {
  Fault fault = Fault::None;
  int code = 0;  // the system's error code, for SystemText
  bool Ok() const { return fault == Fault::None; }
};

// One of the system's error codes that a probe tells apart.
struct FaultCode {
  int code;
  Fault fault;
};

// The outcome of an error code (0: none), sorted by the system's table;
// a code the table lacks is Fault::Other.
Outcome OutcomeOf(int code, std::span<const FaultCode> table);

// The system's own text for an error code of an Outcome, in the system's
// language, as UTF-8.
std::string SystemText(int code);

// A socket address of any family, as the system's lookup gave it.
struct Address {
  std::array<unsigned char, 128> bytes{};
  size_t size = 0;
  int family = 0;
};

// The address as digits ("10.0.0.5", "::1").
std::string NumericText(const Address& address);

enum class LookupStatus { Found, NotFound, Failed };

struct Lookup {
  LookupStatus status = LookupStatus::Failed;
  int code = 0;  // the lookup's own error code, for LookupText
  std::vector<Address> addresses;

  // Keeps one address the system gave; one too long for Address is
  // passed over.
  void Add(const void* address, size_t size, int family);
  // Found when an address was kept, else NotFound.
  void Finish() { status = addresses.empty() ? LookupStatus::NotFound : LookupStatus::Found; }
};

// The addresses of a host name (UTF-8) or a numeric address, in the order
// the system prefers them, with the port set. Blocks for as long as the
// system's resolver takes.
Lookup LookUp(const std::string& host, uint16_t port, bool datagram);
std::string LookupText(int code);

// Keeps the system's socket library started for the object's life
// (Winsock); nothing to do elsewhere. Each thread that uses sockets holds
// one, so a thread that outlives its caller still has the library.
class Library {
 public:
  Library();
  ~Library();
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  // The code of the failed start; 0 when started.
  int StartError() const { return startError_; }

 private:
  int startError_ = 0;
};

// Closes a socket: SOCKET on Windows, a file descriptor elsewhere; both
// systems' invalid value is all ones here.
struct CloseSocket {
  static uintptr_t Empty() { return ~uintptr_t{0}; }
  void operator()(uintptr_t handle) const;
};

// One socket, closed when the owner goes. Move-only.
class Socket {
 public:
  // A non-blocking socket for the address's family; a failure leaves the
  // socket empty and says why in outcome.
  static Socket Open(const Address& address, bool datagram, Outcome& outcome);

  Socket() = default;

  explicit operator bool() const { return static_cast<bool>(handle_); }

  // Connects and waits until connected or the deadline. A datagram socket
  // is only bound to its peer, at once, so that answers from anyone else
  // are dropped and a port-unreachable answer is reported.
  Outcome Connect(const Address& address, Deadline deadline);
  // Sends all bytes, waiting for room until the deadline.
  Outcome Send(std::string_view bytes, Deadline deadline);
  // Waits until something arrives or the deadline, then appends what one
  // read gives, at most limit bytes: a datagram, or the bytes of a stream
  // at hand. An Ok outcome with nothing appended means that the peer has
  // closed the stream.
  Outcome Receive(std::string& into, size_t limit, Deadline deadline);

 private:
  explicit Socket(uintptr_t handle) : handle_(handle) {}

  UniqueHandle<uintptr_t, CloseSocket> handle_;
};

}  // namespace platform::sockets
