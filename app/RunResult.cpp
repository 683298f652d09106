#include "app/RunResult.h"

#include <cstdio>
#include <ctime>

#include "platform/JsonWriter.h"
#include "platform/TextFile.h"

namespace app {
namespace {

std::string_view ItemName(bde::Change::Item item) {
  switch (item) {
    case bde::Change::Item::DataSource:
      return "dataSource";
    case bde::Change::Item::File:
      return "file";
    case bde::Change::Item::Alias:
      return "alias";
  }
  return "";
}

std::string_view StatusName(bde::CheckStatus status) {
  switch (status) {
    case bde::CheckStatus::Ok:
      return "ok";
    case bde::CheckStatus::Failed:
      return "failed";
    case bde::CheckStatus::Skipped:
      return "skipped";
  }
  return "";
}

}  // namespace

std::string RunResultJson(const RunResult& result) {
  platform::JsonWriter json;
  json.BeginObject()
      .Key("schema")
      .Number(kRunResultSchema)
      .Key("computer")
      .String(result.computer)
      .Key("time")
      .String(result.time)
      .Key("mode")
      .String(result.mode)
      .Key("exitCode")
      .Number(result.exitCode)
      .Key("report")
      .Strings(result.report)
      .Key("changes")
      .BeginArray();
  for (const bde::Change& change : result.changes) {
    json.BeginObject()
        .Key("item")
        .String(ItemName(change.item))
        .Key("name")
        .String(change.name)
        .Key("action")
        .String(change.created ? "created" : "modified")
        .EndObject();
  }
  json.EndArray().Key("checks");
  if (!result.checks) {
    json.Null();
  } else {
    json.BeginArray();
    for (const bde::CheckResult& check : *result.checks) {
      json.BeginObject().Key("status").String(StatusName(check.status)).Key("detail").String(check.detail).EndObject();
    }
    json.EndArray();
  }
  return json.EndObject().Text();
}

std::string UtcTimestamp(std::chrono::system_clock::time_point time) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
  std::tm utc{};
#ifdef _WIN32
  gmtime_s(&utc, &seconds);
#else
  gmtime_r(&seconds, &utc);
#endif
  char text[80];
  std::snprintf(text, sizeof(text), "%04d-%02d-%02dT%02d:%02d:%02dZ", utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday,
                utc.tm_hour, utc.tm_min, utc.tm_sec);
  return text;
}

void WriteRunResult(const std::string& path, const RunResult& result) {
  platform::WriteTextLines(path, platform::SplitLines(RunResultJson(result)));
}

}  // namespace app
