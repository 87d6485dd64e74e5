#include "util/folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace util {
namespace {

namespace fs = std::filesystem;

// What stands at (or on the way to) the path, what the check says, and what making the folders
// then says: a missing folder is made with its parents, anything else is reported as it is.
TEST(Folder, TellsWhyFilesCannotBeMadeInAFolderAndMakesMissingOnes) {
  struct Case {
    const char* what;
    const char* path;  // within a scratch folder
    std::function<void(const fs::path& scratch)> make;
    FolderState before, afterMaking;
    bool root;  // whether the case holds for a process that may write anywhere
  };
  const Case cases[] = {
      {"a folder", "d", [](const fs::path& s) { fs::create_directory(s / "d"); },
       FolderState::kWritable, FolderState::kWritable, true},
      {"nothing there", "a/b/c", [](const fs::path&) {}, FolderState::kMissing,
       FolderState::kWritable, true},
      {"a file", "f", [](const fs::path& s) { std::ofstream(s / "f") << "x"; },
       FolderState::kNotAFolder, FolderState::kNotAFolder, true},
      {"a file on the way", "f/d", [](const fs::path& s) { std::ofstream(s / "f") << "x"; },
       FolderState::kUnreachable, FolderState::kUnreachable, true},
      {"a link to a folder", "l",
       [](const fs::path& s) {
         fs::create_directory(s / "d");
         fs::create_directory_symlink("d", s / "l");
       },
       FolderState::kWritable, FolderState::kWritable, true},
      {"a read-only folder", "r",
       [](const fs::path& s) {
         fs::create_directory(s / "r");
         fs::permissions(s / "r", fs::perms::owner_read | fs::perms::owner_exec);
       },
       FolderState::kNotWritable, FolderState::kNotWritable, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (!c.root && ::geteuid() == 0) continue;
    std::string name = (fs::temp_directory_path() / "util-folder-XXXXXX").string();
    const fs::path scratch = ::mkdtemp(name.data());
    c.make(scratch);
    EXPECT_EQ(folderState(scratch / c.path), c.before);
    EXPECT_EQ(makeFolders(scratch / c.path), c.afterMaking);
    fs::permissions(scratch, fs::perms::owner_all);
    for (const auto& entry : fs::recursive_directory_iterator(scratch)) {
      if (entry.is_directory() && !entry.is_symlink()) fs::permissions(entry, fs::perms::owner_all);
    }
    fs::remove_all(scratch);
  }
}

}  // namespace
}  // namespace util
