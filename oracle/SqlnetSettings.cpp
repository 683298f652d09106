#include "oracle/SqlnetSettings.h"

#include <algorithm>

#include "platform/DelimitedText.h"
#include "platform/Text.h"

namespace oracle {
namespace {

using platform::Blanks;
using platform::Trim;

void EraseFirst(std::string& text, char c) {
  const size_t at = text.find(c);
  if (at != std::string::npos) text.erase(at, 1);
}

}  // namespace

std::vector<SqlnetParameter> ReadSqlnetParameters(const std::vector<std::string>& lines) {
  std::vector<SqlnetParameter> parameters;
  long depth = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string_view line = lines[i];
    const std::string_view trimmed = Trim(line, Blanks::SpaceAndControls);
    if (trimmed.empty() || trimmed.starts_with('#')) continue;
    std::string_view part = line;
    const bool open = !parameters.empty() && parameters.back().hasEquals &&
                      (depth > 0 || Trim(parameters.back().value, Blanks::SpaceAndControls).empty());
    if (open && platform::IsSpaceOrControl(line.front())) {
      parameters.back().value.push_back(' ');
    } else {
      SqlnetParameter& parameter = parameters.emplace_back();
      const size_t equals = line.find('=');
      parameter.hasEquals = equals != std::string_view::npos;
      parameter.key = parameter.hasEquals ? Trim(line.substr(0, equals), Blanks::SpaceAndControls) : trimmed;
      part = parameter.hasEquals ? line.substr(equals + 1) : std::string_view();
      depth = 0;
    }
    parameters.back().value.append(part);
    parameters.back().lines.push_back(i);
    for (char c : part) depth += (c == '(') - (c == ')');
  }
  return parameters;
}

const SqlnetParameter* FindSqlnetKey(const std::vector<SqlnetParameter>& parameters, std::string_view key) {
  for (const SqlnetParameter& parameter : parameters) {
    if (parameter.hasEquals && platform::EqualsAsciiNoCase(parameter.key, key)) return &parameter;
  }
  return nullptr;
}

std::vector<std::string> SqlnetItems(const SqlnetParameter* parameter) {
  std::string value = parameter ? parameter->value : std::string();
  EraseFirst(value, '(');
  EraseFirst(value, ')');
  return platform::SplitDelimited(value, ',');
}

bool HoldsSqlnetItem(const std::vector<std::string>& items, std::string_view item) {
  return std::any_of(items.begin(), items.end(),
                     [&](const std::string& held) { return platform::EqualsAsciiNoCase(held, item); });
}

std::optional<std::string> SqlnetValue(const std::vector<std::string>& lines, std::string_view key) {
  const std::vector<SqlnetParameter> parameters = ReadSqlnetParameters(lines);
  const SqlnetParameter* parameter = FindSqlnetKey(parameters, key);
  if (!parameter) return std::nullopt;
  return std::string(Trim(parameter->value, Blanks::SpaceAndControls));
}

namespace {

void Visit(const IncludedFiles& files, size_t index,
           const std::function<void(size_t, const SqlnetParameter&)>& visit) {
  const IncludedFile& file = files.Files()[index];
  if (file.state != IncludedFile::State::Read) return;
  for (const SqlnetParameter& parameter : ReadSqlnetParameters(file.lines)) {
    if (const auto included = file.IncludedAt(parameter.lines.front())) {
      Visit(files, *included, visit);
      continue;
    }
    visit(index, parameter);
  }
}

}  // namespace

void VisitSqlnetParameters(const IncludedFiles& files,
                           const std::function<void(size_t file, const SqlnetParameter&)>& visit) {
  Visit(files, 0, visit);
}

std::optional<SqlnetSetting> FindSqlnetSetting(const IncludedFiles& files, std::string_view key) {
  std::optional<SqlnetSetting> found;
  VisitSqlnetParameters(files, [&](size_t file, const SqlnetParameter& parameter) {
    if (found || !parameter.hasEquals || !platform::EqualsAsciiNoCase(parameter.key, key)) return;
    found = SqlnetSetting{std::string(Trim(parameter.value, Blanks::SpaceAndControls)), files.Files()[file].path};
  });
  return found;
}

std::string QualifiedServiceName(const std::string& name, const std::vector<std::string>& sqlnetLines) {
  if (name.find('.') != std::string::npos) return name;
  const std::string domain = SqlnetValue(sqlnetLines, "NAMES.DEFAULT_DOMAIN").value_or("");
  return domain.empty() ? name : name + "." + domain;
}

bool TnsnamesAllowed(const std::vector<std::string>& sqlnetLines) {
  const std::vector<SqlnetParameter> parameters = ReadSqlnetParameters(sqlnetLines);
  const SqlnetParameter* path = FindSqlnetKey(parameters, "NAMES.DIRECTORY_PATH");
  return !path || HoldsSqlnetItem(SqlnetItems(path), "TNSNAMES");
}

}  // namespace oracle
