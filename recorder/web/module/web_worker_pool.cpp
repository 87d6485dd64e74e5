#include "web_worker_pool.h"

#include <sys/resource.h>
#include <unistd.h>

namespace recorder::app {

void yieldToTheRecorder() { ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 10); }

}  // namespace recorder::app
