// What an unattended run reads and writes, checked before any file is created or emptied, so a
// run that cannot go ahead leaves every file as it was.
#pragma once

#include <string>

#include "headless_settings.h"

namespace recorder::headless {

// The first reason the run cannot go ahead, as a message without the program's name; empty
// when every input can be read and every output written. The input must be readable and of a
// recognised kind; the log must not be the input, the image or the printed file, nor a
// symbolic link; the image and the printed file must be absent or regular files of this user
// (links lead to their targets); every output's folder must exist and be writable, and every
// name the run will make (a daily log's dated names) must fit its folder.
std::string checkRunFiles(const HeadlessSettings& options);

// Why the run must not write to a file it would append to (the log, and today's dated log of a
// daily rotation): one that exists and belongs to another user, who could read and rewrite what
// is recorded there. Empty when there is none.
std::string checkAppendedOwners(const HeadlessSettings& options);

}  // namespace recorder::headless
