// A form's chart as it was designed: its saved settings, a property-bag file in the program's
// forms folder (beside the program in the build tree, in the installed data folder), loaded when
// the form's chart is created.
#pragma once

#include <cstddef>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "apps/class_ids.h"
#include "automation/automation.h"

namespace apps {

// Settings files are small (a designed chart is a few kilobytes); anything near these sizes is
// not one, and is refused before it is read whole.
inline constexpr std::size_t kMaxSettingsBytes = 1u << 20;
inline constexpr std::size_t kMaxSettingsLineBytes = 256u << 10;

// Why a settings file was not used.
class SettingsError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The file's text. Throws SettingsError, naming the file, when it cannot be read, is not a
// regular file, or passes the size or line-length limits.
std::string readSettingsFile(const std::filesystem::path& file);

inline automation::Guid chartClass() { return *automation::Guid::parse(kChartClassId); }

// The form's settings file in the first forms folder that has it; empty when none does.
std::filesystem::path designedChartFile(const std::string& name);

// Creates the chart in the container (headless or on the screen) from the designed settings in
// the named file, or as a new control when no forms folder has the file. A settings file that
// exists but cannot be read is an error, never quietly replaced by a new control's defaults (a
// chart drawn unlike its design is a wrong result): SettingsError. What the file holds never
// fails the load (damaged values keep their defaults). Raises what the container raises when
// the class cannot be created.
template <class Container>
automation::Dispatch& createDesignedChart(Container& container, const std::string& settingsName,
                                          const automation::Guid& clsid = chartClass()) {
  const std::filesystem::path file = designedChartFile(settingsName);
  if (file.empty()) return container.create(clsid);
  return container.loadBag(clsid, readSettingsFile(file));
}

}  // namespace apps
