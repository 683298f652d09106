// The answers file reader on any bytes: the decoded text is UTF-8 whatever
// the bytes were (or refused), the parser accepts the text or raises its own error (never
// another), and every value it accepts is trimmed, free of comments and
// found at a line the text has.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "app/AnswersFile.h"
#include "app/servers/Mssql.h"
#include "app/servers/Oracle.h"
#include "platform/TextFile.h"
#include "platform/Utf16.h"

namespace {

constexpr std::string_view kKeys[][2] = {
    {app::kMainSection, "Serwer"},        {app::kMainSection, "Wersja"},
    {app::kMainSection, "Kopia"},         {app::kMssqlSection, "ZrodloDanych"},
    {app::kMssqlSection, "SerwerMSSQL"},  {app::kMssqlSection, "LogowanieWindows"},
    {app::kMssqlSection, "Baza"},         {app::kMssqlSection, "BazaArchiwum"},
    {app::kMssqlSection, "BazaLiczniki"}, {app::kOracleSection, "DomOracle"},
    {app::kOracleSection, "Serwis"},      {app::kOracleSection, "Protokol"},
    {app::kOracleSection, "Host"},        {app::kOracleSection, "Port"},
    {app::kOracleSection, "NazwaBazy"},   {app::kOracleSection, "UzytkownikOchrona"},
    {app::kOracleSection, "UzytkownikLumira"}, {app::kOracleSection, "UzytkownikLiczniki"},
};

bool Blank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::optional<std::string> decoded =
      app::DecodeAnswersText(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!decoded) return 0;
  const std::string& text = *decoded;
  if (platform::FromUtf16(platform::ToUtf16(text)) != text) std::abort();

  std::optional<app::AnswersFile> file;
  try {
    file = app::AnswersFile::Parse("answers.ini", text);
  } catch (const app::AnswersError&) {
    return 0;
  }
  const int lines = static_cast<int>(platform::SplitLines(text).size());
  for (const auto& [section, key] : kKeys) {
    const auto value = file->Find(section, key);
    if (!value) continue;
    if (value->line < 1 || value->line > lines) std::abort();
    const std::string& given = value->text;
    if (given.find(';') != std::string::npos) std::abort();
    if (!given.empty() && (Blank(given.front()) || Blank(given.back()))) std::abort();
  }
  return 0;
}
