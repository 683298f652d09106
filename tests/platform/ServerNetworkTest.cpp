#include "platform/ServerNetwork.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace platform {
namespace {

// Any machine name reaches a service manager under Wine (the local one);
// its services come back by their key names, in every state.
TEST(ServerNetworkTest, ServicesOfAMachineAreListedByServiceName) {
  const auto network = CreateSystemServerNetwork();
  const auto services = network->Services("localhost");
  ASSERT_TRUE(services.has_value());
  EXPECT_NE(std::find(services->begin(), services->end(), "RpcSs"), services->end());
  // Wine runs no network browser.
  EXPECT_FALSE(network->SqlServerMachines().has_value());
  // An overlong machine name is cut to what the service manager takes, so
  // it still reaches one (any name does under Wine).
  EXPECT_TRUE(network->Services(std::string(400, 'A')).has_value());
}

}  // namespace
}  // namespace platform
