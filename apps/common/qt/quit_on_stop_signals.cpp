#include "apps/qt/quit_on_stop_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <csignal>

namespace apps::qt {

namespace {

// A signal handler may only write to a pipe; the event loop reads it.
int gPipe[2] = {-1, -1};

std::function<void()>& stopAction() {
  static std::function<void()> action;
  return action;
}

void onSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = ::write(gPipe[1], &byte, 1);
}

// Runs when the application object is made: from then on the pipe is read by its event loop.
void listen() {
  auto* notifier =
      new QSocketNotifier(gPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
  QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] {
    char bytes[16];
    while (::read(gPipe[0], bytes, sizeof bytes) > 0) {
    }
    if (stopAction()) {
      stopAction()();
    } else {
      // exit() ends every loop running now, a modal dialog's too (quit() would only ask the
      // windows to close), but a main loop entered after that dialog would run on: keep
      // leaving until the program has left every loop.
      auto* again = new QTimer(QCoreApplication::instance());
      QObject::connect(again, &QTimer::timeout, [] { QCoreApplication::exit(0); });
      again->start(50);
      QCoreApplication::exit(0);
    }
  });
}

}  // namespace

void quitOnStopSignals(std::function<void()> onStop) {
  if (gPipe[0] >= 0 || ::pipe2(gPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  stopAction() = std::move(onStop);
  struct sigaction action {};
  action.sa_handler = onSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  if (QCoreApplication::instance() != nullptr) {
    listen();
  } else {
    qAddPreRoutine(listen);
  }
}

}  // namespace apps::qt
