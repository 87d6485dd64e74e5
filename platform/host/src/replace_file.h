// Writes a file through a scratch file in the same folder that is renamed over the target
// only when complete, so readers never see a partial image and a failure leaves nothing behind.
#pragma once

#include <cstdio>
#include <filesystem>
#include <functional>

namespace host {

// body writes the whole content to the stream and returns false on failure.
bool replaceFile(const std::filesystem::path& path, const std::function<bool(std::FILE*)>& body);

}  // namespace host
