#pragma once

#include <optional>

#include "bde/InstalledEngine.h"
#include "platform/DynamicLibrary.h"

namespace platform {
class CodePage;
class Registry;
}  // namespace platform

namespace bde {

class Engine;

// The engine that does the alias work on this machine: the installed BDE
// when the registry's "DLLPATH" names a folder holding its library, our
// own engine only where there is none. The window and the unattended run
// both start from here, so they never write to different engines.
class AliasEngineChoice {
 public:
  // An installed engine that is there but does not start (its library does
  // not load, lacks a function, or refuses to start) raises its message:
  // falling back to our engine would write aliases nobody reads.
  AliasEngineChoice(platform::Registry& registry, Engine& ours, const platform::CodePage& oemCodePage);
  AliasEngineChoice(const AliasEngineChoice&) = delete;
  AliasEngineChoice& operator=(const AliasEngineChoice&) = delete;

  AliasEngine& Aliases();

 private:
  Engine& ours_;
  // Declared before the engine, so the engine ends before its library goes.
  std::optional<platform::DynamicLibrary> library_;
  std::optional<InstalledEngine> installed_;
};

}  // namespace bde
