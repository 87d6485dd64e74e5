#include <dlfcn.h>

#include <array>
#include <string_view>
#include <system_error>

#include "automation/server.h"

namespace automation {
namespace {

namespace fs = std::filesystem;

// The control modules shipped beside this library: the only files it loads without a registry
// naming them. This is the one list of them.
constexpr std::array<std::string_view, 1> kOwnModuleNames = {"libKVPLOTAX.so"};

}  // namespace

// As the loader found this library, not resolved through links: the modules are shipped beside
// the name the library is installed under.
fs::path ownModuleFolder() {
  Dl_info info{};
  if (::dladdr(reinterpret_cast<void*>(&ownModuleFolder), &info) == 0 ||
      info.dli_fname == nullptr) {
    return {};
  }
  const fs::path self(info.dli_fname);
  // A relative name would be resolved against whatever the current folder is by now.
  if (!self.is_absolute()) return {};
  return self.lexically_normal().parent_path();
}

std::vector<fs::path> ownModules() {
  static const std::vector<fs::path> kModules = [] {
    std::vector<fs::path> modules;
    const fs::path folder = ownModuleFolder();
    if (folder.empty()) return modules;
    for (const std::string_view name : kOwnModuleNames) modules.push_back(folder / name);
    return modules;
  }();
  return kModules;
}

std::vector<ModuleCandidate> moduleCandidates(const Guid& clsid) {
  std::vector<ModuleCandidate> candidates;
  const auto fromRegistry = [&](const RegistryFile& registry) {
    for (RegistryEntry& entry : Registry::load(registry.file)) {
      if (entry.clsid == clsid) {
        candidates.push_back({registry.source, std::move(entry.module), registry.file});
        return;
      }
    }
  };
  const std::vector<RegistryFile> registries = Registry::lookupOrder();
  auto next = registries.begin();
  if (next != registries.end() && next->source == ModuleSource::ExplicitRegistry) {
    fromRegistry(*next++);
  }
  for (const fs::path& module : ownModules()) {
    std::error_code ec;
    if (fs::is_regular_file(module, ec))
      candidates.push_back({ModuleSource::OwnModule, module, {}});
  }
  for (; next != registries.end(); ++next) fromRegistry(*next);
  return candidates;
}

}  // namespace automation
