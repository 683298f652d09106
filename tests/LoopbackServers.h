#pragma once

// Small servers on 127.0.0.1 for the network tests, started by the test
// itself on a port the system picks, and stopped with it: a listener that
// never answers, a port nothing listens on, and servers that answer every
// request with a fixed reply. Nothing here sends to any other address.

#ifdef _WIN32
#include "platform/win32/Windows.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/Sockets.h"

namespace testing_support {

#ifdef _WIN32
using RawSocket = SOCKET;
inline constexpr RawSocket kNoSocket = INVALID_SOCKET;
inline void CloseRaw(RawSocket socket) { closesocket(socket); }
#else
using RawSocket = int;
inline constexpr RawSocket kNoSocket = -1;
inline void CloseRaw(RawSocket socket) { ::close(socket); }
#endif

// A socket bound to a loopback port of the system's choice.
class BoundSocket {
 public:
  explicit BoundSocket(bool datagram) {
    socket_ = ::socket(AF_INET, datagram ? SOCK_DGRAM : SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    if (socket_ == kNoSocket || ::bind(socket_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
      return;
    }
    port_ = ntohs(address.sin_port);
  }
  ~BoundSocket() { Close(); }
  BoundSocket(const BoundSocket&) = delete;
  BoundSocket& operator=(const BoundSocket&) = delete;

  RawSocket Get() const { return socket_; }
  uint16_t Port() const { return port_; }
  void Close() {
    if (socket_ != kNoSocket) CloseRaw(std::exchange(socket_, kNoSocket));
  }

 private:
  platform::sockets::Library library_;
  RawSocket socket_ = kNoSocket;
  uint16_t port_ = 0;
};

// A loopback port that nothing listens on: bound for a moment to learn a
// free one, then released.
inline uint16_t ClosedPort(bool datagram) {
  BoundSocket socket(datagram);
  return socket.Port();
}

// A TCP listener that never accepts: the system completes connections for
// it (its backlog), and nobody ever answers.
class SilentTcpServer {
 public:
  SilentTcpServer() {
    if (::listen(socket_.Get(), 16) == 0) port_ = socket_.Port();
  }
  uint16_t Port() const { return port_; }

 private:
  BoundSocket socket_{false};
  uint16_t port_ = 0;
};

// A UDP port that is open and never answers.
class SilentUdpServer {
 public:
  uint16_t Port() const { return socket_.Port(); }

 private:
  BoundSocket socket_{true};
};

// Answers every request (a TCP connection's first read, or a datagram)
// with the reply and keeps what it was sent. An empty reply over TCP closes
// the connection without a word. Runs on a thread of its own until the
// server goes.
class AnsweringServer {
 public:
  AnsweringServer(bool datagram, std::string reply) : datagram_(datagram), reply_(std::move(reply)), socket_(datagram) {
    if (!datagram && ::listen(socket_.Get(), 16) != 0) return;
    thread_ = std::thread([this] { Serve(); });
  }
  ~AnsweringServer() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  AnsweringServer(const AnsweringServer&) = delete;
  AnsweringServer& operator=(const AnsweringServer&) = delete;

  uint16_t Port() const { return thread_.joinable() ? socket_.Port() : 0; }
  std::vector<std::string> Requests() const {
    const std::lock_guard lock(mutex_);
    return requests_;
  }

 private:
  // Waits a moment for the socket to be readable, so that the loop sees
  // the stop flag often.
  static bool Readable(RawSocket socket) {
    fd_set ready;
    FD_ZERO(&ready);
    FD_SET(socket, &ready);
    timeval wait{0, 20000};
    return ::select(static_cast<int>(socket) + 1, &ready, nullptr, nullptr, &wait) > 0;
  }

  void Keep(const char* data, int size) {
    const std::lock_guard lock(mutex_);
    requests_.emplace_back(data, static_cast<size_t>(size > 0 ? size : 0));
  }

  void Serve() {
    char buffer[65536];
    while (!stop_) {
      if (!Readable(socket_.Get())) continue;
      if (datagram_) {
        sockaddr_in from{};
        socklen_t length = sizeof(from);
        const int size = static_cast<int>(
            ::recvfrom(socket_.Get(), buffer, sizeof(buffer), 0, reinterpret_cast<sockaddr*>(&from), &length));
        if (size < 0) continue;
        Keep(buffer, size);
        ::sendto(socket_.Get(), reply_.data(), static_cast<int>(reply_.size()), 0, reinterpret_cast<sockaddr*>(&from),
                 length);
        continue;
      }
      const RawSocket client = ::accept(socket_.Get(), nullptr, nullptr);
      if (client == kNoSocket) continue;
      for (int tries = 0; tries < 100 && !stop_ && !Readable(client); ++tries) {
      }
      Keep(buffer, static_cast<int>(::recv(client, buffer, sizeof(buffer), 0)));
      if (!reply_.empty()) ::send(client, reply_.data(), static_cast<int>(reply_.size()), 0);
      CloseRaw(client);
    }
  }

  bool datagram_;
  std::string reply_;
  BoundSocket socket_;
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

}  // namespace testing_support
