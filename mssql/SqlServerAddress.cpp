#include "mssql/SqlServerAddress.h"

#include <vector>

#include "platform/NetworkProbe.h"
#include "platform/Text.h"

namespace mssql {
namespace {

using platform::Blanks;
using platform::Trim;

constexpr char kInstanceRequest = 0x04;
constexpr char kServerResponse = 0x05;

std::vector<std::string_view> SplitAt(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  for (size_t start = 0;;) {
    const size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

}  // namespace

std::optional<ServerAddress> ParseServerAddress(std::string_view server) {
  std::string_view text = Trim(server, Blanks::SpaceAndControls);
  ServerAddress address;
  // The protocol prefixes SQL Server's clients know; anything else before
  // a colon is part of the host (an IPv6 address).
  constexpr std::string_view kProtocols[] = {"tcp", "np", "lpc", "via", "admin"};
  for (const std::string_view protocol : kProtocols) {
    if (text.size() > protocol.size() && text[protocol.size()] == ':' &&
        platform::EqualsAsciiNoCase(text.substr(0, protocol.size()), protocol)) {
      if (protocol != "tcp") address.otherProtocol = protocol;
      text = Trim(text.substr(protocol.size() + 1), Blanks::SpaceAndControls);
      break;
    }
  }
  if (const size_t comma = text.rfind(','); comma != std::string_view::npos) {
    address.port = platform::ReadPortNumber(Trim(text.substr(comma + 1), Blanks::SpaceAndControls));
    if (!address.port) return std::nullopt;
    text = Trim(text.substr(0, comma), Blanks::SpaceAndControls);
  }
  if (const size_t backslash = text.find('\\'); backslash != std::string_view::npos) {
    address.instance = std::string(Trim(text.substr(backslash + 1), Blanks::SpaceAndControls));
    text = Trim(text.substr(0, backslash), Blanks::SpaceAndControls);
  }
  if (text.size() >= 2 && text.front() == '[' && text.back() == ']') text = text.substr(1, text.size() - 2);
  if (text.empty()) return std::nullopt;
  address.host = std::string(text);
  address.local = text == "." || platform::EqualsAsciiNoCase(text, "(local)");
  return address;
}

std::string BrowserRequest(std::string_view instance) {
  std::string request(1, kInstanceRequest);
  request.append(instance);
  request.push_back('\0');
  return request;
}

std::optional<BrowserAnswer> ReadBrowserAnswer(std::string_view answer) {
  if (answer.size() < 3 || answer[0] != kServerResponse) return std::nullopt;
  const size_t size = static_cast<unsigned char>(answer[1]) | static_cast<size_t>(static_cast<unsigned char>(answer[2]))
                                                                  << 8;
  const std::string_view data = answer.substr(3, size);
  // The pairs of one instance; the first ";;" ends them.
  const std::vector<std::string_view> items = SplitAt(data.substr(0, data.find(";;")), ';');
  BrowserAnswer read;
  for (size_t i = 0; i + 1 < items.size(); i += 2) {
    if (platform::EqualsAsciiNoCase(items[i], "tcp")) {
      read.tcpPort = platform::ReadPortNumber(items[i + 1]);
      break;
    }
  }
  return read;
}

}  // namespace mssql
