// Where a program finds its forms' designed settings (*.bag): in forms/ beside the program in the
// build tree, and in the installed data folder, found relative to the program so that an
// installation can be moved. ZELK_FORMS_FROM_BIN is that folder seen from the program's folder.
#pragma once

#include <filesystem>
#include <system_error>
#include <vector>

namespace zelk {

inline std::vector<std::filesystem::path> formsFolders() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return {};
  const std::filesystem::path bin = self.parent_path();
  return {bin / "forms", (bin / ZELK_FORMS_FROM_BIN).lexically_normal()};
}

// The first folder's copy of a form's file that exists; empty when none does.
inline std::filesystem::path formFile(const std::filesystem::path& name) {
  for (const auto& folder : formsFolders()) {
    std::error_code error;
    if (std::filesystem::is_regular_file(folder / name, error)) return folder / name;
  }
  return {};
}

}  // namespace zelk
