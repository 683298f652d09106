#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/backup/Snapshot.h"

// The files of a backup folder that keep one state of an item each, in
// forms a person can open:
// - a registry key or value: a .reg export as regedit writes one (UTF-16LE
//   with its byte order mark, "Windows Registry Editor Version 5.00"), so
//   it also imports by hand; texts in quotes, DWORDs as dword:, every other
//   value as hex(type) with its exact bytes;
// - a file: its bytes as they were;
// - an alias: UTF-8 lines "Alias BDE: <name>", "Sterownik: <driver>", then
//   one line per parameter, each escaped as platform::EscapeField does.
// Only the states of present items have files.
namespace app::backup {

// %s: the item, then the fault.
inline constexpr std::string_view kItemNotKeptMessage = "Nie można zachować w kopii zapasowej: %s (%s)";

// Raises kItemNotKeptMessage for a registry value name that a .reg file
// cannot hold (one with a line break).
std::string ItemFileContent(const Place& place, const State& state);

// The state the file keeps, present; nothing when the file is not one of
// that item (another key or alias, or damaged).
std::optional<State> ReadItemFile(const Place& place, std::string_view content);

// How the name of the item's file ends: ".reg", ".txt", or for a file "-"
// and its own name, with characters a file name cannot hold replaced.
std::string ItemFileSuffix(const Place& place);

}  // namespace app::backup
