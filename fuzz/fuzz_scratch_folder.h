// A scratch folder for the files a fuzz target writes, made on first use and removed when the
// run ends: the targets never write where the user keeps anything.
#pragma once

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>

inline const std::filesystem::path& fuzzScratchFolder() {
  // Never destroyed: the exit handler that removes the folder runs after static destructors.
  static const std::filesystem::path* const folder = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "zelk-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(fuzzScratchFolder(), ignored);
    });
    return new std::filesystem::path(pattern);
  }();
  return *folder;
}
