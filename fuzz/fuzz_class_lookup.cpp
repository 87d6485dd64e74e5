// A settings file's class and the registries as they may be found on disk: looking up the modules
// for the class, and a program identifier, never fails hard, loads nothing, and yields only
// absolute modules that a registry names for that class, in the order of the sources.
//
// Input: the settings file's first line ("[Class {...}]"), then the text of the explicit, the
// user's and a system-wide registry, separated by form feeds.
#include <stdlib.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "automation/server.h"
#include "fuzz_scratch_folder.h"

namespace {

namespace fs = std::filesystem;

// The registries of this run, in a scratch folder removed when the run ends; a relative entry of
// XDG_CONFIG_DIRS comes first, which the lookup must pass over.
const std::vector<fs::path>& registries() {
  static std::vector<fs::path> files;
  if (files.empty()) {
    const fs::path& scratch = fuzzScratchFolder();
    files = {scratch / "explicit" / "registry", scratch / "config" / "zelk" / "registry",
             scratch / "system" / "zelk" / "registry"};
    for (const fs::path& file : files) fs::create_directories(file.parent_path());
    ::setenv("ZELK_REGISTRY", files[0].c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (scratch / "config").c_str(), 1);
    ::setenv("XDG_CONFIG_DIRS", ("relative:" + (scratch / "system").string()).c_str(), 1);
    ::setenv("HOME", (scratch / "home").c_str(), 1);
  }
  return files;
}

// The class a settings file names in its heading, as the designer reads it.
std::optional<automation::Guid> headingClass(std::string_view line) {
  constexpr std::string_view kHeading = "[Class ";
  const std::size_t start = line.find_first_not_of(" \t\r");
  if (start == std::string_view::npos || line.substr(start, kHeading.size()) != kHeading) {
    return automation::Guid::parse(line);
  }
  const std::size_t open = start + kHeading.size();
  const std::size_t close = line.find(']', open);
  if (close == std::string_view::npos) return std::nullopt;
  return automation::Guid::parse(line.substr(open, close - open));
}

bool sameNoCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::size_t lineEnd = std::min(bytes.find('\n'), bytes.size());
  const auto clsid = headingClass(bytes.substr(0, lineEnd));
  std::string_view rest = bytes.substr(std::min(lineEnd + 1, bytes.size()));
  for (const fs::path& file : registries()) {
    const std::size_t cut = std::min(rest.find('\f'), rest.size());
    std::ofstream(file, std::ios::binary | std::ios::trunc) << rest.substr(0, cut);
    rest.remove_prefix(std::min(cut + 1, rest.size()));
  }

  if (clsid) {
    const auto candidates = automation::moduleCandidates(*clsid);
    const auto own = automation::ownModules();
    for (std::size_t i = 0; i < candidates.size(); ++i) {
      const automation::ModuleCandidate& c = candidates[i];
      if (!c.module.is_absolute()) std::abort();
      if (i > 0 && c.source < candidates[i - 1].source) std::abort();
      if (c.source == automation::ModuleSource::OwnModule) {
        if (std::find(own.begin(), own.end(), c.module) == own.end()) std::abort();
        continue;
      }
      // The registry's first entry for the class, and nothing else, is its candidate.
      const auto entries = automation::Registry::load(c.registry);
      const auto first = std::find_if(entries.begin(), entries.end(),
                                      [&](const auto& e) { return e.clsid == *clsid; });
      if (first == entries.end() || first->module != c.module) std::abort();
    }
  }

  // Each registry's first few program identifiers are found again, from whichever registry comes
  // first in the lookup order.
  for (const fs::path& file : registries()) {
    auto entries = automation::Registry::load(file);
    entries.resize(std::min<std::size_t>(entries.size(), 4));
    for (const automation::RegistryEntry& entry : entries) {
      if (!entry.module.is_absolute()) std::abort();
      const auto found = automation::Registry::findProgId(entry.progId);
      if (!found || !sameNoCase(found->progId, entry.progId) || !found->module.is_absolute()) {
        std::abort();
      }
    }
  }
  return 0;
}
