#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "oracle/TnsPacket.h"

namespace oracle {
namespace {

uint16_t ShortAt(const std::string& bytes, size_t at) {
  return static_cast<uint16_t>(static_cast<unsigned char>(bytes[at]) << 8 | static_cast<unsigned char>(bytes[at + 1]));
}

TEST(TnsPacketTest, TheConnectPacketCarriesTheDescriptorWhereItsHeaderSays) {
  const ServiceEntry entry{"NOVERA", "TCP", "db1", "1521", "XE", false};
  const std::string descriptor = ConnectDescriptor(entry);
  EXPECT_EQ(descriptor, "(DESCRIPTION=(CONNECT_DATA=(SERVICE_NAME=XE))(ADDRESS=(PROTOCOL=TCP)(HOST=db1)(PORT=1521)))");
  EXPECT_EQ(ConnectDescriptor({"NOVERA", "TCP", "db1", "1521", "ORCL", true}),
            "(DESCRIPTION=(CONNECT_DATA=(SID=ORCL))(ADDRESS=(PROTOCOL=TCP)(HOST=db1)(PORT=1521)))");

  const std::string packet = ConnectPacket(descriptor);
  ASSERT_EQ(packet.size(), 58 + descriptor.size());
  EXPECT_EQ(ShortAt(packet, 0), packet.size());       // packet length
  EXPECT_EQ(ShortAt(packet, 2), 0);                   // packet checksum
  EXPECT_EQ(packet[4], 1);                            // CONNECT
  EXPECT_EQ(packet[5], 0);                            // flags
  EXPECT_EQ(ShortAt(packet, 6), 0);                   // header checksum
  EXPECT_EQ(ShortAt(packet, 8), 314);                 // version
  EXPECT_EQ(ShortAt(packet, 10), 300);                // lowest version
  EXPECT_EQ(ShortAt(packet, 14), 8192);               // session data unit
  EXPECT_EQ(ShortAt(packet, 22), 1);                  // the number 1
  EXPECT_EQ(ShortAt(packet, 24), descriptor.size());  // connect data length
  EXPECT_EQ(ShortAt(packet, 26), 58);                 // connect data offset
  EXPECT_EQ(packet.substr(58), descriptor);
  EXPECT_EQ(packet.substr(34, 24), std::string(24, '\0'));
}

TEST(TnsPacketTest, AListenersAnswerIsReadFromItsHeader) {
  const auto packet = [](char type, const std::string& data) {
    const size_t length = 8 + data.size();
    return std::string{static_cast<char>(length >> 8), static_cast<char>(length & 0xFF), 0, 0, type, 0, 0, 0} + data;
  };
  struct Case {
    std::string bytes;
    uint8_t type;
    std::string error;
    bool listener;
  };
  const Case cases[] = {
      {packet(2, std::string(24, '\0')), 2, "", true},
      {packet(4, std::string("\x01\x00\x00\x3F", 4) +
                     "(DESCRIPTION=(TMP=)(VSNNUM=0)(ERR=12514)(ERROR_STACK=(ERROR=(CODE=12514)(EMFI=4))))"),
       4, "12514", true},
      {packet(4, "(description=(err=12505))"), 4, "12505", true},
      {packet(5, "(ADDRESS=(PROTOCOL=TCP)(HOST=db2)(PORT=1522))"), 5, "", true},
      {packet(11, ""), 11, "", true},
      {packet(6, "data"), 6, "", false},
  };
  for (const Case& c : cases) {
    const std::optional<TnsAnswer> answer = ReadTnsAnswer(c.bytes);
    ASSERT_TRUE(answer.has_value()) << c.bytes;
    EXPECT_EQ(answer->type, c.type);
    EXPECT_EQ(answer->error, c.error);
    EXPECT_EQ(IsListenerAnswer(*answer), c.listener) << int(c.type);
  }
  for (const std::string& other : {std::string("HTTP/1.1 400 Bad Request\r\n"), std::string("\0\x08\0\0", 4),
                                   std::string("\0\x04\0\0\x02\0\0\0", 8), std::string("\0\x08\0\0\0\0\0\0", 8)}) {
    EXPECT_FALSE(ReadTnsAnswer(other).has_value()) << other;
  }
}

}  // namespace
}  // namespace oracle
