// Reads arbitrary bytes as a recording, the way the wave input reads a file given to --input:
// whatever format, rate and channel count the header claims, the source either refuses the
// file with an AudioError or delivers a bounded number of samples.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "xvtools/audio_source.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const int fd = memfd_create("fuzz_audio_file", 0);
  if (fd < 0) return 0;
  std::size_t written = 0;
  while (written < size) {
    const ssize_t n = write(fd, data + written, size - written);
    if (n <= 0) break;
    written += static_cast<std::size_t>(n);
  }
  const std::string path = "/proc/self/fd/" + std::to_string(fd);
  try {
    auto source =
        xvtools::openAudioSource(xvtools::InputSpec{xvtools::InputSpec::Kind::File, path, 1}, 8000);
    std::vector<std::int16_t> buffer(4000);
    // At most 256 output samples per input byte: the largest rate ratio accepted, and no format
    // stores a frame in less than a byte... except compressed ones, hence the generous cap.
    const std::size_t cap = 4096 * (size + 64);
    std::size_t total = 0;
    while (!source->atEnd()) {
      const std::size_t n = source->read(buffer);
      total += n;
      if (n < buffer.size() && !source->atEnd()) std::abort();  // short read before the end
      if (total > cap) std::abort();
    }
  } catch (const xvtools::AudioError&) {
  }
  close(fd);
  return 0;
}
