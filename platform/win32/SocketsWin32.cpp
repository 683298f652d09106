// <winsock2.h> after the one <windows.h>: lean, it pulls in no old winsock.h.
#include "platform/win32/Windows.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>

#include "platform/Sockets.h"
#include "platform/win32/SystemMessage.h"
#include "platform/win32/Unicode.h"

namespace platform::sockets {
namespace {

constexpr FaultCode kFaults[] = {
    {WSAECONNREFUSED, Fault::Refused},    {WSAECONNRESET, Fault::Reset},         {WSAECONNABORTED, Fault::Reset},
    {WSAENETUNREACH, Fault::Unreachable}, {WSAEHOSTUNREACH, Fault::Unreachable}, {WSAENETDOWN, Fault::Unreachable},
    {WSAEHOSTDOWN, Fault::Unreachable},   {WSAETIMEDOUT, Fault::TimedOut},
};

Outcome FromError(int error) { return OutcomeOf(error, kFaults); }
Outcome LastError() { return FromError(WSAGetLastError()); }

SOCKET Handle(uintptr_t handle) { return static_cast<SOCKET>(handle); }

timeval TimeLeft(Deadline deadline) {
  const auto left = std::clamp<long long>(
      std::chrono::ceil<std::chrono::microseconds>(deadline - std::chrono::steady_clock::now()).count(), 0,
      24LL * 3600 * 1000 * 1000);
  return {static_cast<long>(left / 1000000), static_cast<long>(left % 1000000)};
}

enum class Direction { Read, Write };

// Waits until the socket can be read or written, or an error is pending,
// or the deadline: None, TimedOut or the wait's own failure. select() is
// used rather than WSAPoll, which on Windows before 10 version 2004 never
// reports a connection that failed. A failed connection shows in the
// exception set only, never in the write set.
Outcome Wait(SOCKET socket, Direction direction, Deadline deadline) {
  fd_set ready;
  fd_set failed;
  FD_ZERO(&ready);
  FD_ZERO(&failed);
  FD_SET(socket, &ready);
  FD_SET(socket, &failed);
  timeval left = TimeLeft(deadline);
  const int count = direction == Direction::Read ? select(0, &ready, nullptr, &failed, &left)
                                                 : select(0, nullptr, &ready, &failed, &left);
  if (count == SOCKET_ERROR) return LastError();
  if (count == 0) return {Fault::TimedOut, WSAETIMEDOUT};
  return {};
}

}  // namespace

std::string SystemText(int code) { return win32::SystemMessage(static_cast<DWORD>(code)); }

std::string NumericText(const Address& address) {
  wchar_t host[NI_MAXHOST] = {};
  if (GetNameInfoW(reinterpret_cast<const sockaddr*>(address.bytes.data()), static_cast<socklen_t>(address.size), host,
                   NI_MAXHOST, nullptr, 0, NI_NUMERICHOST) != 0) {
    return {};
  }
  return win32::Narrow(host);
}

Lookup LookUp(const std::string& host, uint16_t port, bool datagram) {
  ADDRINFOW hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = datagram ? SOCK_DGRAM : SOCK_STREAM;
  hints.ai_flags = AI_NUMERICSERV;
  UniqueHandle<ADDRINFOW*, CloseWith<FreeAddrInfoW>> found;
  const int error = GetAddrInfoW(win32::Widen(host).c_str(), std::to_wstring(port).c_str(), &hints, found.Put());
  Lookup lookup;
  if (error != 0) {
    lookup.status = error == WSAHOST_NOT_FOUND || error == WSANO_DATA ? LookupStatus::NotFound : LookupStatus::Failed;
    lookup.code = error;
    return lookup;
  }
  for (const ADDRINFOW* entry = found.Get(); entry; entry = entry->ai_next) {
    lookup.Add(entry->ai_addr, entry->ai_addrlen, entry->ai_family);
  }
  lookup.Finish();
  return lookup;
}

// GetAddrInfoW answers with Winsock's own error codes.
std::string LookupText(int code) { return SystemText(code); }

// WSAStartup counts its callers, so each holder may start and clean up
// independently of the others.
Library::Library() {
  WSADATA data;
  startError_ = WSAStartup(MAKEWORD(2, 2), &data);
}

Library::~Library() {
  if (startError_ == 0) WSACleanup();
}

Socket Socket::Open(const Address& address, bool datagram, Outcome& outcome) {
  Socket socket(static_cast<uintptr_t>(
      ::socket(address.family, datagram ? SOCK_DGRAM : SOCK_STREAM, datagram ? IPPROTO_UDP : IPPROTO_TCP)));
  if (!socket) {
    outcome = LastError();
    return {};
  }
  u_long nonBlocking = 1;
  if (ioctlsocket(Handle(socket.handle_.Get()), FIONBIO, &nonBlocking) != 0) {
    outcome = LastError();
    return {};
  }
  outcome = {};
  return socket;
}

void CloseSocket::operator()(uintptr_t handle) const { closesocket(Handle(handle)); }

Outcome Socket::Connect(const Address& address, Deadline deadline) {
  const SOCKET socket = Handle(handle_.Get());
  if (connect(socket, reinterpret_cast<const sockaddr*>(address.bytes.data()), static_cast<int>(address.size)) == 0) {
    return {};
  }
  if (WSAGetLastError() != WSAEWOULDBLOCK) return LastError();
  if (const Outcome waited = Wait(socket, Direction::Write, deadline); !waited.Ok()) return waited;
  int error = 0;
  int length = sizeof(error);
  if (getsockopt(socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) != 0) return LastError();
  return FromError(error);
}

Outcome Socket::Send(std::string_view bytes, Deadline deadline) {
  const SOCKET socket = Handle(handle_.Get());
  while (!bytes.empty()) {
    const int chunk = static_cast<int>(std::min<size_t>(bytes.size(), 1 << 20));
    const int sent = send(socket, bytes.data(), chunk, 0);
    if (sent != SOCKET_ERROR) {
      bytes.remove_prefix(static_cast<size_t>(sent));
      continue;
    }
    if (WSAGetLastError() != WSAEWOULDBLOCK) return LastError();
    if (const Outcome waited = Wait(socket, Direction::Write, deadline); !waited.Ok()) return waited;
  }
  return {};
}

// A datagram socket reports a port-unreachable answer to what it sent as
// WSAECONNRESET on the next receive; Wine 8 reports nothing, so there a
// closed port looks like a silent one.
Outcome Socket::Receive(std::string& into, size_t limit, Deadline deadline) {
  const SOCKET socket = Handle(handle_.Get());
  std::string buffer(limit, '\0');
  for (;;) {
    const int received = recv(socket, buffer.data(), static_cast<int>(buffer.size()), 0);
    if (received != SOCKET_ERROR) {
      into.append(buffer.data(), static_cast<size_t>(received));
      return {};
    }
    // A datagram longer than the buffer still delivers its first bytes.
    if (WSAGetLastError() == WSAEMSGSIZE) {
      into.append(buffer);
      return {};
    }
    if (WSAGetLastError() != WSAEWOULDBLOCK) return LastError();
    if (const Outcome waited = Wait(socket, Direction::Read, deadline); !waited.Ok()) return waited;
  }
}

}  // namespace platform::sockets
