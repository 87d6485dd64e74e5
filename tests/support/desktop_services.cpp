#include "desktop_services.h"

#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

namespace zelk::testing {

namespace fs = std::filesystem;

namespace {

constexpr char kBackend[] = "/usr/lib/cups/backend/cups-pdf";
constexpr char kPpd[] = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";

int freePort() {
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  int port = 0;
  if (::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) == 0)
    port = ntohs(address.sin_port);
  ::close(s);
  return port;
}

void write(const fs::path& path, const std::string& text) { std::ofstream(path) << text; }

bool run(const std::string& command) {
  return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

}  // namespace

XServer::XServer() {
  if (std::getenv("DISPLAY") && *std::getenv("DISPLAY")) return;
  int fds[2];
  if (::pipe(fds) != 0) return;
  pid_ = ::fork();
  if (pid_ == 0) {
    ::close(fds[0]);
    const std::string fd = std::to_string(fds[1]);
    ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten",
             "tcp", nullptr);
    ::_exit(127);
  }
  ::close(fds[1]);
  // The server writes its display number once it accepts clients.
  std::string number;
  char c;
  while (::read(fds[0], &c, 1) == 1 && c != '\n') number += c;
  ::close(fds[0]);
  if (!number.empty()) ::setenv("DISPLAY", (":" + number).c_str(), 1);
}
XServer::~XServer() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGTERM);
  ::waitpid(pid_, nullptr, 0);
}

std::string CupsScheduler::unavailable() {
  if (::getuid() != 0) return "the PDF queue's backend runs only under a root scheduler";
  if (!fs::exists(kBackend) || !fs::exists(kPpd) || !run("command -v cupsd"))
    return "cups and printer-driver-cups-pdf are not installed";
  return {};
}

CupsScheduler::CupsScheduler(const fs::path& root)
    : root_(root), server_("127.0.0.1:" + std::to_string(freePort())) {
  for (const char* sub : {"spool", "tmp", "cache", "state", "log", "ppd"})
    fs::create_directories(root_ / sub);
  // Filters run as another user: they must reach the spool and the scratch files.
  fs::permissions(root_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                             fs::perms::others_read | fs::perms::others_exec);
  fs::permissions(root_ / "tmp", fs::perms::all | fs::perms::sticky_bit);
  write(root_ / "cupsd.conf",
        "Listen " + server_ +
            "\nLogLevel warn\nBrowsing No\nWebInterface No\nDefaultAuthType None\n"
            "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
            "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n");
  const std::string r = root_.string();
  write(root_ / "cups-files.conf",
        "ServerRoot " + r + "\nRequestRoot " + r + "/spool\nTempDir " + r + "/tmp\nCacheDir " + r +
            "/cache\nStateDir " + r + "/state\nAccessLog " + r + "/log/access_log\nErrorLog " + r +
            "/log/error_log\nPageLog " + r + "/log/page_log\nSystemGroup root\n");
}

CupsScheduler::~CupsScheduler() { stop(); }

bool CupsScheduler::start() {
  pid_ = ::fork();
  if (pid_ == 0) {
    const std::string conf = (root_ / "cupsd.conf").string();
    const std::string files = (root_ / "cups-files.conf").string();
    ::execlp("cupsd", "cupsd", "-f", "-c", conf.c_str(), "-s", files.c_str(), nullptr);
    ::_exit(127);
  }
  for (int i = 0; i < 100; ++i) {
    if (run("lpstat -h " + server_ + " -r")) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return false;
}

void CupsScheduler::stop() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGTERM);
  ::waitpid(pid_, nullptr, 0);
  pid_ = 0;
}

bool CupsScheduler::addPdfQueue(const std::string& queue) {
  // A scheduler under load answers before it takes administration requests: a few tries.
  for (int attempt = 0; attempt < 50; ++attempt) {
    if (run("lpadmin -h " + server_ + " -p " + queue + " -E -v cups-pdf:/ -P " + kPpd) &&
        run("lpadmin -h " + server_ + " -d " + queue))
      return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  return false;
}

std::string CupsScheduler::errorLog() const {
  std::ifstream in(root_ / "log" / "error_log");
  return std::string((std::istreambuf_iterator<char>(in)), {});
}

fs::path CupsScheduler::pdfFolder() {
  const passwd* user = ::getpwuid(::getuid());
  return fs::path(user ? user->pw_dir : "/") / "PDF";
}

}  // namespace zelk::testing
