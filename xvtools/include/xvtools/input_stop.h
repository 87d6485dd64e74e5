// A recording that arrives through a pipe is read as its writer sends it, and a read waits while
// the writer is silent. A program that stops on a signal names its stop flag here: once the
// flag is set, a waiting read ends within a tenth of a second as at the end of the recording.
#pragma once

#include <atomic>

namespace xvtools {

// The flag must outlive every recording opened after the call; nullptr stops watching.
void setInputStopFlag(const std::atomic<bool>* flag);

}  // namespace xvtools
