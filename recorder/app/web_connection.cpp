#include "web_connection.h"

#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace recorder::app {

namespace {

using Clock = TimedConnection::Clock;
using std::chrono::milliseconds;

// The waits for a next request are sliced so that a stopping server is noticed soon.
constexpr milliseconds kStopCheck{50};

void addressOf(int fd, bool peer, std::string& ip, int& port) {
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  auto* raw = reinterpret_cast<sockaddr*>(&address);
  if ((peer ? ::getpeername(fd, raw, &length) : ::getsockname(fd, raw, &length)) != 0) return;
  char host[NI_MAXHOST];
  if (::getnameinfo(raw, length, host, sizeof host, nullptr, 0, NI_NUMERICHOST) != 0) return;
  ip = host;
  port = address.ss_family == AF_INET6 ? ntohs(reinterpret_cast<sockaddr_in6*>(raw)->sin6_port)
                                       : ntohs(reinterpret_cast<sockaddr_in*>(raw)->sin_port);
}

}  // namespace

bool TimedConnection::ready(short events, Clock::time_point deadline) const {
  const Clock::time_point until = std::min(deadline, Clock::now() + limits_.wait);
  for (;;) {
    const auto left = std::chrono::duration_cast<milliseconds>(until - Clock::now());
    if (left.count() <= 0) return false;
    pollfd p{fd_, events, 0};
    const int n = ::poll(&p, 1, static_cast<int>(left.count()));
    if (n > 0) return true;
    if (n < 0 && errno != EINTR) return false;
  }
}

bool TimedConnection::awaitRequest(const std::atomic<int>& listening) {
  answering_ = false;
  if (begin_ == end_) {
    const Clock::time_point until = Clock::now() + limits_.idle;
    for (;;) {
      if (listening == INVALID_SOCKET) return false;
      pollfd p{fd_, POLLIN, 0};
      const auto slice =
          std::min(kStopCheck, std::chrono::duration_cast<milliseconds>(until - Clock::now()));
      if (slice.count() <= 0) return false;
      const int n = ::poll(&p, 1, static_cast<int>(slice.count()));
      if (n > 0) break;
      if (n < 0 && errno != EINTR) return false;
    }
  }
  requestDeadline_ = Clock::now() + limits_.request;
  return true;
}

bool TimedConnection::is_readable() const {
  return begin_ < end_ || ready(POLLIN, requestDeadline_);
}

bool TimedConnection::is_writable() const {
  return ready(POLLOUT, answering_ ? answerDeadline_ : Clock::now() + limits_.answer);
}

ssize_t TimedConnection::read(char* ptr, std::size_t size) {
  if (begin_ == end_) {
    ssize_t n = -1;
    if (is_readable()) {
      do {
        n = ::recv(fd_, buffer_.data(), buffer_.size(), MSG_DONTWAIT);
      } while (n < 0 && errno == EINTR);
    }
    if (n <= 0) {
      spent_ = true;
      return n;
    }
    begin_ = 0;
    end_ = static_cast<std::size_t>(n);
  }
  const std::size_t n = std::min(size, end_ - begin_);
  std::memcpy(ptr, buffer_.data() + begin_, n);
  begin_ += n;
  return static_cast<ssize_t>(n);
}

ssize_t TimedConnection::write(const char* ptr, std::size_t size) {
  if (!answering_) {
    answering_ = true;
    answerDeadline_ = Clock::now() + limits_.answer;
  }
  for (;;) {
    if (!ready(POLLOUT, answerDeadline_)) return -1;
    const ssize_t n = ::send(fd_, ptr, size, MSG_DONTWAIT | MSG_NOSIGNAL);
    if (n >= 0) return n;
    if (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) return -1;
  }
}

void TimedConnection::get_remote_ip_and_port(std::string& ip, int& port) const {
  addressOf(fd_, true, ip, port);
}

void TimedConnection::get_local_ip_and_port(std::string& ip, int& port) const {
  addressOf(fd_, false, ip, port);
}

bool TimedServer::process_and_close_socket(int sock) {
  bool answered = false;
  {
    TimedConnection connection(sock, limits_);
    for (std::size_t left = keep_alive_max_count_; left > 0; --left) {
      if (!connection.awaitRequest(svr_sock_)) break;
      bool closed = false;
      answered = process_request(connection, left == 1, closed, nullptr);
      if (!answered || closed || connection.spent()) break;
    }
  }
  ::shutdown(sock, SHUT_RDWR);
  ::close(sock);
  return answered;
}

}  // namespace recorder::app
