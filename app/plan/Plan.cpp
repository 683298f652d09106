#include "app/plan/Plan.h"

#include <algorithm>

#include "app/ApplyConfiguration.h"
#include "app/backup/RunBackup.h"
#include "app/plan/PreviewAliases.h"
#include "app/plan/PreviewRegistry.h"
#include "app/plan/UnifiedDiff.h"
#include "platform/TextFile.h"

namespace app::plan {
namespace {

// Where the rehearsal's writers would write, each place once.
class PlaceList final : public backup::ItemKeeper {
 public:
  void Keep(const backup::Place& place) override {
    const bool known = std::any_of(places_.begin(), places_.end(),
                                   [&](const backup::Place& kept) { return backup::SamePlace(kept, place); });
    if (!known) places_.push_back(place);
  }
  const std::vector<backup::Place>& Places() const { return places_; }

 private:
  std::vector<backup::Place> places_;
};

const PlannedItem* FindItem(const Plan& plan, backup::ItemKind kind, const std::string& name) {
  for (const PlannedItem& item : plan.items) {
    if (item.place.kind == kind && item.place.path == name) return &item;
  }
  return nullptr;
}

// The report's notes of a change, kept for the items that would change: an
// alias or a file by its name, the data source when any registry item would.
bool WouldChange(const Plan& plan, const bde::Change& change) {
  if (change.item == bde::Change::Item::DataSource) {
    return std::any_of(plan.items.begin(), plan.items.end(), [](const PlannedItem& item) {
      return item.Changes() && (item.place.kind == backup::ItemKind::RegistryKey ||
                                item.place.kind == backup::ItemKind::RegistryValue);
    });
  }
  const PlannedItem* item =
      FindItem(plan, change.item == bde::Change::Item::Alias ? backup::ItemKind::Alias : backup::ItemKind::File,
               change.name);
  return item == nullptr || item->Changes();
}

std::string Capitalized(std::string text) {
  if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 'a' + 'A');
  return text;
}

std::string Verdict(const PlannedItem& item) {
  if (!item.Changes()) return "bez zmian";
  if (!item.planned.present) return "do usunięcia";
  return item.now.present ? "do zmiany" : "do utworzenia";
}

void DescribeItem(const PlannedItem& item, std::vector<std::string>& lines) {
  std::string heading = " ";
  heading += Capitalized(backup::Describe(item.place));
  heading += ": ";
  heading += Verdict(item);
  lines.push_back(heading + ".");
  if (!item.Changes()) return;
  if (item.place.kind == backup::ItemKind::File || item.place.kind == backup::ItemKind::EngineFile) {
    const std::vector<std::string> diff =
        UnifiedDiff(platform::SplitLines(item.now.content), platform::SplitLines(item.planned.content),
                    item.now.present ? item.place.path : "/dev/null", item.place.path);
    lines.insert(lines.end(), diff.begin(), diff.end());
    return;
  }
  const std::vector<std::string> details = backup::DescribeChange({item.place, item.now, item.planned});
  // The first line says what the verdict already said.
  for (size_t i = 1; i < details.size(); ++i) lines.push_back("  " + details[i]);
}

}  // namespace

Plan MakePlan(const Answers& answers, platform::Registry& registry, bde::AliasEngine& engine) {
  PreviewRegistry previewRegistry(registry);
  PreviewAliases previewAliases(engine);
  PlaceList places;
  Plan plan;
  backup::Snapshot planned;
  {
    const platform::ScopedFilePreview files;
    std::vector<std::string> lines;
    bde::StatusReport report(lines);
    ApplyConfiguration apply(previewRegistry, previewAliases, {});
    apply.Rehearse(answers, report, places);
    backup::Workstation preview{previewRegistry, [&]() -> bde::AliasEngine& { return previewAliases; }};
    planned = backup::TakeSnapshot(preview, places.Places());
    plan.changes = report.Changes();
  }
  backup::Workstation workstation{registry, [&]() -> bde::AliasEngine& { return engine; }};
  const backup::Snapshot now = backup::TakeSnapshot(workstation, places.Places());
  for (size_t i = 0; i < now.size(); ++i) plan.items.push_back({now[i].place, now[i].state, planned[i].state});
  std::erase_if(plan.changes, [&](const bde::Change& change) { return !WouldChange(plan, change); });
  return plan;
}

std::vector<std::string> DescribePlan(const Plan& plan) {
  std::vector<std::string> lines{"Podgląd konfiguracji: niczego nie zapisano.", ""};
  for (const PlannedItem& item : plan.items) DescribeItem(item, lines);
  const auto changing = std::count_if(plan.items.begin(), plan.items.end(),
                                      [](const PlannedItem& item) { return item.Changes(); });
  lines.push_back("");
  lines.push_back(changing == 0 ? "Konfiguracja niczego by nie zmieniła."
                                : "Do zmiany: " + std::to_string(changing) + " z " +
                                      std::to_string(plan.items.size()) + ".");
  return lines;
}

}  // namespace app::plan
