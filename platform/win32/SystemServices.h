#pragma once

#include <memory>
#include <string>

#include "platform/CodePage.h"
#include "platform/Registry.h"

// What the program entry needs of Windows, without <windows.h>.
namespace platform::win32 {

// Registers the common controls (version 6, from the manifest).
void InitCommonControls();

std::unique_ptr<Registry> CreateSystemRegistry();

// The engine's configuration file when the BDE key names none:
// "<common application data>\Novera\BDE\KonfigNovera.cfg".
std::string DefaultEngineConfigFile();

// The system's OEM code page, the one the BDE engine's API takes.
const CodePage& SystemOemCodePage();

}  // namespace platform::win32
