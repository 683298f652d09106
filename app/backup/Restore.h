#pragma once

#include <string>
#include <vector>

#include "app/backup/RunBackup.h"
#include "app/backup/Snapshot.h"

// Putting a run's items back as they were before it: each writer of the
// run, run the other way. A data source's key and list entry and the
// Oracle files come back byte for byte, or go when they were absent (with
// the keys a run created on the way, when nothing else is in them); an
// alias the run created is deleted through the engine, one it modified
// gets its old driver and values back; the engine's configuration is saved
// once after the aliases, and our own engine's file, which only that save
// writes, is put back byte for byte after it.
namespace app::backup {

enum class RestoreMode {
  // A run that failed puts back whatever it wrote.
  Rollback,
  // /undo puts back a run that ended, but leaves an item that no longer
  // holds what the run left there: someone changed it since.
  Undo,
};

struct RestoreResult {
  // One line for each item that did not already stand as before, in the
  // order they were put back, indented as the status report's details:
  //   alias BDE "X Novera- LM": usunięto.
  //   plik "...\sqlnet.ora": przywrócono.
  //   plik "...\tnsnames.ora": pozostawiono, bo zmieniono go po przebiegu.
  //   klucz rejestru "...": nie przywrócono: <the error>
  std::vector<std::string> lines;
  int restored = 0;
  int leftAlone = 0;
  int failed = 0;
};

// Nothing is changed before every item's present state is read and
// checked. An item that cannot be read or written is named with its error,
// and the others are still put back. A run the program never finished
// (stopped halfway) recorded nothing of what it left, so /undo puts its
// items back without that check.
RestoreResult Restore(Workstation& workstation, const std::vector<BackedUpItem>& items, RestoreMode mode);

}  // namespace app::backup
