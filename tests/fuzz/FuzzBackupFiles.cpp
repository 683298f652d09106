// The files of a backup folder, which a person may have edited, on any
// input: the manifest is read or raises its error, and an item's file of
// each kind is read as that item's state or refused; nothing fails
// otherwise, and what is read writes back as it was read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "app/backup/ItemFiles.h"
#include "app/backup/Manifest.h"
#include "platform/Error.h"

namespace {

using app::backup::Place;

const Place kPlaces[] = {
    Place::RegistryKey(platform::RegistryRoot::LocalMachine, "\\SOFTWARE\\ODBC\\ODBC.INI\\Novera LM"),
    Place::RegistryValue(platform::RegistryRoot::LocalMachine, "\\SOFTWARE\\ODBC\\ODBC.INI\\ODBC Data Sources",
                         "Novera LM"),
    Place::Alias("X Novera- LM"),
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    const app::backup::Manifest manifest = app::backup::ParseManifest(text);
    if (app::backup::ParseManifest(app::backup::ManifestText(manifest)).items.size() != manifest.items.size()) {
      std::abort();
    }
  } catch (const platform::Error&) {
  }
  for (const Place& place : kPlaces) {
    const std::optional<app::backup::State> state = app::backup::ReadItemFile(place, text);
    if (!state) continue;
    try {
      const std::optional<app::backup::State> again =
          app::backup::ReadItemFile(place, app::backup::ItemFileContent(place, *state));
      if (!again || !app::backup::SameState(place.kind, *again, *state)) std::abort();
    } catch (const platform::Error&) {
      // A value name with a line break is read, but no backup can hold it.
    }
  }
  return 0;
}
