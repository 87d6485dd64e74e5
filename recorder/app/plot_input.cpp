#include "plot_input.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace recorder::app {

std::string rereadablePath(const std::string& path,
                           std::vector<std::unique_ptr<util::Descriptor>>& copies,
                           std::string& error) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || S_ISREG(info.st_mode)) return path;
  util::Descriptor in(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (in.get() < 0) return path;
  auto copy = std::make_unique<util::Descriptor>(::memfd_create("zelkchart-plot", MFD_CLOEXEC));
  if (copy->get() < 0) {
    error = "cannot keep a copy of " + path;
    return {};
  }
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(in.get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = "cannot read " + path;
      return {};
    }
    if (n == 0) break;
    for (ssize_t done = 0; done < n;) {
      const ssize_t w = ::write(copy->get(), buffer + done, static_cast<std::size_t>(n - done));
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) {
        error = "cannot keep a copy of " + path;
        return {};
      }
      done += w;
    }
  }
  const std::string copied = "/proc/self/fd/" + std::to_string(copy->get());
  copies.push_back(std::move(copy));
  return copied;
}

}  // namespace recorder::app
