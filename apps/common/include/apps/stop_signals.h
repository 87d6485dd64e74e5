// Stop requests from the outside: Ctrl-C, a service manager's SIGTERM, or the hang-up of the
// terminal an unattended run was started from. A headless run looks at the request between
// blocks and ticks and ends as it would at its time limit, keeping what it has.
#pragma once

#include <atomic>

namespace apps {

class StopRequest {
 public:
  virtual ~StopRequest() = default;
  virtual bool requested() const = 0;
};

// The process's stop signals (SIGINT, SIGTERM and SIGHUP) caught from now on: each sets the
// request instead of ending the process. Interrupted system calls return EINTR, so a run waiting
// for its input wakes up to look.
const StopRequest& catchStopSignals();

// The flag the signals set, for a reader that waits outside the run's loop (a stalled pipe).
const std::atomic<bool>& stopSignalFlag();

}  // namespace apps
