// One client connection of the web view, read and written under deadlines that bound a whole
// request and a whole answer, not only each wait: a client that trickles its bytes one at a
// time cannot hold a worker for longer than those.
#pragma once

#include <httplib.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <string>

namespace recorder::app {

struct ConnectionLimits {
  std::chrono::milliseconds wait;     // for each read or write to make some progress
  std::chrono::milliseconds idle;     // between one answer and the next request's first byte
  std::chrono::milliseconds request;  // from a request's first byte to its last
  std::chrono::milliseconds answer;   // from an answer's first byte to its last
};

class TimedConnection final : public httplib::Stream {
 public:
  using Clock = std::chrono::steady_clock;

  TimedConnection(int fd, const ConnectionLimits& limits) : fd_(fd), limits_(limits) {}

  // Waits for the next request's first byte and starts its clock; false when none comes in
  // time or `listening` no longer holds a socket because the server stops.
  bool awaitRequest(const std::atomic<int>& listening);

  // A read failed or found the end: what is left of the request cannot be told from a next
  // one, so the connection ends after its answer.
  bool spent() const { return spent_; }

  bool is_readable() const override;
  bool is_writable() const override;
  ssize_t read(char* ptr, std::size_t size) override;
  ssize_t write(const char* ptr, std::size_t size) override;
  void get_remote_ip_and_port(std::string& ip, int& port) const override;
  void get_local_ip_and_port(std::string& ip, int& port) const override;
  int socket() const override { return fd_; }

 private:
  // Whether the socket is ready for `events` before the deadline or the wait limit, whichever
  // comes first.
  bool ready(short events, Clock::time_point deadline) const;

  int fd_;
  ConnectionLimits limits_;
  Clock::time_point requestDeadline_{};
  Clock::time_point answerDeadline_{};
  bool answering_ = false;
  bool spent_ = false;
  std::array<char, 4096> buffer_{};
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
};

// httplib's server, its connections read and written through TimedConnection.
class TimedServer final : public httplib::Server {
 public:
  explicit TimedServer(const ConnectionLimits& limits) : limits_(limits) {}

 private:
  bool process_and_close_socket(int sock) override;

  ConnectionLimits limits_;
};

}  // namespace recorder::app
