// The head of a request to the web view (its request line and header lines), checked before any
// of it is parsed further: bounded in size and count, strict in its framing, and addressed to this
// server by name. The web view reads no request body: one announced is refused.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace recorder::web {

inline constexpr std::size_t kMaxHeadLine = 8 * 1024;  // any one line, without its end
inline constexpr std::size_t kMaxHead = 32 * 1024;     // the whole head with its blank line
inline constexpr std::size_t kMaxHeaderLines = 100;    // header lines after the request line

// The Host values a request may carry: the listening address and the loopback names with the
// port, the names given with --serve-name, and the address a connection reached (for a server
// listening on every address). Compared without regard to case.
class HostNames {
 public:
  HostNames() = default;
  // host: the address given to --serve (an IPv6 one without brackets); names: --serve-name's,
  // each a host name, or a NAME:PORT taken as it is.
  HostNames(const std::string& host, int port, const std::vector<std::string>& names);
  // localAddress: the connection's own address, as getnameinfo writes it.
  bool accepts(std::string_view host, const std::string& localAddress) const;

 private:
  std::string authority(const std::string& host) const;

  int port_ = 0;
  std::vector<std::string> accepted_;
};

// Where a line of a head being read ends: the index of its "\n", or npos. Lines end in CRLF
// or a bare LF.
struct HeadScan {
  int refusal = 0;      // 414 or 431 once a line or the head is too long or has too many lines
  bool whole = false;   // the blank line that ends the head was seen
  std::size_t end = 0;  // with whole: the head's length, its blank line included
};
// Scans a head's bytes as they arrive: refuses as soon as a limit is passed, whatever follows.
HeadScan scanHead(std::string_view bytes);

// 0 when the head may be answered, else the status it is refused with: 400 for a malformed or
// ambiguous framing (whitespace before a colon, a folded line, Transfer-Encoding, Content-Length
// twice or not a number), 413 for a body announced, 421 for a Host that is not this server's.
// A request of HTTP/1.1 needs one Host; one of HTTP/1.0 may have none.
int checkHead(std::string_view head, const HostNames& hosts, const std::string& localAddress);

// The whole answer that refuses a request and closes its connection: the status line, the
// headers every answer carries, the extra lines given (each ending in CRLF), and a body of the
// status alone.
std::string refusalAnswer(int status, std::string_view extraHeaders = {});

// Headers on every answer of the web view, as (name, value).
const std::vector<std::pair<std::string, std::string>>& commonHeaders();

const char* reasonOf(int status);

}  // namespace recorder::web
