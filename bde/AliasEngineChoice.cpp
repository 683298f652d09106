#include "bde/AliasEngineChoice.h"

#include "bde/Engine.h"
#include "platform/Error.h"
#include "platform/Text.h"

namespace bde {

AliasEngineChoice::AliasEngineChoice(platform::Registry& registry, Engine& ours, const platform::CodePage& oemCodePage)
    : ours_(ours) {
  const InstalledEngineSearch search = FindInstalledEngine(registry);
  if (!search.library) {
    ours_.SetNoInstalledEngineNote(search.note);
    return;
  }
  library_ = platform::DynamicLibrary::Load(*search.library);
  if (!library_) throw platform::Error(platform::Format(kIdapiLoadFailedMessage, {*search.library}));
  installed_.emplace(LoadIdapiFunctions(*library_, *search.library), oemCodePage);
}

AliasEngine& AliasEngineChoice::Aliases() {
  if (installed_) return *installed_;
  return ours_;
}

}  // namespace bde
