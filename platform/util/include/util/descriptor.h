// An open file descriptor that is closed when its owner goes: the one owner every layer uses
// for the files it opens with the system calls themselves.
#pragma once

#include <unistd.h>

#include <utility>

namespace util {

class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() { reset(-1); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;

  void reset(int fd) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }
  int get() const { return fd_; }
  // Hands the descriptor to another owner, which closes it.
  int release() { return std::exchange(fd_, -1); }
  explicit operator bool() const { return fd_ >= 0; }

 private:
  int fd_;
};

}  // namespace util
