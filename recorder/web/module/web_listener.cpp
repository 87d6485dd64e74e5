#include "web_listener.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "web_worker_pool.h"

namespace recorder::web::module {

namespace {

constexpr std::chrono::milliseconds kTick{50};

std::string peerAddress(const sockaddr_storage& address, socklen_t length) {
  char host[NI_MAXHOST] = "";
  ::getnameinfo(reinterpret_cast<const sockaddr*>(&address), length, host, sizeof host, nullptr, 0,
                NI_NUMERICHOST);
  return host;
}

void closeNow(int fd) {
  ::shutdown(fd, SHUT_RDWR);
  ::close(fd);
}

}  // namespace

WebListener::WebListener(const ListenerLimits& limits, std::string busyAnswer)
    : limits_(limits), busyAnswer_(std::move(busyAnswer)) {}

WebListener::~WebListener() {
  stop();
  if (socket_ >= 0) ::close(socket_);
}

std::string WebListener::bind(const std::string& host, int port) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
  addrinfo* found = nullptr;
  const std::string service = std::to_string(port);
  if (const int why = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &found); why != 0) {
    errno = 0;
    return ::gai_strerror(why);
  }
  int error = 0;
  for (const addrinfo* a = found; a != nullptr; a = a->ai_next) {
    const int fd =
        ::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, a->ai_protocol);
    if (fd < 0) {
      error = errno;
      continue;
    }
    // Only to bind again soon after a run; never SO_REUSEPORT, which would let another program
    // share the port and take some of the viewers.
    const int yes = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    if (::bind(fd, a->ai_addr, a->ai_addrlen) == 0 && ::listen(fd, limits_.backlog) == 0) {
      sockaddr_storage bound{};
      socklen_t length = sizeof bound;
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &length);
      port_ = bound.ss_family == AF_INET6
                  ? ntohs(reinterpret_cast<const sockaddr_in6*>(&bound)->sin6_port)
                  : ntohs(reinterpret_cast<const sockaddr_in*>(&bound)->sin_port);
      socket_ = fd;
      break;
    }
    error = errno;
    ::close(fd);
  }
  ::freeaddrinfo(found);
  if (socket_ >= 0) return {};
  errno = error;
  return std::strerror(error);
}

void WebListener::start(Serve serve) {
  serve_ = std::move(serve);
  started_ = true;
  for (int i = 0; i < limits_.workers; ++i) workers_.emplace_back([this] { working(); });
  acceptor_ = std::thread([this] { accepting(); });
}

void WebListener::stop() {
  if (!started_) return;
  started_ = false;
  stopping_ = true;
  acceptor_.join();
  {
    std::lock_guard lock(mutex_);  // no worker is between its check and its wait
  }
  ready_.notify_all();
  for (std::thread& t : workers_) t.join();
  workers_.clear();
  std::lock_guard lock(mutex_);
  for (auto* list : {&pending_, &closing_}) {
    for (const Waiting& w : *list) closeNow(w.fd);
    list->clear();
  }
  for (auto* list : {&queued_, &held_}) {
    for (const Waiting& w : *list) closeNow(w.fd);
    list->clear();
  }
}

bool WebListener::shouldRelease(const std::string& address) const {
  std::lock_guard lock(mutex_);
  const auto at = addresses_.find(address);
  return !queued_.empty() || (at != addresses_.end() && at->second.open > limits_.perAddress);
}

void WebListener::markIdle(const std::string& address, bool idle) {
  std::lock_guard lock(mutex_);
  addresses_[address].idle += idle ? 1 : -1;
}

void WebListener::closed(const std::string& address) {
  --open_;
  const auto at = addresses_.find(address);
  if (at != addresses_.end() && --at->second.open <= 0 && at->second.idle <= 0 &&
      at->second.held <= 0) {
    addresses_.erase(at);
  }
}

void WebListener::admitHeld(Clock::time_point now) {
  for (std::size_t left = held_.size(); left > 0; --left) {
    Waiting w = std::move(held_.front());
    held_.pop_front();
    PerAddress& mine = addresses_[w.address];
    if (mine.open < limits_.perAddress || mine.idle > 0) {
      --mine.held;
      ++mine.open;
      ++open_;
      pending_.push_back({w.fd, std::move(w.address), now});
    } else if (now - w.since > limits_.queuedFor) {
      --mine.held;
      if (mine.open == 0 && mine.idle == 0 && mine.held == 0) addresses_.erase(w.address);
      refuse(w.fd);
    } else {
      held_.push_back(std::move(w));
    }
  }
}

