#include "host/output_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <string>

#include "util/folder.h"

namespace host {

namespace fs = std::filesystem;

namespace {

fs::path folderOf(const fs::path& path) {
  const fs::path folder = path.parent_path();
  return folder.empty() ? fs::path(".") : folder;
}

}  // namespace

fs::path linkTarget(const fs::path& path) {
  fs::path at = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat info {};
    if (::lstat(at.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return at;
    std::string text(PATH_MAX, '\0');
    const ssize_t n = ::readlink(at.c_str(), text.data(), text.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= text.size()) return {};
    text.resize(static_cast<std::size_t>(n));
    const fs::path next(text);
    at = next.is_absolute() ? next : at.parent_path() / next;
  }
  return {};
}

std::string nameProblem(const fs::path& path) {
  if (!path.has_filename() || path.filename() == "." || path.filename() == "..") {
    return "it names a folder, not a file";
  }
  const fs::path folder = folderOf(path);
  const util::FolderState state = util::folderState(folder);
  switch (state) {
    case util::FolderState::kMissing:
      return "its folder " + folder.string() + " does not exist";
    case util::FolderState::kUnreachable:
      return "its folder " + folder.string() + " cannot be reached";
    case util::FolderState::kNotAFolder:
      return folder.string() + " is not a folder";
    case util::FolderState::kNotWritable:
    case util::FolderState::kWritable:
      break;
  }
  const long longest = ::pathconf(folder.c_str(), _PC_NAME_MAX);
  const std::size_t limit = longest > 0 ? static_cast<std::size_t>(longest) : NAME_MAX;
  if (path.filename().string().size() > limit) {
    return "the name is longer than the " + std::to_string(limit) + " bytes a file name can have";
  }
  if (path.string().size() >= PATH_MAX) return "the path is too long";
  if (state == util::FolderState::kNotWritable) return "its folder is not writable";
  return {};
}

std::string replaceProblem(const fs::path& path) {
  const fs::path target = linkTarget(path);
  if (target.empty()) return "its symbolic links go round in a circle";
  struct stat info {};
  if (::stat(target.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) return "it is a folder";
    if (!S_ISREG(info.st_mode)) return "it is not a regular file (a pipe, device or socket)";
    if (info.st_uid != ::geteuid()) return "the file belongs to another user";
  } else if (errno != ENOENT) {
    const int error = errno;
    const std::string problem = nameProblem(target);
    return problem.empty() ? std::string("it cannot be reached: ") + std::strerror(error) : problem;
  }
  return nameProblem(target);
}

bool sameFile(const fs::path& a, const fs::path& b) {
  struct stat first {
  }, second{};
  const bool aExists = ::stat(a.c_str(), &first) == 0;
  const bool bExists = ::stat(b.c_str(), &second) == 0;
  if (aExists && bExists) return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
  if (aExists != bExists) return false;
  // Neither exists yet: the same name once links and dots are resolved.
  std::error_code error;
  const fs::path x = fs::weakly_canonical(fs::absolute(linkTarget(a), error), error);
  const fs::path y = fs::weakly_canonical(fs::absolute(linkTarget(b), error), error);
  return !x.empty() && x == y;
}

}  // namespace host
