#include "util/replace_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "util/descriptor.h"
#include "util/text.h"

namespace util {

namespace {

namespace fs = std::filesystem;

// Scratch names are short whatever the target's name (".zelk<pid>.<16 hex digits>"), so any name
// that fits the folder can be written, and cannot be guessed, so nobody can take them first. The
// pid in them tells a leftover of a dead writer from one being written.
constexpr std::string_view kScratchPrefix = ".zelk";

std::string scratchName() {
  std::uint64_t random = 0;
  if (::getrandom(&random, sizeof random, 0) != sizeof random) {
    random = static_cast<std::uint64_t>(::getpid()) * 0x9E3779B97F4A7C15u ^
             static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(&random));
  }
  char name[64];
  std::snprintf(name, sizeof name, ".zelk%ld.%016llx", static_cast<long>(::getpid()),
                static_cast<unsigned long long>(random));
  return name;
}

// The pid of a scratch name of ours, 0 for any other name.
long scratchOwner(std::string_view name) {
  if (!name.starts_with(kScratchPrefix)) return 0;
  name.remove_prefix(kScratchPrefix.size());
  const std::size_t dot = name.find('.');
  if (dot == std::string_view::npos || dot == 0 || dot > 9 || name.size() != dot + 17) return 0;
  long pid = 0;
  for (std::size_t i = 0; i < dot; ++i) {
    if (name[i] < '0' || name[i] > '9') return 0;
    pid = pid * 10 + (name[i] - '0');
  }
  for (const char c : name.substr(dot + 1)) {
    if (hexDigitValue(c) < 0) return 0;
  }
  return pid;
}

void removeLeftovers(int folder) {
  const int listFd = ::dup(folder);
  if (listFd < 0) return;
  DIR* dir = ::fdopendir(listFd);
  if (dir == nullptr) {
    ::close(listFd);
    return;
  }
  while (const dirent* entry = ::readdir(dir)) {
    const long pid = scratchOwner(entry->d_name);
    if (pid <= 0 || pid == ::getpid()) continue;
    if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
    struct stat info {};
    if (::fstatat(folder, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISREG(info.st_mode) && info.st_uid == ::geteuid()) {
      ::unlinkat(folder, entry->d_name, 0);
    }
  }
  ::closedir(dir);
}

// Takes both kinds of lock on the whole file, as an exclusive share would; false when another
// process (or another open of the file) holds either.
bool lockExclusively(int fd) {
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) return false;
  struct flock whole {};
  whole.l_type = F_WRLCK;
  whole.l_whence = SEEK_SET;
  return ::fcntl(fd, F_OFD_SETLK, &whole) == 0;
}

// Gives the new file the old one's group and mode. Where the group cannot be kept, the group's
// access is dropped rather than handed to another group.
bool takeOver(int fd, const struct stat& old) {
  mode_t mode = old.st_mode & 07777;
  struct stat now {};
  if (::fstat(fd, &now) != 0) return false;
  if (now.st_gid != old.st_gid && ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0) {
    mode &= ~static_cast<mode_t>(S_IRWXG | S_ISGID);
  }
  return ::fchmod(fd, mode) == 0;
}

bool renameInto(int folder, const char* from, const char* to, bool replacing) {
  if (replacing) return ::renameat(folder, from, folder, to) == 0;
  // A file that appeared at the name since it was looked at is not replaced unseen.
  if (::renameat2(folder, from, folder, to, RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL) return false;
  // A file system without that flag: link and unlink fail in the same case.
  if (::linkat(folder, from, folder, to, 0) != 0) return false;
  ::unlinkat(folder, from, 0);
  return true;
}

}  // namespace

ReplaceResult FileReplacement::begin(const fs::path& target, const ReplaceOptions& options) {
  abandon();
  if (!target.has_filename() || target.filename() == "." || target.filename() == ".." ||
      target.native().find('\0') != std::string::npos)
    return ReplaceResult::kFailed;
  const fs::path folderPath = target.has_parent_path() ? target.parent_path() : fs::path(".");
  name_ = target.filename().string();
  Descriptor folder(::open(folderPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!folder) return ReplaceResult::kFailed;

  struct stat old {};
  replacing_ = ::fstatat(folder.get(), name_.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0;
  if (!replacing_ && errno != ENOENT) return ReplaceResult::kFailed;
  if (replacing_ && !S_ISREG(old.st_mode)) return ReplaceResult::kNotRegularFile;
  if (replacing_ && old.st_uid != ::geteuid()) return ReplaceResult::kOtherUsersFile;
  // Held until the rename, so the lock covers the whole replacement.
  Descriptor locked;
  if (replacing_ && options.refuseLocked) {
    // Opened without following a link and without waiting on a FIFO swapped in since; it must be
    // the file that was looked at.
    locked.reset(::openat(folder.get(), name_.c_str(),
                          O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat opened {};
    if (!locked || ::fstat(locked.get(), &opened) != 0 || opened.st_dev != old.st_dev ||
        opened.st_ino != old.st_ino)
      return ReplaceResult::kFailed;
    if (!lockExclusively(locked.get())) return ReplaceResult::kLocked;
  }
  removeLeftovers(folder.get());

  Descriptor fd;
  for (int attempt = 0; !fd && attempt < 16; ++attempt) {
    scratch_ = scratchName();
    fd.reset(::openat(folder.get(), scratch_.c_str(),
                      O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, options.newFileMode));
    if (!fd && errno != EEXIST) return ReplaceResult::kFailed;
  }
  if (!fd) return ReplaceResult::kFailed;
  if ((replacing_ && !takeOver(fd.get(), old)) || (stream_ = ::fdopen(fd.get(), "wb")) == nullptr) {
    ::unlinkat(folder.get(), scratch_.c_str(), 0);
    return ReplaceResult::kFailed;
  }
  fd.release();
  folder_ = folder.release();
  locked_ = locked.release();
  return ReplaceResult::kReplaced;
}

void FileReplacement::abandon() {
  if (stream_ != nullptr) {
    std::fclose(stream_);
    stream_ = nullptr;
    ::unlinkat(folder_, scratch_.c_str(), 0);
  }
  if (folder_ >= 0) ::close(std::exchange(folder_, -1));
  if (locked_ >= 0) ::close(std::exchange(locked_, -1));
}

ReplaceResult FileReplacement::commit() {
  if (stream_ == nullptr) return ReplaceResult::kFailed;
  std::FILE* stream = std::exchange(stream_, nullptr);
  const int streamFd = ::fileno(stream);
  bool ok = std::fflush(stream) == 0;
  ok = std::ferror(stream) == 0 && ok;
  ok = ok && ::fsync(streamFd) == 0;
  ok = std::fclose(stream) == 0 && ok;
  ok = ok && renameInto(folder_, scratch_.c_str(), name_.c_str(), replacing_);
  if (!ok) ::unlinkat(folder_, scratch_.c_str(), 0);
  // Some file systems cannot sync a folder (EINVAL); the rename stands all the same.
  const bool synced = !ok || ::fsync(folder_) == 0 || errno == EINVAL;
  abandon();
  if (!ok) return ReplaceResult::kFailed;
  return synced ? ReplaceResult::kReplaced : ReplaceResult::kReplacedFolderNotSynced;
}

ReplaceResult replaceFile(const fs::path& target, const std::function<bool(std::FILE*)>& write,
                          const ReplaceOptions& options) {
  FileReplacement replacement;
  const ReplaceResult started = replacement.begin(target, options);
  if (started != ReplaceResult::kReplaced) return started;
  if (!write(replacement.stream())) return ReplaceResult::kFailed;
  return replacement.commit();
}

}  // namespace util
