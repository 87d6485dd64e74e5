// Writes a file through a scratch file in the same folder that is renamed over the target
// only when complete and on the disk, so readers never see a partial image and a failure
// leaves nothing behind.
#pragma once

#include <cstdio>
#include <filesystem>
#include <functional>

namespace host {

// body writes the whole content to the stream and returns false on failure. A name through a
// symbolic link replaces the link's target. What is replaced must be a regular file of this
// process's user, and keeps its permissions; anything else there is left alone and the write
// fails. Scratch files left by processes that died before renaming theirs are removed.
bool replaceFile(const std::filesystem::path& path, const std::function<bool(std::FILE*)>& body);

}  // namespace host
