#include "web_connection.h"

#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace recorder::web::module {

namespace {

using Clock = TimedConnection::Clock;
using std::chrono::milliseconds;

// Waits are sliced so that a stopping server, or a connection wanted back, is noticed soon.
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
    if (stopping_) return false;
    const auto left = std::chrono::duration_cast<milliseconds>(until - Clock::now());
    if (left.count() <= 0) return false;
    pollfd p{fd_, events, 0};
    const int n = ::poll(&p, 1, static_cast<int>(std::min(left, kStopCheck).count()));
    if (n > 0) return true;
    if (n < 0 && errno != EINTR) return false;
  }
}

bool TimedConnection::awaitRequest(const IdleHooks& hooks) {
  answering_ = false;
  pollfd p{fd_, POLLIN, 0};
  if (filled_ == 0 && ::poll(&p, 1, 0) <= 0) {
    hooks.mark(true);
    const Clock::time_point until = Clock::now() + limits_.idle;
    bool came = false;
    for (;;) {
      if (stopping_ || hooks.release()) break;
      const auto slice =
          std::min(kStopCheck, std::chrono::duration_cast<milliseconds>(until - Clock::now()));
      if (slice.count() <= 0) break;
      const int n = ::poll(&p, 1, static_cast<int>(slice.count()));
      if (n > 0) {
        came = true;
        break;
      }
      if (n < 0 && errno != EINTR) break;
    }
    hooks.mark(false);
    if (!came) return false;
  }
  requestDeadline_ = Clock::now() + limits_.request;
  return true;
}

int TimedConnection::readHead() {
  for (;;) {
    const HeadScan scan = scanHead({buffer_.data(), filled_});
    if (scan.refusal != 0) return scan.refusal;
    if (scan.whole) {
      headEnd_ = scan.end;
      begin_ = 0;
      return 0;
    }
    if (filled_ == buffer_.size()) return 431;
    if (!ready(POLLIN, requestDeadline_)) return stopping_ ? -1 : 408;
    ssize_t n = 0;
    do {
      n = ::recv(fd_, buffer_.data() + filled_, buffer_.size() - filled_, MSG_DONTWAIT);
    } while (n < 0 && errno == EINTR);
    if (n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)) return -1;
    if (n > 0) filled_ += static_cast<std::size_t>(n);
  }
}

void TimedConnection::nextRequest() {
  std::memmove(buffer_.data(), buffer_.data() + headEnd_, filled_ - headEnd_);
  filled_ -= headEnd_;
  headEnd_ = 0;
  begin_ = 0;
}

bool TimedConnection::sendAll(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = write(bytes.data(), bytes.size());
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

bool TimedConnection::is_readable() const { return begin_ < headEnd_; }

bool TimedConnection::is_writable() const {
  return ready(POLLOUT, answering_ ? answerDeadline_ : Clock::now() + limits_.answer);
}

ssize_t TimedConnection::read(char* ptr, std::size_t size) {
  if (begin_ >= headEnd_) {
    spent_ = true;
    return 0;
  }
  const std::size_t n = std::min(size, headEnd_ - begin_);
  std::memcpy(ptr, buffer_.data() + begin_, n);
  begin_ += n;
  return static_cast<ssize_t>(n);
}

ssize_t TimedConnection::write(const char* ptr, std::size_t size) {
  if (!answering_) {
    answering_ = true;
    answerDeadline_ = Clock::now() + limits_.answer;
    // "HTTP/1.1 NNN": an answer of 400 and above ends the connection, whatever it says.
    refused_ = size > 9 && ptr[9] >= '4';
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

bool TimedServer::serve(int fd, const IdleHooks& hooks) {
  TimedConnection connection(fd, limits_, stopping_);
  std::string local;
  int localPort = 0;
  connection.get_local_ip_and_port(local, localPort);
  for (std::size_t left = keep_alive_max_count_; left > 0; --left) {
    if (!connection.awaitRequest(hooks)) return false;
    const int status = connection.readHead();
    if (status < 0) return false;
    const int refusal = status != 0 ? status : checkHead(connection.head(), hosts_, local);
    if (refusal != 0) {
      // Nothing after a refused head is read: it could be a body taken for a request.
      connection.sendAll(refusalAnswer(refusal));
      return true;
    }
    bool closed = false;
    const bool answered = process_request(connection, left == 1, closed, nullptr);
    if (!answered || closed || connection.spent()) return connection.refused();
    connection.nextRequest();
  }
  return false;
}

}  // namespace recorder::web::module
