// One client connection of the web view, read and written under deadlines that bound a whole
// request and a whole answer, not only each wait: a client that trickles its bytes one at a
// time cannot hold a worker for longer than those. A request's head is read into a buffer of a
// fixed size and checked before httplib parses it; httplib reads nothing past it.
#pragma once

#include <httplib.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "web_request_head.h"

namespace recorder::web::module {

struct ConnectionLimits {
  std::chrono::milliseconds wait;     // for each read or write to make some progress
  std::chrono::milliseconds idle;     // between one answer and the next request's first byte
  std::chrono::milliseconds request;  // from a request's first byte to its last
  std::chrono::milliseconds answer;   // from an answer's first byte to its last
};

// How a connection kept alive between two requests is shared out: it is marked idle while it
// waits, and given up when `release` says so.
struct IdleHooks {
  std::function<void(bool idle)> mark = [](bool) {};
  std::function<bool()> release = [] { return false; };
};

class TimedConnection final : public httplib::Stream {
 public:
  using Clock = std::chrono::steady_clock;

  TimedConnection(int fd, const ConnectionLimits& limits, const std::atomic<bool>& stopping)
      : fd_(fd), limits_(limits), stopping_(stopping) {}

  // Waits for the next request's first byte and starts its clock; false when none comes in
  // time, the hooks ask for the connection back, or the server stops.
  bool awaitRequest(const IdleHooks& hooks);
  // Reads the request's head: 0 once it is whole, -1 when the client went away or the server
  // stops, 408 when it takes too long, else the status it is refused with as soon as a limit is
  // passed.
  int readHead();
  std::string_view head() const { return {buffer_.data(), headEnd_}; }
  // After an answer: what came after the head is the next request's beginning.
  void nextRequest();
  bool sendAll(std::string_view bytes);

  // httplib tried to read past the head, or the answer refused the request: the connection
  // ends after the answer.
  bool spent() const { return spent_ || refused_; }
  bool refused() const { return refused_; }

  bool is_readable() const override;
  bool is_writable() const override;
  ssize_t read(char* ptr, std::size_t size) override;
  ssize_t write(const char* ptr, std::size_t size) override;
  void get_remote_ip_and_port(std::string& ip, int& port) const override;
  void get_local_ip_and_port(std::string& ip, int& port) const override;
  int socket() const override { return fd_; }

 private:
  // Whether the socket is ready for `events` before the deadline or the wait limit, whichever
  // comes first; false at once when the server stops.
  bool ready(short events, Clock::time_point deadline) const;

  int fd_;
  ConnectionLimits limits_;
  const std::atomic<bool>& stopping_;
  Clock::time_point requestDeadline_{};
  Clock::time_point answerDeadline_{};
  bool answering_ = false;
  bool spent_ = false;
  bool refused_ = false;
  std::array<char, kMaxHead> buffer_{};
  std::size_t filled_ = 0;   // bytes received
  std::size_t headEnd_ = 0;  // the head's length, once whole
  std::size_t begin_ = 0;    // what httplib has read of it
};

// httplib's request parsing and answers, over connections the web view's listener accepts.
class TimedServer final : public httplib::Server {
 public:
  TimedServer(const ConnectionLimits& limits, const std::atomic<bool>& stopping)
      : limits_(limits), stopping_(stopping) {}
  void setHosts(HostNames hosts) { hosts_ = std::move(hosts); }
  // httplib writes an answer's content only while it holds a listening socket: the listener's,
  // until the server stops (then -1), which ends answers being written.
  void setListening(int fd) { svr_sock_ = fd; }

  // Answers the connection's requests until it ends; true when one was refused, so that the
  // caller closes it once the client has had the time to read why.
  bool serve(int fd, const IdleHooks& hooks);

 private:
  ConnectionLimits limits_;
  const std::atomic<bool>& stopping_;
  HostNames hosts_;
};

}  // namespace recorder::web::module
