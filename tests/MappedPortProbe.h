#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "platform/NetworkProbe.h"

namespace testing_support {

// The system's probes with well-known ports (1433, 1434, 1521) moved to the
// loopback ports of a test's own servers, so that a check that asks for
// the real port reaches the test's server.
class MappedPortProbe final : public platform::NetworkProbe {
 public:
  explicit MappedPortProbe(std::map<uint16_t, uint16_t> ports)
      : system_(platform::CreateSystemNetworkProbe()), ports_(std::move(ports)) {}

  platform::ProbeResult Resolve(const std::string& host, Timeout timeout) override {
    return system_->Resolve(host, timeout);
  }
  platform::ProbeResult Connect(const std::string& host, uint16_t port, Timeout timeout) override {
    return system_->Connect(host, Map(port), timeout);
  }
  platform::ProbeResult Exchange(const std::string& host, uint16_t port, std::string_view request, size_t answerSize,
                                 Timeout timeout) override {
    return system_->Exchange(host, Map(port), request, answerSize, timeout);
  }
  platform::ProbeResult ExchangeDatagram(const std::string& host, uint16_t port, std::string_view request,
                                         Timeout timeout) override {
    return system_->ExchangeDatagram(host, Map(port), request, timeout);
  }

 private:
  uint16_t Map(uint16_t port) const {
    const auto found = ports_.find(port);
    return found == ports_.end() ? port : found->second;
  }

  std::shared_ptr<platform::NetworkProbe> system_;
  std::map<uint16_t, uint16_t> ports_;
};

}  // namespace testing_support
