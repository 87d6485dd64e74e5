#include "config_folders.h"

#include <cstdlib>
#include <string_view>

namespace automation::detail {
namespace {

namespace fs = std::filesystem;

std::optional<fs::path> absoluteEnv(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0' || *value != '/') return std::nullopt;
  return fs::path(value);
}

}  // namespace

std::optional<fs::path> explicitRegistry() { return absoluteEnv("ZELK_REGISTRY"); }

bool explicitRegistryIgnored() {
  const char* value = std::getenv("ZELK_REGISTRY");
  return value != nullptr && *value != '\0' && *value != '/';
}

std::optional<fs::path> userConfigFolder() {
  if (const auto config = absoluteEnv("XDG_CONFIG_HOME")) return *config / "zelk";
  if (const auto home = absoluteEnv("HOME")) return *home / ".config" / "zelk";
  return std::nullopt;
}

std::vector<fs::path> systemConfigFolders() {
  const char* value = std::getenv("XDG_CONFIG_DIRS");
  std::string_view dirs = value != nullptr && *value != '\0' ? value : kSystemConfigHome;
  std::vector<fs::path> folders;
  while (!dirs.empty()) {
    const std::size_t colon = dirs.find(':');
    const std::string_view dir = dirs.substr(0, colon);
    if (!dir.empty() && dir.front() == '/') folders.push_back(fs::path(dir) / "zelk");
    if (colon == std::string_view::npos) break;
    dirs.remove_prefix(colon + 1);
  }
  return folders;
}

}  // namespace automation::detail
