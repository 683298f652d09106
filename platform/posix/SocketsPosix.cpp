#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "platform/Sockets.h"

namespace platform::sockets {
namespace {

constexpr FaultCode kFaults[] = {
    {ECONNREFUSED, Fault::Refused},    {ECONNRESET, Fault::Reset},         {EPIPE, Fault::Reset},
    {ENETUNREACH, Fault::Unreachable}, {EHOSTUNREACH, Fault::Unreachable}, {ENETDOWN, Fault::Unreachable},
    {EHOSTDOWN, Fault::Unreachable},   {ETIMEDOUT, Fault::TimedOut},
};

Outcome FromErrno(int error) { return OutcomeOf(error, kFaults); }

// The milliseconds left until the deadline, for poll(); never negative.
int MillisecondsLeft(Deadline deadline) {
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
  return static_cast<int>(std::clamp<long long>(left, 0, 24LL * 3600 * 1000));
}

// Waits for the events until the deadline: None when they came (or an
// error is pending, which the next call reports), TimedOut otherwise.
Outcome Wait(int fd, short events, Deadline deadline) {
  for (;;) {
    pollfd entry{fd, events, 0};
    const int ready = ::poll(&entry, 1, MillisecondsLeft(deadline));
    if (ready > 0) return {};
    if (ready == 0) return {Fault::TimedOut, ETIMEDOUT};
    if (errno != EINTR) return FromErrno(errno);
  }
}

int Fd(uintptr_t handle) { return static_cast<int>(static_cast<intptr_t>(handle)); }

}  // namespace

std::string SystemText(int code) { return std::generic_category().message(code); }

std::string NumericText(const Address& address) {
  char host[NI_MAXHOST] = {};
  if (::getnameinfo(reinterpret_cast<const sockaddr*>(address.bytes.data()), static_cast<socklen_t>(address.size), host,
                    sizeof(host), nullptr, 0, NI_NUMERICHOST) != 0) {
    return {};
  }
  return host;
}

Lookup LookUp(const std::string& host, uint16_t port, bool datagram) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = datagram ? SOCK_DGRAM : SOCK_STREAM;
  hints.ai_flags = AI_NUMERICSERV;
  UniqueHandle<addrinfo*, CloseWith<::freeaddrinfo>> found;
  const int error = ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, found.Put());
  Lookup lookup;
  if (error != 0) {
    // EAI_NODATA is glibc's "the name exists but has no address".
    const bool unknown = error == EAI_NONAME
#ifdef EAI_NODATA
                         || error == EAI_NODATA
#endif
        ;
    lookup.status = unknown ? LookupStatus::NotFound : LookupStatus::Failed;
    lookup.code = error == EAI_SYSTEM ? -errno : error;
    return lookup;
  }
  for (const addrinfo* entry = found.Get(); entry; entry = entry->ai_next) {
    lookup.Add(entry->ai_addr, entry->ai_addrlen, entry->ai_family);
  }
  lookup.Finish();
  return lookup;
}

// A system error behind EAI_SYSTEM is kept as its negated errno.
std::string LookupText(int code) { return code < 0 ? SystemText(-code) : ::gai_strerror(code); }

Library::Library() = default;
Library::~Library() = default;

Socket Socket::Open(const Address& address, bool datagram, Outcome& outcome) {
  const int fd = ::socket(address.family, datagram ? SOCK_DGRAM : SOCK_STREAM, 0);
  if (fd < 0) {
    outcome = FromErrno(errno);
    return {};
  }
  Socket socket(static_cast<uintptr_t>(fd));
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) != 0 || ::fcntl(fd, F_SETFD, FD_CLOEXEC) != 0) {
    outcome = FromErrno(errno);
    return {};
  }
  outcome = {};
  return socket;
}

void CloseSocket::operator()(uintptr_t handle) const { ::close(Fd(handle)); }

Outcome Socket::Connect(const Address& address, Deadline deadline) {
  const int fd = Fd(handle_.Get());
  if (::connect(fd, reinterpret_cast<const sockaddr*>(address.bytes.data()), static_cast<socklen_t>(address.size)) ==
      0) {
    return {};
  }
  if (errno != EINPROGRESS && errno != EINTR) return FromErrno(errno);
  if (const Outcome waited = Wait(fd, POLLOUT, deadline); !waited.Ok()) return waited;
  int error = 0;
  socklen_t length = sizeof(error);
  if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) return FromErrno(errno);
  return FromErrno(error);
}

Outcome Socket::Send(std::string_view bytes, Deadline deadline) {
  const int fd = Fd(handle_.Get());
  while (!bytes.empty()) {
    // MSG_NOSIGNAL: a peer that has gone answers EPIPE, not a signal that
    // would end the process.
    const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent >= 0) {
      bytes.remove_prefix(static_cast<size_t>(sent));
      continue;
    }
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK) return FromErrno(errno);
    if (const Outcome waited = Wait(fd, POLLOUT, deadline); !waited.Ok()) return waited;
  }
  return {};
}

Outcome Socket::Receive(std::string& into, size_t limit, Deadline deadline) {
  const int fd = Fd(handle_.Get());
  std::string buffer(limit, '\0');
  for (;;) {
    const ssize_t received = ::recv(fd, buffer.data(), buffer.size(), 0);
    if (received >= 0) {
      into.append(buffer.data(), static_cast<size_t>(received));
      return {};
    }
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK) return FromErrno(errno);
    if (const Outcome waited = Wait(fd, POLLIN, deadline); !waited.Ok()) return waited;
  }
}

}  // namespace platform::sockets
