#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "bde/ConnectionCheck.h"
#include "oracle/ServiceEntry.h"

namespace platform {
class NetworkProbe;
}

namespace oracle {

class ServiceEntryTable;

// The Oracle configuration to check: the net service name the aliases
// use, their schema users, and the tnsnames.ora file's path for the texts
// (empty: the file is named "tnsnames.ora").
struct OracleSetup {
  std::string serviceName;
  std::vector<std::string> schemaUsers;
  std::string tnsnamesFile;
};

// Texts of the entry check. %s: the service name first.
inline constexpr std::string_view kEntryFoundDetail =
    "Wpis \"%s\": znaleziony w pliku \"%s\" jako \"%s\" (komputer \"%s\", port %s, %s \"%s\")";
inline constexpr std::string_view kEntryMissingDetail = "Wpis \"%s\": brak wpisu \"%s\" w pliku \"%s\"";
// Added when sqlnet.ora's domain made the name looked for. %s: the domain.
inline constexpr std::string_view kEntryDomainNote = " (sqlnet.ora dopisuje do nazwy bez kropki domenę \"%s\")";
inline constexpr std::string_view kEntryNotAllowedDetail =
    "Wpis \"%s\": sqlnet.ora nie pozwala szukać nazw w tnsnames.ora (NAMES.DIRECTORY_PATH = %s)";

// Texts of the listener check. %s: the host first.
inline constexpr std::string_view kListenerSubject = "Listener na komputerze \"%s\"";
inline constexpr std::string_view kListenerOkDetail =
    "Listener na komputerze \"%s\": port %s odpowiada na pakiet TNS (%s, adres %s)";
inline constexpr std::string_view kListenerFailedDetail = "Listener na komputerze \"%s\": %s";
inline constexpr std::string_view kListenerOtherDetail =
    "Listener na komputerze \"%s\": port %s odpowiada, ale nie jak listener Oracle";
// %s: the service name, then the protocol or the port.
inline constexpr std::string_view kListenerNoEntryDetail =
    "Listener wpisu \"%s\": nie sprawdzono, bo wpisu nie znaleziono";
inline constexpr std::string_view kListenerProtocolDetail =
    "Listener wpisu \"%s\": protokół \"%s\"; sprawdzane są tylko połączenia TCP";
inline constexpr std::string_view kListenerPortDetail =
    "Listener wpisu \"%s\": port \"%s\" nie jest liczbą od 1 do 65535";
// What the listener's answer was. %s: the error number.
inline constexpr std::string_view kAcceptedAnswer = "połączenie przyjęte";
inline constexpr std::string_view kRefusedAnswer = "odmowa połączenia";
inline constexpr std::string_view kRefusedWithErrorAnswer = "odmowa połączenia: ORA-%s";
inline constexpr std::string_view kRedirectAnswer = "przekierowanie do innego adresu";
inline constexpr std::string_view kResendAnswer = "prośba o ponowienie";

// %s: the user.
inline constexpr std::string_view kSchemaUserSkippedDetail =
    "Użytkownik \"%s\": logowania nie sprawdzono, bo hasło nie jest znane";

// The checks of an Oracle configuration, as the suite's programs will use
// it: the net service name in the client's files, the listener it points
// to, and the schema users (which cannot be logged in without a password).
// The files come as read by the caller, which knows which ones the client
// uses.
class OracleChecks {
 public:
  explicit OracleChecks(std::shared_ptr<platform::NetworkProbe> network) : network_(std::move(network)) {}

  bde::CheckTimeouts timeouts;

  // The checks in report order: the entry, the listener, then each
  // distinct schema user.
  std::vector<bde::Check> Make(const OracleSetup& setup, const ServiceEntryTable& tnsnames,
                               const std::vector<std::string>& sqlnetLines);

  // The entry the client finds for the name, as tnsnames.ora's reader
  // stores it (upper-cased, cut to the name field), after sqlnet.ora's
  // domain rule; null when there is none.
  static const ServiceEntry* FindEntry(const std::string& serviceName, const ServiceEntryTable& tnsnames,
                                       const std::vector<std::string>& sqlnetLines);
  // The name is found, and sqlnet.ora lets the client look in tnsnames.ora.
  static bde::CheckResult CheckEntry(const OracleSetup& setup, const ServiceEntryTable& tnsnames,
                                     const std::vector<std::string>& sqlnetLines);
  // The entry's host resolves, its port takes a TCP connection, and a
  // listener answers a CONNECT packet there.
  bde::Check ListenerCheck(const std::string& serviceName, const ServiceEntry* entry);

 private:
  std::shared_ptr<platform::NetworkProbe> network_;
};

}  // namespace oracle
