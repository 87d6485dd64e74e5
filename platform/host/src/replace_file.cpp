#include "replace_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <string>

namespace host {

namespace {

std::atomic<unsigned> scratchCounter{0};

// Created with O_EXCL and mode 0666 so the umask applies as for any new file.
int createScratch(const std::filesystem::path& target, std::filesystem::path& scratch) {
  const std::filesystem::path folder = target.parent_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    // Appended piece by piece: g++ 12 at -O3 misreads "." + string as an overlapping copy.
    std::string name = ".";
    name += target.filename().string();
    name += ".part";
    name += std::to_string(::getpid());
    name += '-';
    name += std::to_string(scratchCounter.fetch_add(1));
    scratch = folder.empty() ? std::filesystem::path(name) : folder / name;
    const int fd = ::open(scratch.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

bool replaceFile(const std::filesystem::path& path, const std::function<bool(std::FILE*)>& body) {
  if (path.empty() || !path.has_filename()) return false;
  std::filesystem::path scratch;
  const int fd = createScratch(path, scratch);
  if (fd < 0) return false;
  std::FILE* stream = ::fdopen(fd, "wb");
  if (stream == nullptr) {
    ::close(fd);
    ::unlink(scratch.c_str());
    return false;
  }
  bool ok = body(stream);
  ok = std::fflush(stream) == 0 && ok;
  ok = std::ferror(stream) == 0 && ok;
  ok = std::fclose(stream) == 0 && ok;
  if (ok) ok = ::rename(scratch.c_str(), path.c_str()) == 0;
  if (!ok) ::unlink(scratch.c_str());
  return ok;
}

}  // namespace host
