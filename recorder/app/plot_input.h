// A day plot reads each file twice (once to tell a SID file from a log, once to read it), which a
// pipe such as /dev/stdin cannot give: what is not a regular file is first copied whole into an
// anonymous file in memory, and read from there.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "util/descriptor.h"

namespace recorder::app {

// The path itself for a regular file (or one that cannot be opened, for the reader to say so);
// otherwise a /proc/self/fd path of its copy, kept open in copies. Empty with why in error when
// it could not be copied.
std::string rereadablePath(const std::string& path,
                           std::vector<std::unique_ptr<util::Descriptor>>& copies,
                           std::string& error);

}  // namespace recorder::app
