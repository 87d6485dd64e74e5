#include "web_request_head.h"

#include <algorithm>
#include <cctype>

namespace recorder::web {

namespace {

std::string lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool isToken(std::string_view name) {
  if (name.empty()) return false;
  return std::all_of(name.begin(), name.end(), [](char c) {
    const auto u = static_cast<unsigned char>(c);
    return std::isalnum(u) != 0 ||
           std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
  });
}

// Field values and targets: visible bytes, spaces and tabs (values only), and bytes past ASCII.
bool isFieldText(std::string_view text, bool spaces) {
  return std::all_of(text.begin(), text.end(), [spaces](char c) {
    const auto u = static_cast<unsigned char>(c);
    if (u == ' ' || u == '\t') return spaces;
    return u > 0x20 && u != 0x7F;
  });
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool allDigits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

HostNames::HostNames(const std::string& host, int port, const std::vector<std::string>& names)
    : port_(port) {
  for (const char* loopback : {"127.0.0.1", "localhost", "::1"})
    accepted_.push_back(authority(loopback));
  accepted_.push_back(authority(host));
  for (const std::string& name : names) {
    const auto colon = name.rfind(':');
    const bool withPort = colon != std::string::npos &&
                          allDigits(std::string_view(name).substr(colon + 1)) &&
                          (name.front() == '[' || name.find(':') == colon);
    accepted_.push_back(withPort ? lower(name) : authority(name));
  }
}

std::string HostNames::authority(const std::string& host) const {
  const bool v6 = host.find(':') != std::string::npos;
  return lower(v6 ? "[" + host + "]" : host) + ":" + std::to_string(port_);
}

bool HostNames::accepts(std::string_view host, const std::string& localAddress) const {
  std::string given = lower(host);
  // Without a port the request names HTTP's own.
  const auto colon = given.rfind(':');
  if (colon == std::string::npos || given.back() == ']') given += ":80";
  // A server on every IPv6 address meets IPv4 clients at mapped addresses (::ffff:a.b.c.d);
  // they name the IPv4 address.
  std::string local = localAddress;
  if (local.starts_with("::ffff:") && local.find('.') != std::string::npos) local.erase(0, 7);
  return std::find(accepted_.begin(), accepted_.end(), given) != accepted_.end() ||
         (!local.empty() && given == authority(local));
}

HeadScan scanHead(std::string_view bytes) {
  HeadScan scan;
  std::size_t start = 0;
  std::size_t lines = 0;
  for (;;) {
    const auto newline = bytes.find('\n', start);
    const std::size_t end = newline == std::string_view::npos ? bytes.size() : newline;
    std::size_t length = end - start;
    if (newline != std::string_view::npos && length > 0 && bytes[end - 1] == '\r') --length;
    // A line still arriving may yet end in a CR.
    const std::size_t limit = newline == std::string_view::npos ? kMaxHeadLine + 1 : kMaxHeadLine;
    if (length > limit) {
      scan.refusal = lines == 0 ? 414 : 431;
      return scan;
    }
    if (newline == std::string_view::npos) break;
    if (length == 0) {
      scan.whole = true;
      scan.end = newline + 1;
      break;
    }
    if (++lines > kMaxHeaderLines + 1) {
      scan.refusal = 431;
      return scan;
    }
    start = newline + 1;
  }
  if ((scan.whole ? scan.end : bytes.size()) > kMaxHead) {
    scan.refusal = 431;
    scan.whole = false;
  }
  return scan;
}

int checkHead(std::string_view head, const HostNames& hosts, const std::string& localAddress) {
  std::size_t start = 0;
  bool first = true;
  bool http10 = false;
  int hostCount = 0, lengthCount = 0;
  std::string_view host;
  bool body = false;
  while (start < head.size()) {
    auto end = head.find('\n', start);
    if (end == std::string_view::npos) end = head.size();
    std::string_view line = head.substr(start, end - start);
    start = end + 1;
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.empty()) break;
    if (first) {
      first = false;
      const auto a = line.find(' ');
      const auto b = a == std::string_view::npos ? a : line.find(' ', a + 1);
      if (b == std::string_view::npos || line.find(' ', b + 1) != std::string_view::npos ||
          !isToken(line.substr(0, a)) || b == a + 1 ||
          !isFieldText(line.substr(a + 1, b - a - 1), false)) {
        return 400;
      }
      const std::string_view version = line.substr(b + 1);
      if (version != "HTTP/1.1" && version != "HTTP/1.0") return 400;
      http10 = version == "HTTP/1.0";
      continue;
    }
    // A line that starts with a space or a tab continues the last one (folding): refused, as
    // is whitespace between a name and its colon.
    const auto colon = line.find(':');
    if (colon == std::string_view::npos || !isToken(line.substr(0, colon))) return 400;
    const std::string_view value = trimmed(line.substr(colon + 1));
    if (!isFieldText(value, true)) return 400;
    const std::string name = lower(line.substr(0, colon));
    if (name == "transfer-encoding") return 400;
    if (name == "content-length") {
      if (++lengthCount > 1 || !allDigits(value)) return 400;
      body = value.find_first_not_of('0') != std::string_view::npos;
    } else if (name == "host") {
      if (++hostCount > 1) return 400;
      host = value;
    }
  }
  if (first) return 400;
  if (body) return 413;
  if (hostCount == 0) return http10 ? 0 : 400;
  return hosts.accepts(host, localAddress) ? 0 : 421;
}

const std::vector<std::pair<std::string, std::string>>& commonHeaders() {
  static const std::vector<std::pair<std::string, std::string>> headers = {
      {"Cache-Control", "no-store"},
      {"X-Content-Type-Options", "nosniff"},
      {"Referrer-Policy", "no-referrer"},
      {"X-Frame-Options", "DENY"},
      // No page of another site may embed or read what this one answers.
      {"Cross-Origin-Resource-Policy", "same-origin"},
  };
  return headers;
}

const char* reasonOf(int status) {
  switch (status) {
    case 400:
      return "Bad Request";
    case 404:
      return "Not Found";
    case 405:
      return "Method Not Allowed";
    case 408:
      return "Request Timeout";
    case 413:
      return "Payload Too Large";
    case 414:
      return "URI Too Long";
    case 421:
      return "Misdirected Request";
    case 431:
      return "Request Header Fields Too Large";
    case 500:
      return "Internal Server Error";
    case 503:
      return "Service Unavailable";
    default:
      return "Error";
  }
}

std::string refusalAnswer(int status, std::string_view extraHeaders) {
  const std::string body = std::to_string(status) + " " + reasonOf(status) + "\n";
  std::string answer = "HTTP/1.1 " + std::to_string(status) + " " + reasonOf(status) +
                       "\r\nContent-Type: text/plain; charset=utf-8\r\nContent-Length: " +
                       std::to_string(body.size()) + "\r\nConnection: close\r\n";
  for (const auto& [name, value] : commonHeaders()) answer += name + ": " + value + "\r\n";
  answer += extraHeaders;
  answer += "\r\n";
  return answer + body;
}

}  // namespace recorder::web
