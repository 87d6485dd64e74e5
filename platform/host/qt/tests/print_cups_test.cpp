// Printing through a real CUPS scheduler with a PDF queue. The test runs its own scheduler on a
// scratch configuration and port, prints on the queue through Qt PrintSupport, and finds the PDF
// the queue wrote. Without a scheduler the queue is no printer at all.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "host/printers.h"
#include "host/qt/print_services.h"
#include "output/printing.h"

namespace {

namespace fs = std::filesystem;

constexpr char kQueue[] = "ZelkPdfTest";
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

// A scheduler of the test's own: configuration, spool and logs in a scratch folder.
class Scheduler {
 public:
  Scheduler(const fs::path& root, int port)
      : root_(root), server_("127.0.0.1:" + std::to_string(port)) {
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
    write(root_ / "cups-files.conf", "ServerRoot " + r + "\nRequestRoot " + r + "/spool\nTempDir " +
                                         r + "/tmp\nCacheDir " + r + "/cache\nStateDir " + r +
                                         "/state\nAccessLog " + r + "/log/access_log\nErrorLog " +
                                         r + "/log/error_log\nPageLog " + r +
                                         "/log/page_log\nSystemGroup root\n");
  }
  ~Scheduler() { stop(); }

  bool start() {
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
  void stop() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
    pid_ = 0;
  }
  // The scheduler may still be settling after it first answers: a few tries.
  bool addPdfQueue(const std::string& queue) {
    for (int attempt = 0; attempt < 50; ++attempt) {
      if (run("lpadmin -h " + server_ + " -p " + queue + " -E -v cups-pdf:/ -P " + kPpd) &&
          run("lpadmin -h " + server_ + " -d " + queue))
        return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    return false;
  }
  const std::string& server() const { return server_; }
  std::string errorLog() const {
    std::ifstream in(root_ / "log" / "error_log");
    return std::string((std::istreambuf_iterator<char>(in)), {});
  }

 private:
  static bool run(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
  }
  fs::path root_;
  std::string server_;
  pid_t pid_ = 0;
};

// cups-pdf writes into the PDF folder of the user the job was sent as.
fs::path pdfFolder() {
  const passwd* user = ::getpwuid(::getuid());
  return fs::path(user ? user->pw_dir : "/") / "PDF";
}

TEST(CupsPrinting, PrintsOnAPdfQueueOfItsOwnScheduler) {
  if (::getuid() != 0) GTEST_SKIP() << "the PDF queue's backend runs only under a root scheduler";
  if (!fs::exists(kBackend) || !fs::exists(kPpd) || std::system("command -v cupsd >/dev/null"))
    GTEST_SKIP() << "cups and printer-driver-cups-pdf are not installed";

  const int port = freePort();
  ASSERT_GT(port, 0);
  const fs::path root = fs::temp_directory_path() / ("zelk-cups-" + std::to_string(getpid()));
  fs::create_directories(root);
  Scheduler scheduler(root, port);
  // Every CUPS call of this process goes to this scheduler.
  ::setenv("CUPS_SERVER", scheduler.server().c_str(), 1);
  static int argc = 1;
  static char name[] = "print_cups_test";
  static char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  host::qt::installQueuePrinters();
  host::qt::QtPrintServices services;
  host::setChosenPrinter(std::string(kQueue));

  gdi::Bitmap bitmap(40, 20, 0x00FF0000);
  for (int x = 0; x < 20; ++x)
    for (int y = 0; y < 20; ++y) bitmap.setPixel(x, y, 0x000000FF);
  const gdi::PackedDib dib = gdi::PackedDib::fromBitmap(bitmap, 24);
  const std::string job = "ZelkCups" + std::to_string(getpid());

  // No scheduler yet: the queue is no printer, and nothing is shown.
  EXPECT_EQ(
      kvplotax::output::PrintPackedDib(&services, &dib, kvplotax::output::kPrintBestFit, 0, 0, job),
      6);

  ASSERT_TRUE(scheduler.start()) << scheduler.errorLog();
  ASSERT_TRUE(scheduler.addPdfQueue(kQueue)) << scheduler.errorLog();
  const auto entry = services.defaultPrinter();
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->device, kQueue);
  EXPECT_EQ(entry->port, "ipp://" + scheduler.server() + "/printers/" + kQueue);

  const auto started = fs::file_time_type::clock::now();
  EXPECT_EQ(
      kvplotax::output::PrintPackedDib(&services, &dib, kvplotax::output::kPrintBestFit, 0, 0, job),
      0);
  // The queue converts the job in the background; its PDF is named after the job and is whole
  // once it ends with its end-of-file mark.
  fs::path found;
  std::string pdf;
  for (int i = 0; i < 600 && found.empty(); ++i) {
    std::error_code error;
    for (const auto& file : fs::directory_iterator(pdfFolder(), error)) {
      if (file.path().filename().string().find(job) == std::string::npos ||
          file.path().extension() != ".pdf" || file.last_write_time() < started)
        continue;
      std::ifstream in(file.path(), std::ios::binary);
      pdf.assign(std::istreambuf_iterator<char>(in), {});
      if (pdf.find("%%EOF", pdf.size() > 8 ? pdf.size() - 8 : 0) != std::string::npos)
        found = file.path();
    }
    if (found.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  ASSERT_FALSE(found.empty()) << "no PDF in " << pdfFolder() << "\n" << scheduler.errorLog();
  EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
  // The image spans the printable width, red on the left and blue on the right.
  const std::string ppm = (root / "page").string();
  ASSERT_EQ(std::system(("pdftoppm -r 20 -singlefile '" + found.string() + "' " + ppm).c_str()), 0);
  std::ifstream in(ppm + ".ppm", std::ios::binary);
  std::string magic;
  int width = 0, height = 0, maxValue = 0;
  in >> magic >> width >> height >> maxValue;
  in.get();
  const std::vector<unsigned char> rgb((std::istreambuf_iterator<char>(in)), {});
  ASSERT_EQ(rgb.size(), std::size_t(width) * height * 3);
  auto pixel = [&](int x, int y) {
    const std::size_t i = 3 * (std::size_t(y) * width + x);
    return std::array<int, 3>{rgb[i], rgb[i + 1], rgb[i + 2]};
  };
  int row = 0;
  while (row < height && pixel(width / 4, row) == std::array<int, 3>{255, 255, 255}) ++row;
  ASSERT_LT(row + 2, height);
  EXPECT_EQ(pixel(width / 4, row + 2), (std::array<int, 3>{255, 0, 0}));
  EXPECT_EQ(pixel(width * 3 / 4, row + 2), (std::array<int, 3>{0, 0, 255}));
  fs::remove(found);
  std::error_code error;
  fs::remove(pdfFolder(), error);  // only when the queue made it for this test and it is empty
  scheduler.stop();
  host::setChosenPrinter(std::nullopt);
  host::setQueuePrinters(nullptr);
  fs::remove_all(root);
}

}  // namespace
