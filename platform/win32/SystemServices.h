#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "platform/Registry.h"

// What the program entry needs of Windows, without <windows.h>.
namespace platform::win32 {

// Registers the common controls (version 6, from the manifest).
void InitCommonControls();

std::unique_ptr<Registry> CreateSystemRegistry();

// The program's arguments after its name, as UTF-8.
std::vector<std::string> CommandLineArguments();

// Writes the text to where the program's output goes: a redirected
// standard output as UTF-8, else the console of the program that started
// this one. Without either the text goes nowhere.
void WriteToConsole(const std::string& text);

// The machine's folder for programs' own data, %ProgramData% (under Wine
// drive_c/ProgramData of the prefix), without a trailing separator.
std::string CommonAppDataFolder();

// The engine's configuration file when the BDE key names none:
// "<common application data>\Novera\BDE\KonfigNovera.cfg".
std::string DefaultEngineConfigFile();

// The computer's name, as the network knows it (NetBIOS), for the result
// of a run.
std::string ComputerName();

// For a run with nobody at the screen, called before anything else. The
// process's error mode keeps Windows from asking anything: no dialog for a
// library that is missing or will not load, a drive that is not ready, or
// a crash. An end that nothing else catches (a system exception such as an
// access violation, an exception that leaves a thread, std::terminate,
// abort) calls lastWords with what happened, in a sentence without a final
// stop, and then ends the process with exit code 1 without returning.
// lastWords runs in a process that may be damaged: it should only write
// its files.
void PrepareForNobodyAtScreen(std::function<void(const std::string&)> lastWords);

// The system's OEM code page, the one the BDE engine's API takes.
const CodePage& SystemOemCodePage();

}  // namespace platform::win32
