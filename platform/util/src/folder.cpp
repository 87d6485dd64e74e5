#include "util/folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace util {

FolderState folderState(const std::filesystem::path& folder) {
  struct stat info {};
  if (::stat(folder.c_str(), &info) != 0) {
    return errno == ENOENT ? FolderState::kMissing : FolderState::kUnreachable;
  }
  if (!S_ISDIR(info.st_mode)) return FolderState::kNotAFolder;
  if (::access(folder.c_str(), W_OK | X_OK) != 0) return FolderState::kNotWritable;
  return FolderState::kWritable;
}

FolderState makeFolders(const std::filesystem::path& folder) {
  // Failures show in the state that follows.
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);
  return folderState(folder);
}

}  // namespace util
