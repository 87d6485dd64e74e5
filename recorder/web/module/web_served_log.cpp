#include "web_served_log.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>

namespace recorder::web::module {

namespace {

struct FilePrefix {
  std::shared_ptr<util::Descriptor> file;
  std::uint64_t size;
  std::uint64_t at = 0;
  const std::atomic<bool>* stopping;
  const std::atomic<bool>* gone;
  std::chrono::steady_clock::time_point deadline;
};

ssize_t readPrefix(void* cookie, char* buffer, std::size_t length) {
  auto& f = *static_cast<FilePrefix*>(cookie);
  if (*f.stopping || (f.gone != nullptr && *f.gone) || f.at >= f.size ||
      std::chrono::steady_clock::now() > f.deadline) {
    return 0;
  }
  const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(length, f.size - f.at));
  ssize_t n = 0;
  do {
    n = ::pread(f.file->get(), buffer, want, static_cast<off_t>(f.at));
  } while (n < 0 && errno == EINTR);
  if (n > 0) f.at += static_cast<std::uint64_t>(n);
  return n;
}

int seekPrefix(void* cookie, off64_t* offset, int whence) {
  auto& f = *static_cast<FilePrefix*>(cookie);
  const std::int64_t base = whence == SEEK_SET   ? 0
                            : whence == SEEK_CUR ? static_cast<std::int64_t>(f.at)
                                                 : static_cast<std::int64_t>(f.size);
  const std::int64_t to = base + *offset;
  if (to < 0) return -1;
  f.at = static_cast<std::uint64_t>(to);
  *offset = to;
  return 0;
}

int closePrefix(void* cookie) {
  delete static_cast<FilePrefix*>(cookie);
  return 0;
}

}  // namespace

std::shared_ptr<util::Descriptor> openServedLog(const ServedLog& log, struct stat& info) {
  auto file = std::make_shared<util::Descriptor>(
      ::open(log.path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (!*file) return nullptr;
  if (::fstat(file->get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_dev != log.device ||
      info.st_ino != log.inode) {
    return nullptr;
  }
  return file;
}

std::uint64_t wholeLinesEnd(int fd, std::uint64_t size) {
  std::array<char, 4096> piece{};
  for (std::uint64_t end = size; end > 0;) {
    const std::uint64_t from = end > piece.size() ? end - piece.size() : 0;
    ssize_t n = 0;
    do {
      n = ::pread(fd, piece.data(), end - from, static_cast<off_t>(from));
    } while (n < 0 && errno == EINTR);
    if (n <= 0) return 0;
    for (auto i = static_cast<std::size_t>(n); i > 0; --i) {
      if (piece[i - 1] == '\n') return from + i;
    }
    end = from;
  }
  return 0;
}

std::FILE* openFilePrefix(std::shared_ptr<util::Descriptor> file, std::uint64_t size,
                          const std::atomic<bool>& stopping, const std::atomic<bool>* gone,
                          std::chrono::steady_clock::time_point deadline) {
  auto* cookie = new FilePrefix{std::move(file), size, 0, &stopping, gone, deadline};
  std::FILE* stream = ::fopencookie(cookie, "r", {readPrefix, nullptr, seekPrefix, closePrefix});
  if (stream == nullptr) delete cookie;
  return stream;
}

}  // namespace recorder::web::module
