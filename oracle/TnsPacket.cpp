#include "oracle/TnsPacket.h"

#include "platform/Text.h"

namespace oracle {
namespace {

constexpr size_t kHeaderSize = 8;
// Where the descriptor starts: the header, then 50 bytes of the CONNECT
// packet's fields.
constexpr size_t kConnectDataOffset = 58;
// The highest packet type the protocol defines (control).
constexpr uint8_t kLastPacketType = 14;

void PutShort(std::string& packet, uint16_t value) {
  packet.push_back(static_cast<char>(value >> 8));
  packet.push_back(static_cast<char>(value & 0xFF));
}

void PutZeros(std::string& packet, size_t count) { packet.append(count, '\0'); }

}  // namespace

std::string ConnectDescriptor(const ServiceEntry& entry) {
  return "(DESCRIPTION=(CONNECT_DATA=(" + std::string(entry.sid ? "SID" : "SERVICE_NAME") + "=" + entry.service +
         "))(ADDRESS=(PROTOCOL=TCP)(HOST=" + entry.host + ")(PORT=" + entry.port + ")))";
}

std::string ConnectPacket(std::string_view descriptor) {
  std::string packet;
  PutShort(packet, static_cast<uint16_t>(kConnectDataOffset + descriptor.size()));
  PutShort(packet, 0);  // packet checksum
  packet.push_back(static_cast<char>(TnsPacketType::Connect));
  packet.push_back(0);       // flags
  PutShort(packet, 0);       // header checksum
  PutShort(packet, 314);     // version
  PutShort(packet, 300);     // lowest version accepted
  PutShort(packet, 0);       // service options
  PutShort(packet, 8192);    // session data unit
  PutShort(packet, 32767);   // transport data unit
  PutShort(packet, 0x7F08);  // protocol characteristics
  PutShort(packet, 0);       // line turnaround
  PutShort(packet, 1);       // the number 1, in the hardware's order
  PutShort(packet, static_cast<uint16_t>(descriptor.size()));
  PutShort(packet, static_cast<uint16_t>(kConnectDataOffset));
  PutShort(packet, 0);                                   // most connect data to receive, high half
  PutShort(packet, 0x0800);                              // and low half
  packet.push_back(0);                                   // connect flags 0
  packet.push_back(0);                                   // connect flags 1
  PutZeros(packet, kConnectDataOffset - packet.size());  // tracing fields
  packet.append(descriptor);
  return packet;
}

std::optional<TnsAnswer> ReadTnsAnswer(std::string_view bytes) {
  if (bytes.size() < kHeaderSize) return std::nullopt;
  const size_t length =
      static_cast<size_t>(static_cast<unsigned char>(bytes[0])) << 8 | static_cast<unsigned char>(bytes[1]);
  const auto type = static_cast<uint8_t>(bytes[4]);
  if (length < kHeaderSize || type == 0 || type > kLastPacketType) return std::nullopt;
  TnsAnswer answer{type, {}};
  const std::string upper = platform::AsciiUpper(bytes.substr(kHeaderSize));
  if (const size_t at = upper.find("(ERR="); at != std::string::npos) {
    const size_t start = at + 5;
    answer.error = upper.substr(start, upper.find_first_not_of("0123456789", start) - start);
  }
  return answer;
}

bool IsListenerAnswer(const TnsAnswer& answer) {
  switch (static_cast<TnsPacketType>(answer.type)) {
    case TnsPacketType::Accept:
    case TnsPacketType::Refuse:
    case TnsPacketType::Redirect:
    case TnsPacketType::Resend:
      return true;
    case TnsPacketType::Connect:
      break;
  }
  return false;
}

}  // namespace oracle
