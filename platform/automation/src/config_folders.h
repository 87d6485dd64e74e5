// Where our configuration lives. Only absolute values of the environment count: a relative one
// would make the answer depend on the current folder, so it is ignored, as the XDG rules say.
#pragma once

#include <filesystem>
#include <optional>
#include <vector>

namespace automation::detail {

// $ZELK_REGISTRY when it is set to an absolute path.
std::optional<std::filesystem::path> explicitRegistry();
// True when ZELK_REGISTRY is set but not to an absolute path.
bool explicitRegistryIgnored();

// $XDG_CONFIG_HOME/zelk when XDG_CONFIG_HOME is absolute, else $HOME/.config/zelk when HOME is;
// none otherwise.
std::optional<std::filesystem::path> userConfigFolder();

// zelk under each absolute entry of $XDG_CONFIG_DIRS, or under /etc/xdg when it is unset or
// empty: where a package's registrations are, for every user.
std::vector<std::filesystem::path> systemConfigFolders();

// The folder that a package's maintainer scripts register into.
inline constexpr const char* kSystemConfigHome = "/etc/xdg";

}  // namespace automation::detail
