#include "apps/stop_signals.h"

#include <atomic>
#include <csignal>

namespace apps {

namespace {

// A signal handler can reach nothing but a lock-free flag of static storage.
std::atomic<bool> gSignalled{false};
static_assert(std::atomic<bool>::is_always_lock_free);

void onStopSignal(int) { gSignalled.store(true, std::memory_order_relaxed); }

class SignalledStop final : public StopRequest {
 public:
  bool requested() const override { return gSignalled.load(std::memory_order_relaxed); }
};

}  // namespace

const StopRequest& catchStopSignals() {
  static const SignalledStop stop;
  struct sigaction action {};
  action.sa_handler = onStopSignal;
  sigemptyset(&action.sa_mask);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
  return stop;
}

const std::atomic<bool>& stopSignalFlag() { return gSignalled; }

}  // namespace apps
