#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/backup/Snapshot.h"

// The manifest of a backup folder (manifest.txt): plain UTF-8 text a
// person can read, with the run, its mode and its state on a line each,
// then one item a line, its fields separated by a TAB:
//
//   KonfigNovera: kopia zapasowa konfiguracji
//   Przebieg: 20261209-103000-123
//   Tryb: okno
//   Stan: zakończony
//   Rodzaj<TAB>Miejsce<TAB>Nazwa wartości<TAB>Przed<TAB>Plik<TAB>Po<TAB>Plik
//   plik<TAB>C:\...\sqlnet.ora<TAB><TAB>jest<TAB>01-przed-sqlnet.ora<TAB>jest<TAB>01-po-sqlnet.ora
//
// "jest" or "brak" says whether the item was there ("brak (kluczy: 2)":
// a registry item whose key and the key above it were missing too), "-"
// stands for no file; the last two fields come once the run has ended.
// Each field is escaped as platform::EscapeField does: a TAB in a path is
// written %09.
namespace app::backup {

enum class RunMode { Window, Unattended };

enum class RunState {
  // Begun and not ended: the program stopped halfway, or runs still.
  InProgress,
  Finished,
  // Ended by an error, with what it wrote left in place, as "Wykonaj"
  // leaves it; its backup says what stands after it.
  Failed,
  // Ended by an error, with everything it wrote put back.
  RolledBack,
  // Put back by /undo.
  Undone,
};

struct ManifestItem {
  Place place;
  bool presentBefore = false;
  // The file of the folder that keeps the state; empty for an absent item.
  std::string beforeFile;
  // Nothing until the run's end is recorded.
  std::optional<bool> presentAfter;
  std::string afterFile;
  // State::missingKeys of either state.
  int missingKeysBefore = 0;
  int missingKeysAfter = 0;
};

struct Manifest {
  std::string run;
  RunMode mode = RunMode::Window;
  RunState state = RunState::InProgress;
  std::vector<ManifestItem> items;
};

inline constexpr std::string_view kManifestFileName = "manifest.txt";

std::string ManifestText(const Manifest& manifest);

// Raises platform::Error naming the line that cannot be read. A file name
// of the folder must be a plain name, so a manifest edited by hand cannot
// point a restore at any other file.
Manifest ParseManifest(std::string_view text);

}  // namespace app::backup
