// Desktop services the printing tests start for themselves: a virtual X server, and a CUPS
// scheduler of their own with a PDF queue (cups-pdf), on a scratch configuration and port.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>

namespace zelk::testing {

// Starts Xvfb and points DISPLAY at it, unless DISPLAY already names a display.
class XServer {
 public:
  XServer();
  ~XServer();
  XServer(const XServer&) = delete;
  XServer& operator=(const XServer&) = delete;

 private:
  pid_t pid_ = 0;
};

class CupsScheduler {
 public:
  // Why this machine cannot run one (empty when it can): the PDF queue's backend runs only
  // under a root scheduler, and the packages must be installed.
  static std::string unavailable();

  // Writes the configuration into root (which it keeps) for a free port on the loopback.
  explicit CupsScheduler(const std::filesystem::path& root);
  ~CupsScheduler();
  CupsScheduler(const CupsScheduler&) = delete;
  CupsScheduler& operator=(const CupsScheduler&) = delete;

  // Starts it and waits until it answers.
  bool start();
  void stop();
  // A cups-pdf queue, made the scheduler's default.
  bool addPdfQueue(const std::string& queue);
  // host:port, as CUPS_SERVER takes it.
  const std::string& server() const { return server_; }
  std::string errorLog() const;
  // Where cups-pdf writes the PDFs of jobs sent by this process's user.
  static std::filesystem::path pdfFolder();

 private:
  std::filesystem::path root_;
  std::string server_;
  pid_t pid_ = 0;
};

}  // namespace zelk::testing
