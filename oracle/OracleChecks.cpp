#include "oracle/OracleChecks.h"

#include <optional>
#include <utility>

#include "oracle/ServiceEntryTable.h"
#include "oracle/SqlnetSettings.h"
#include "oracle/TnsPacket.h"
#include "platform/NetworkProbe.h"
#include "platform/Text.h"

namespace oracle {
namespace {

using bde::CheckResult;
using bde::CheckStatus;
using platform::Format;

std::string FileLabel(const OracleSetup& setup) {
  return setup.tnsnamesFile.empty() ? "tnsnames.ora" : setup.tnsnamesFile;
}

std::string DescribeAnswer(const TnsAnswer& answer) {
  switch (static_cast<TnsPacketType>(answer.type)) {
    case TnsPacketType::Accept:
      return std::string(kAcceptedAnswer);
    case TnsPacketType::Refuse:
      return answer.error.empty() ? std::string(kRefusedAnswer) : Format(kRefusedWithErrorAnswer, {answer.error});
    case TnsPacketType::Redirect:
      return std::string(kRedirectAnswer);
    case TnsPacketType::Resend:
    case TnsPacketType::Connect:
      break;
  }
  return std::string(kResendAnswer);
}

CheckResult ProbeListener(const ServiceEntry& entry, uint16_t port, platform::NetworkProbe& network,
                          std::chrono::milliseconds timeout) {
  const std::string packet = ConnectPacket(ConnectDescriptor(entry));
  const platform::ProbeResult result = network.Exchange(entry.host, port, packet, 8, timeout);
  if (!result.Ok()) return {CheckStatus::Failed, Format(kListenerFailedDetail, {entry.host, result.reason})};
  const std::optional<TnsAnswer> answer = ReadTnsAnswer(result.answer);
  if (!answer || !IsListenerAnswer(*answer)) {
    return {CheckStatus::Failed, Format(kListenerOtherDetail, {entry.host, entry.port})};
  }
  return {CheckStatus::Ok,
          Format(kListenerOkDetail, {entry.host, entry.port, DescribeAnswer(*answer), result.address})};
}

}  // namespace

std::vector<bde::Check> OracleChecks::Make(const OracleSetup& setup, const ServiceEntryTable& tnsnames,
                                           const std::vector<std::string>& sqlnetLines) {
  std::vector<bde::Check> checks;
  checks.push_back(bde::Check::Known(CheckEntry(setup, tnsnames, sqlnetLines)));
  checks.push_back(ListenerCheck(setup.serviceName, FindEntry(setup.serviceName, tnsnames, sqlnetLines)));
  std::vector<std::string> users;
  for (const std::string& user : setup.schemaUsers) {
    if (user.empty() || platform::IndexOfNoCase(users, user) >= 0) continue;
    users.push_back(user);
    checks.push_back(bde::Check::Known({CheckStatus::Skipped, Format(kSchemaUserSkippedDetail, {user})}));
  }
  return checks;
}

const ServiceEntry* OracleChecks::FindEntry(const std::string& serviceName, const ServiceEntryTable& tnsnames,
                                            const std::vector<std::string>& sqlnetLines) {
  const std::string name = QualifiedServiceName(serviceName, sqlnetLines);
  return tnsnames.Find(CutToCharacters(platform::AsciiUpper(name), kServiceFields[0].size));
}

CheckResult OracleChecks::CheckEntry(const OracleSetup& setup, const ServiceEntryTable& tnsnames,
                                     const std::vector<std::string>& sqlnetLines) {
  const std::string& name = setup.serviceName;
  if (!TnsnamesAllowed(sqlnetLines)) {
    return {CheckStatus::Failed,
            Format(kEntryNotAllowedDetail, {name, SqlnetValue(sqlnetLines, "NAMES.DIRECTORY_PATH").value_or("")})};
  }
  const std::string qualified = QualifiedServiceName(name, sqlnetLines);
  const ServiceEntry* entry = FindEntry(name, tnsnames, sqlnetLines);
  if (!entry) {
    std::string detail = Format(kEntryMissingDetail, {name, qualified, FileLabel(setup)});
    if (qualified != name) detail += Format(kEntryDomainNote, {qualified.substr(name.size() + 1)});
    return {CheckStatus::Failed, std::move(detail)};
  }
  return {CheckStatus::Ok, Format(kEntryFoundDetail, {name, FileLabel(setup), entry->name, entry->host, entry->port,
                                                      entry->sid ? "SID" : "usługa", entry->service})};
}

bde::Check OracleChecks::ListenerCheck(const std::string& serviceName, const ServiceEntry* entry) {
  if (!entry) return bde::Check::Known({CheckStatus::Skipped, Format(kListenerNoEntryDetail, {serviceName})});
  if (!platform::EqualsAsciiNoCase(entry->protocol, "TCP")) {
    return bde::Check::Known({CheckStatus::Skipped, Format(kListenerProtocolDetail, {serviceName, entry->protocol})});
  }
  const std::optional<uint16_t> port = platform::ReadPortNumber(entry->port);
  if (!port) return bde::Check::Known({CheckStatus::Failed, Format(kListenerPortDetail, {serviceName, entry->port})});
  return bde::Check::Pending(
      Format(kListenerSubject, {entry->host}),
      [entry = *entry, port = *port, network = network_, limit = timeouts.network](bde::CheckDeadline deadline) {
        return ProbeListener(entry, port, *network, bde::StepTimeout(deadline, limit));
      });
}

}  // namespace oracle
