// The web view's listening socket and its connections until a worker takes them: a port of its
// own (never shared with another program), a deep backlog, a cap on the connections open in all
// and from any one address, and a refusal (503, Retry-After) rather than silence when every
// worker is busy. A connection reaches a worker only once its first bytes have come, so clients
// that connect and say nothing hold no worker. Connections of an address over its share wait,
// without a worker, for one of that address's to end.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace recorder::web::module {

struct ListenerLimits {
  int workers = 8;
  int backlog = 128;
  std::size_t open = 256;    // connections open in all, refused ones closing included
  std::size_t queued = 128;  // connections whose request waits for a worker
  int perAddress = 8;        // connections served from one client address; more wait their turn
  std::chrono::milliseconds firstByte{3000};  // from the connection to its request's first byte
  std::chrono::milliseconds queuedFor{2000};  // the longest wait for a worker
  std::chrono::milliseconds closing{1000};    // after a refusal, for the client to read it
};

class WebListener {
 public:
  // A worker's turn with a connection: true when it was refused and is to be closed once the
  // client has had the time to read why (its further bytes are discarded, not read).
  using Serve = std::function<bool(int fd, const std::string& address)>;

  WebListener(const ListenerLimits& limits, std::string busyAnswer);
  ~WebListener();

  // Binds and listens; "" or why not, with errno set.
  std::string bind(const std::string& host, int port);
  int port() const { return port_; }
  int socket() const { return socket_; }

  void start(Serve serve);
  // Stops accepting, lets the workers end their connections (each notices within a moment) and
  // closes every socket. Safe to call twice.
  void stop();
  const std::atomic<bool>& stopping() const { return stopping_; }

  // For a worker waiting on a kept-alive connection: whether to give it up now, because other
  // requests wait for a worker or its address has more connections open than it may.
  bool shouldRelease(const std::string& address) const;
  // Marks a connection of `address` as idle between two requests, or no longer.
  void markIdle(const std::string& address, bool idle);

 private:
  using Clock = std::chrono::steady_clock;
  struct Waiting {
    int fd = -1;
    std::string address;
    Clock::time_point since{};
  };
  struct PerAddress {
    int open = 0;
    int idle = 0;
    int held = 0;
  };

  void accepting();
  void working();
  void acceptAll();  // with the lock held
  // Sends the busy answer and keeps the socket for a moment so that the client reads it.
  void refuse(int fd);
  void closed(const std::string& address);  // with the lock held
  void admitHeld(Clock::time_point now);    // with the lock held
  void linger(int fd);                      // with the lock held

  const ListenerLimits limits_;
  const std::string busyAnswer_;
  int socket_ = -1;
  int port_ = 0;
  Serve serve_;
  std::atomic<bool> stopping_{false};
  bool started_ = false;
  std::thread acceptor_;
  std::vector<std::thread> workers_;

  mutable std::mutex mutex_;
  std::condition_variable ready_;
  std::vector<Waiting> pending_;  // no byte yet; the accepting thread's own
  std::deque<Waiting> queued_;    // a request has come; for the workers
  std::vector<Waiting> closing_;  // refused, closing once read or after a moment
  std::deque<Waiting> held_;      // over their address's share, waiting for one of its to end
  std::map<std::string, PerAddress> addresses_;
  std::size_t open_ = 0;
};

}  // namespace recorder::web::module
