#include "web_worker_pool.h"

#include <sys/resource.h>
#include <unistd.h>

namespace recorder::web::module {

void yieldToTheRecorder() { ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 10); }

}  // namespace recorder::web::module
