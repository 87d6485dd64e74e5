#include "apps/designed_chart.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "forms_folder.h"
#include "util/descriptor.h"

namespace apps {

namespace {

std::string limitText(std::size_t bytes) {
  return bytes >= (1u << 20) ? std::to_string(bytes >> 20) + " MiB"
                             : std::to_string(bytes >> 10) + " KiB";
}

}  // namespace

std::string readSettingsFile(const std::filesystem::path& file) {
  const std::string name = file.string();
  auto fail = [&name](const std::string& why) {
    return SettingsError("the settings file " + name + " " + why);
  };
  // Non-blocking, so that a FIFO planted in the settings' place cannot stall the program.
  const util::Descriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.get() < 0) throw fail(std::string("cannot be read: ") + std::strerror(errno));
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) throw fail("is not a regular file");
  if (static_cast<std::uintmax_t>(info.st_size) > kMaxSettingsBytes)
    throw fail("is larger than " + limitText(kMaxSettingsBytes));
  // The size is checked again while reading: the file may grow after the look.
  std::string text;
  text.resize(kMaxSettingsBytes + 1);
  std::size_t have = 0;
  while (have < text.size()) {
    const ssize_t got = ::read(fd.get(), text.data() + have, text.size() - have);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) throw fail(std::string("cannot be read: ") + std::strerror(errno));
    if (got == 0) break;
    have += static_cast<std::size_t>(got);
  }
  if (have > kMaxSettingsBytes) throw fail("is larger than " + limitText(kMaxSettingsBytes));
  text.resize(have);
  std::size_t lineStart = 0;
  for (std::size_t at = 0; at <= text.size(); ++at) {
    if (at == text.size() || text[at] == '\n') {
      if (at - lineStart > kMaxSettingsLineBytes)
        throw fail("has a line longer than " + limitText(kMaxSettingsLineBytes));
      lineStart = at + 1;
    }
  }
  return text;
}

std::filesystem::path designedChartFile(const std::string& name) { return zelk::formFile(name); }

}  // namespace apps
