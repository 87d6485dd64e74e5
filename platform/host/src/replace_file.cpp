#include "replace_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <mutex>
#include <set>
#include <string>

#include "host/output_file.h"

namespace host {

namespace {

namespace fs = std::filesystem;

// Scratch names are short whatever the target's name (".zelk<pid>.<16 hex digits>"), so any
// name that fits the folder can be written, and cannot be guessed, so nobody can take them
// first. The pid in them tells a leftover of a dead process from one being written.
constexpr char kScratchPrefix[] = ".zelk";

std::string scratchName() {
  std::uint64_t random = 0;
  if (::getrandom(&random, sizeof random, 0) != sizeof random) {
    random = static_cast<std::uint64_t>(::getpid()) * 0x9E3779B97F4A7C15u ^
             static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(&random));
  }
  char name[64];
  std::snprintf(name, sizeof name, "%s%ld.%016llx", kScratchPrefix, static_cast<long>(::getpid()),
                static_cast<unsigned long long>(random));
  return name;
}

// The pid of a scratch name of ours, 0 for any other name.
long scratchOwner(const char* name) {
  const std::string text(name);
  const std::size_t prefix = sizeof kScratchPrefix - 1;
  if (text.compare(0, prefix, kScratchPrefix) != 0) return 0;
  const std::size_t dot = text.find('.', prefix);
  if (dot == std::string::npos || dot == prefix || text.size() != dot + 17) return 0;
  for (std::size_t i = prefix; i < dot; ++i) {
    if (text[i] < '0' || text[i] > '9') return 0;
  }
  for (std::size_t i = dot + 1; i < text.size(); ++i) {
    if (std::string_view("0123456789abcdef").find(text[i]) == std::string_view::npos) return 0;
  }
  return std::stol(text.substr(prefix, dot - prefix));
}

// Once per folder and process: removes this user's scratch files whose writer has died.
void removeLeftovers(const fs::path& folder) {
  static std::mutex mutex;
  static std::set<fs::path> cleaned;
  {
    std::lock_guard<std::mutex> lock(mutex);
    if (!cleaned.insert(folder).second) return;
  }
  const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd < 0) return;
  DIR* dir = ::fdopendir(dirFd);
  if (dir == nullptr) {
    ::close(dirFd);
    return;
  }
  while (const dirent* entry = ::readdir(dir)) {
    const long pid = scratchOwner(entry->d_name);
    if (pid <= 0 || pid == ::getpid()) continue;
    if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
    struct stat info {};
    if (::fstatat(dirFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode) &&
        info.st_uid == ::geteuid()) {
      ::unlinkat(dirFd, entry->d_name, 0);
    }
  }
  ::closedir(dir);
}

// Created with O_EXCL and mode 0666 so the umask applies as for any new file.
int createScratch(const fs::path& folder, fs::path& scratch) {
  for (int attempt = 0; attempt < 16; ++attempt) {
    scratch = folder / scratchName();
    const int fd =
        ::open(scratch.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

bool syncFolder(const fs::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  // Some file systems cannot sync a folder (EINVAL); the rename stands all the same.
  const bool ok = ::fsync(fd) == 0 || errno == EINVAL;
  ::close(fd);
  return ok;
}

}  // namespace

bool replaceFile(const fs::path& path, const std::function<bool(std::FILE*)>& body) {
  if (path.empty() || !path.has_filename()) return false;
  const fs::path target = linkTarget(path);
  if (target.empty()) return false;
  struct stat old {};
  const bool replacing = ::stat(target.c_str(), &old) == 0;
  if (replacing && (!S_ISREG(old.st_mode) || old.st_uid != ::geteuid())) return false;
  const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
  removeLeftovers(folder);
  fs::path scratch;
  const int fd = createScratch(folder, scratch);
  if (fd < 0) return false;
  if (replacing && ::fchmod(fd, old.st_mode & 07777) != 0) {
    ::close(fd);
    ::unlink(scratch.c_str());
    return false;
  }
  std::FILE* stream = ::fdopen(fd, "wb");
  if (stream == nullptr) {
    ::close(fd);
    ::unlink(scratch.c_str());
    return false;
  }
  bool ok = body(stream);
  ok = std::fflush(stream) == 0 && ok;
  ok = std::ferror(stream) == 0 && ok;
  ok = ok && ::fsync(fd) == 0;
  ok = std::fclose(stream) == 0 && ok;
  if (ok) ok = ::rename(scratch.c_str(), target.c_str()) == 0;
  if (!ok) {
    ::unlink(scratch.c_str());
    return false;
  }
  return syncFolder(folder);
}

}  // namespace host