void WebListener::linger(int fd) {
  // The client may still be sending: closing at once would reset the connection and could
  // destroy the answer before it is read.
  ::shutdown(fd, SHUT_WR);
  if (closing_.size() >= limits_.open) {
    ::close(fd);
    return;
  }
  closing_.push_back({fd, {}, Clock::now()});
}

void WebListener::refuse(int fd) {
  ::send(fd, busyAnswer_.data(), busyAnswer_.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
  linger(fd);
}

void WebListener::acceptAll() {
  for (;;) {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    const int fd = ::accept4(socket_, reinterpret_cast<sockaddr*>(&address), &length,
                             SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0) {
      if (errno == EINTR || errno == ECONNABORTED) continue;
      return;  // none left, or out of descriptors: the rest wait in the backlog
    }
    const std::string peer = peerAddress(address, length);
    PerAddress& mine = addresses_[peer];
    if (open_ + held_.size() >= limits_.open) {
      if (mine.open == 0 && mine.idle == 0 && mine.held == 0) addresses_.erase(peer);
      refuse(fd);
      continue;
    }
    // Over its address's share, a connection waits for one of that address's to end, or to be
    // given up when it is idle between requests.
    if (mine.open >= limits_.perAddress && mine.idle == 0) {
      ++mine.held;
      held_.push_back({fd, peer, Clock::now()});
      continue;
    }
    ++mine.open;
    ++open_;
    pending_.push_back({fd, peer, Clock::now()});
  }
}

void WebListener::accepting() {
  yieldToTheRecorder();
  std::vector<pollfd> polled;
  while (!stopping_) {
    polled.clear();
    polled.push_back({socket_, POLLIN, 0});
    {
      std::lock_guard lock(mutex_);
      for (const Waiting& w : pending_) polled.push_back({w.fd, POLLIN, 0});
      for (const Waiting& w : closing_) polled.push_back({w.fd, POLLIN, 0});
    }
    const int n = ::poll(polled.data(), polled.size(), static_cast<int>(kTick.count()));
    if (n < 0 && errno != EINTR) break;
    const auto now = Clock::now();
    std::lock_guard lock(mutex_);
    // pending_ and closing_ are changed only here, so the polled entries still match them.
    std::size_t at = 1;
    std::vector<Waiting> still;
    for (Waiting& w : pending_) {
      const short events = polled[at++].revents;
      if ((events & POLLIN) != 0) {
        if (queued_.size() >= limits_.queued) {
          closed(w.address);
          refuse(w.fd);
        } else {
          queued_.push_back({w.fd, w.address, now});
          ready_.notify_one();
        }
      } else if (events != 0 || now - w.since > limits_.firstByte) {
        closed(w.address);
        closeNow(w.fd);
      } else {
        still.push_back(std::move(w));
      }
    }
    pending_.swap(still);
    still.clear();
    const std::size_t closingPolled = polled.size() - at;
    for (std::size_t i = 0; i < closing_.size(); ++i) {
      Waiting& w = closing_[i];
      bool done = now - w.since > limits_.closing;
      // What the client still sends is discarded unread, in a buffer of a fixed size; once it
      // is done sending the connection ends.
      for (int piece = 0; !done && i < closingPolled && polled[at + i].revents != 0 && piece < 64;
           ++piece) {
        char sink[16384];
        const ssize_t got = ::recv(w.fd, sink, sizeof sink, MSG_DONTWAIT);
        if (got < 0 && (errno == EAGAIN || errno == EINTR)) break;
        done = got <= 0;
      }
      if (done) {
        ::close(w.fd);
      } else {
        still.push_back(std::move(w));
      }
    }
    closing_.swap(still);
    // Requests that waited too long for a worker are told to come back.
    while (!queued_.empty() && now - queued_.front().since > limits_.queuedFor) {
      closed(queued_.front().address);
      refuse(queued_.front().fd);
      queued_.pop_front();
    }
    admitHeld(now);
    if ((polled[0].revents & POLLIN) != 0) acceptAll();
  }
}

void WebListener::working() {
  yieldToTheRecorder();
  for (;;) {
    Waiting w;
    {
      std::unique_lock lock(mutex_);
      ready_.wait(lock, [this] { return stopping_ || !queued_.empty(); });
      if (stopping_) return;
      w = std::move(queued_.front());
      queued_.pop_front();
    }
    const bool refused = serve_(w.fd, w.address);
    std::lock_guard lock(mutex_);
    closed(w.address);
    if (refused && !stopping_) {
      linger(w.fd);
    } else {
      closeNow(w.fd);
    }
  }
}

}  // namespace recorder::web::module
