#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "oracle/ServiceEntry.h"

// The service entry the user edited, put into the lines of tnsnames.ora.
namespace oracle {

// The entry in the nine-line layout, named as given.
std::vector<std::string> EntryLayout(std::string_view name, const ServiceEntry& entry);

// Puts the entry under serviceName into the lines. The entry it replaces is
// the one the user saw: the last readable entry of that name (ASCII case
// ignored). Other entries of that name stay where they are.
// - No such entry: the entry is appended in the nine-line layout.
// - An entry the layout holds whole: its lines give way (comment and empty
//   lines inside it stay) and the entry is appended in the layout.
// - An entry with more than the layout holds (more addresses, SERVER,
//   FAILOVER_MODE, HS ...): only the values the user changed are replaced,
//   inside the entry's own text, where it stands.
// A name line that gives several names loses serviceName; the entry is
// then written as a new one, after the old one when it is copied whole.
void ReplaceTnsnamesEntry(std::vector<std::string>& lines, std::string_view serviceName, const ServiceEntry& entry);

struct RewriteFault {
  std::string name;
  bool edited;         // the edited entry, else another one
  bool added = false;  // another one that the file before did not hold
};

// What goes wrong when before becomes after, as our own reader sees it: an
// entry other than serviceName whose text changed, that went or that
// appeared, or serviceName when its entry does not read back with the
// entry's values. Nothing when all is well.
std::optional<RewriteFault> FindRewriteFault(const std::vector<std::string>& before,
                                            const std::vector<std::string>& after, std::string_view serviceName,
                                            const ServiceEntry& entry);

struct TnsnamesRewrite {
  std::vector<std::string> lines;
  std::optional<RewriteFault> fault;
};

// The lines with the entry put in (ReplaceTnsnamesEntry), and what the check
// of that rewrite finds (FindRewriteFault); the lines given stay as they are.
TnsnamesRewrite RewriteTnsnamesEntry(const std::vector<std::string>& lines, std::string_view serviceName,
                                     const ServiceEntry& entry);

}  // namespace oracle
