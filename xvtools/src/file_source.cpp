#include "file_source.h"

#include <fcntl.h>
#include <poll.h>
#include <sndfile.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <thread>

namespace xvtools {

namespace {

constexpr int kWatchMs = 100;

// The frames a RIFF WAVE file's header promises: its data chunk's size over the frame size.
// Empty for other files and for a size left open (0 or all ones, as streaming writers leave it).
std::optional<std::uint64_t> framesInWavHeader(int fd) {
  std::array<unsigned char, 4096> head{};
  const ssize_t n = ::pread(fd, head.data(), head.size(), 0);
  if (n < 12 || std::memcmp(head.data(), "RIFF", 4) != 0 ||
      std::memcmp(head.data() + 8, "WAVE", 4) != 0) {
    return std::nullopt;
  }
  auto u32 = [&head](std::size_t at) {
    return std::uint32_t(head[at]) | std::uint32_t(head[at + 1]) << 8 |
           std::uint32_t(head[at + 2]) << 16 | std::uint32_t(head[at + 3]) << 24;
  };
  std::uint32_t blockAlign = 0;
  for (std::size_t at = 12; at + 8 <= static_cast<std::size_t>(n);) {
    const std::uint32_t size = u32(at + 4);
    if (std::memcmp(head.data() + at, "fmt ", 4) == 0 && at + 22 <= static_cast<std::size_t>(n))
      blockAlign = std::uint32_t(head[at + 20]) | std::uint32_t(head[at + 21]) << 8;
    if (std::memcmp(head.data() + at, "data", 4) == 0) {
      if (blockAlign == 0 || size == 0 || size == 0xFFFFFFFFu) return std::nullopt;
      return size / blockAlign;
    }
    at += 8 + std::size_t(size) + (size & 1);
  }
  return std::nullopt;
}

}  // namespace

// Copies a pipe into a socket libsndfile reads as a pipe, waiting a tenth of a second at a time
// so that the stop flag, or the source going away, ends the copy; ending it ends what libsndfile
// reads.
class PipeRelay {
 public:
  PipeRelay(int input, const std::atomic<bool>* stop) : input_(input), stop_(stop) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends_.data()) != 0) {
      const int error = errno;
      ::close(input_);
      throw AudioError(std::strerror(error));
    }
    thread_ = std::thread([this] { run(); });
  }
  ~PipeRelay() {
    closing_ = true;
    thread_.join();
    ::close(ends_[0]);
    ::close(input_);
  }
  PipeRelay(const PipeRelay&) = delete;
  PipeRelay& operator=(const PipeRelay&) = delete;

  int readEnd() const { return ends_[0]; }

 private:
  bool stopping() const { return closing_ || (stop_ != nullptr && *stop_); }
  // Waits until fd is ready for events; false when the relay is to stop.
  bool wait(int fd, short events) const {
    while (!stopping()) {
      pollfd p{fd, events, 0};
      const int n = ::poll(&p, 1, kWatchMs);
      if (n > 0) return true;
      if (n < 0 && errno != EINTR) return false;
    }
    return false;
  }
  void run() {
    std::array<char, 16384> buffer;
    for (;;) {
      if (!wait(input_, POLLIN)) break;
      const ssize_t n = ::read(input_, buffer.data(), buffer.size());
      if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
      if (n <= 0) break;
      ssize_t sent = 0;
      while (sent < n && wait(ends_[1], POLLOUT)) {
        const ssize_t m = ::send(ends_[1], buffer.data() + sent, static_cast<std::size_t>(n - sent),
                                 MSG_NOSIGNAL | MSG_DONTWAIT);
        if (m > 0) {
          sent += m;
        } else if (errno != EINTR && errno != EAGAIN) {
          break;
        }
      }
      if (sent < n) break;
    }
    // The reader sees the end of the recording.
    ::close(ends_[1]);
  }

  int input_;
  const std::atomic<bool>* stop_;
  std::array<int, 2> ends_{-1, -1};
  std::atomic<bool> closing_{false};
  std::thread thread_;
};

FileSource::FileSource(const std::string& path, int sampleRate, const std::atomic<bool>* stop)
    : path_(path) {
  SF_INFO info{};
  struct stat status {};
  if (::stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode) && !S_ISDIR(status.st_mode)) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw AudioError("cannot read audio file '" + path + "': " + std::strerror(errno));
    relay_ = std::make_unique<PipeRelay>(fd, stop);
    file_ = sf_open_fd(relay_->readEnd(), SFM_READ, &info, SF_FALSE);
  } else {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw AudioError("cannot read audio file '" + path + "': " + std::strerror(errno));
    const auto promised = framesInWavHeader(fd);
    file_ = sf_open_fd(fd, SFM_READ, &info, SF_TRUE);
    if (file_ != nullptr && info.samplerate > 0 && info.frames >= 0) {
      length_ = static_cast<double>(info.frames) / info.samplerate;
      // A recording cut short (a full disk, a copy broken off) holds less than its header says.
      if (promised && *promised > static_cast<std::uint64_t>(info.frames)) {
        char text[160];
        std::snprintf(text, sizeof text,
                      "its header says %.1f s but it holds %.1f s (cut short?); reading what is "
                      "there",
                      static_cast<double>(*promised) / info.samplerate, *length_);
        warning_ = path + ": " + text;
      }
    }
  }
  if (file_ == nullptr) {
    throw AudioError("cannot read audio file '" + path + "': " + sf_strerror(nullptr));
  }
  try {
    // 16-bit samples stored in the machine's byte order are taken as they are, without the
    // library's conversion to floats.
    const bool plain16 = (info.format & SF_FORMAT_SUBMASK) == SF_FORMAT_PCM_16 &&
                         info.channels > 0 &&
                         sf_command(file_, SFC_RAW_DATA_NEEDS_ENDSWAP, nullptr, 0) == SF_FALSE;
    if (plain16) {
      const auto frameBytes = static_cast<sf_count_t>(sizeof(std::int16_t)) * info.channels;
      resampler_ = std::make_unique<MonoResampler>(
          info.samplerate, info.channels, sampleRate,
          [this, frameBytes](std::int16_t* interleaved, std::size_t maxFrames) -> std::size_t {
            const sf_count_t n =
                sf_read_raw(file_, interleaved, static_cast<sf_count_t>(maxFrames) * frameBytes);
            // A frame cut off by the end of the file is not one.
            return n > 0 ? static_cast<std::size_t>(n / frameBytes) : 0;
          });
      // A file on disk is read and its rate lowered partly on a second core.
      if (relay_ == nullptr) resampler_->convertAhead();
    } else {
      resampler_ = std::make_unique<MonoResampler>(
          info.samplerate, info.channels, sampleRate,
          [this](float* interleaved, std::size_t maxFrames) -> std::size_t {
            const sf_count_t n =
                sf_readf_float(file_, interleaved, static_cast<sf_count_t>(maxFrames));
            return n > 0 ? static_cast<std::size_t>(n) : 0;
          });
    }
  } catch (const AudioError& e) {
    sf_close(file_);
    throw AudioError("cannot read audio file '" + path + "': " + e.what());
  }
}

FileSource::~FileSource() {
  // The resampler may be reading the file on a thread of its own: it goes first.
  resampler_.reset();
  sf_close(file_);
}

std::size_t FileSource::read(std::span<std::int16_t> samples) { return resampler_->read(samples); }

}  // namespace xvtools
