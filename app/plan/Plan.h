#pragma once

#include <string>
#include <vector>

#include "app/backup/Snapshot.h"
#include "bde/StatusReport.h"

namespace platform {
class Registry;
}

namespace bde {
class AliasEngine;
}

namespace app {
struct Answers;
}

// What a run would change, found by rehearsing the run itself: the same
// apply step, on a registry, files and an alias engine whose writes stay in
// memory, so that the preview cannot differ from the run in what it
// decides, and nothing of it reaches the workstation.
namespace app::plan {

struct PlannedItem {
  backup::Place place;
  backup::State now;
  backup::State planned;

  bool Changes() const { return !backup::SameState(place.kind, now, planned); }
};

struct Plan {
  // Every item the run would write, in the order it would first write it.
  std::vector<PlannedItem> items;
  // What the run's report would say it created or modified, of the items
  // that would change.
  std::vector<bde::Change> changes;
};

// Rehearses the run with the answers. An error the run would stop at
// passes to the caller, as from the run; nothing is written either way.
Plan MakePlan(const Answers& answers, platform::Registry& registry, bde::AliasEngine& engine);

// The report of the plan: a heading, then each item with what would change
// in it (each registry value as "nazwa: stara → nowa", a file as a unified
// diff, an alias's parameters as old → new) or that it stays as it is.
std::vector<std::string> DescribePlan(const Plan& plan);

}  // namespace app::plan
