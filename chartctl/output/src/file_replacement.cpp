#include "file_replacement.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace kvplotax::output {

namespace {

class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() { close(); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;

  void reset(int fd) {
    close();
    fd_ = fd;
  }
  int get() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }
  // False when the close reports a failure (a write that never reached the disk).
  bool close() {
    if (fd_ < 0) return true;
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

// The file-creation mask, read without changing it: umask() would change it for every thread
// of the process for a moment.
mode_t creationMask() {
  constexpr mode_t kUsual = 022;
  std::FILE* status = std::fopen("/proc/self/status", "re");
  if (!status) return kUsual;
  mode_t mask = kUsual;
  char line[128];
  while (std::fgets(line, sizeof line, status)) {
    unsigned value = 0;
    if (std::sscanf(line, "Umask: %o", &value) == 1) {
      mask = static_cast<mode_t>(value & 0777);
      break;
    }
  }
  std::fclose(status);
  return mask;
}

bool writeAll(int fd, std::span<const std::uint8_t> bytes) {
  const std::uint8_t* data = bytes.data();
  std::size_t size = bytes.size();
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
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

bool replaceFileWhole(const std::string& path,
                      std::span<const std::span<const std::uint8_t>> pieces) {
  if (path.empty() || path.back() == '/' || path.find('\0') != std::string::npos) return false;
  const std::size_t slash = path.rfind('/');
  const std::string folderPath =
      slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name == "." || name == "..") return false;
  const Descriptor folder(::open(folderPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!folder) return false;

  mode_t mode = 0666 & ~creationMask();
  gid_t group = static_cast<gid_t>(-1);
  Descriptor target;
  struct stat seen {};
  if (::fstatat(folder.get(), name.c_str(), &seen, AT_SYMLINK_NOFOLLOW) == 0) {
    if (!S_ISREG(seen.st_mode) || seen.st_uid != ::geteuid()) return false;
    // Opened without following a link and without waiting on a FIFO swapped in since; it must
    // be the file that was looked at.
    target.reset(::openat(folder.get(), name.c_str(),
                          O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat opened {};
    if (!target || ::fstat(target.get(), &opened) != 0 || opened.st_dev != seen.st_dev ||
        opened.st_ino != seen.st_ino || !lockExclusively(target.get()))
      return false;
    mode = seen.st_mode & 0777;
    group = seen.st_gid;
  } else if (errno != ENOENT) {
    return false;
  }

  std::string scratchPath = folderPath + "/.kvplotax-XXXXXX";
  Descriptor scratch(::mkostemp(scratchPath.data(), O_CLOEXEC));
  if (!scratch) return false;
  const std::string scratchName = scratchPath.substr(scratchPath.rfind('/') + 1);
  // The group first: changing it may clear bits the mode then sets.
  if (group != static_cast<gid_t>(-1) &&
      ::fchown(scratch.get(), static_cast<uid_t>(-1), group) != 0) {
    // A group the writer is not in: the file stays in the writer's own group.
  }
  bool ok = ::fchmod(scratch.get(), mode) == 0;
  for (const std::span<const std::uint8_t> piece : pieces)
    ok = ok && writeAll(scratch.get(), piece);
  ok = ok && ::fsync(scratch.get()) == 0;
  ok = scratch.close() && ok;
  ok = ok && renameInto(folder.get(), scratchName.c_str(), name.c_str(), static_cast<bool>(target));
  if (!ok) {
    ::unlinkat(folder.get(), scratchName.c_str(), 0);
    return false;
  }
  // The new name reaches the disk with the folder.
  ::fsync(folder.get());
  return true;
}

}  // namespace kvplotax::output
