#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "oracle/ServiceEntry.h"

// The first packet of Oracle's network protocol (TNS), enough to learn
// whether a listener is there. Every packet starts with an 8-byte header:
// the packet's length (two bytes, high byte first), a packet checksum
// (0), the packet type, flags (0) and a header checksum (0).
namespace oracle {

enum class TnsPacketType : uint8_t {
  Connect = 1,
  Accept = 2,
  Refuse = 4,
  Redirect = 5,
  Resend = 11,
};

// The connect descriptor of the entry, as the client sends it:
// (DESCRIPTION=(CONNECT_DATA=(SERVICE_NAME=…))(ADDRESS=(PROTOCOL=TCP)(HOST=…)(PORT=…))),
// with SID for an entry that names its database so.
std::string ConnectDescriptor(const ServiceEntry& entry);

// A CONNECT packet carrying the descriptor: after the header, the protocol
// version (314) and the lowest one accepted (300), service options, the
// session and transport data unit sizes, protocol characteristics, line
// turnaround, the number 1 as the hardware writes it, the length and
// offset of the connect data, the most connect data to receive, two
// connect flags and 24 bytes of tracing fields; then the descriptor.
std::string ConnectPacket(std::string_view descriptor);

struct TnsAnswer {
  uint8_t type = 0;
  // The number after "(ERR=" in the packet's text ("12514"); empty when
  // none.
  std::string error;
};

// The header's packet type and the error a refusal carries; nothing when
// the bytes are no TNS packet (shorter than a header, a length below it,
// or no packet type of the protocol).
std::optional<TnsAnswer> ReadTnsAnswer(std::string_view bytes);

// Whether the answer is one a listener gives to a CONNECT packet: accept,
// refuse, redirect or resend.
bool IsListenerAnswer(const TnsAnswer& answer);

}  // namespace oracle
