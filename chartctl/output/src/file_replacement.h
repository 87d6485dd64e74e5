// Replacing a file whole: the new content goes into a scratch file of an unpredictable name in
// the same folder, is synced, and is renamed over the target only when complete, so a reader
// never sees part of it and a failure leaves the old file as it was.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace kvplotax::output {

// Writes the pieces one after the other as the file at path. The target is refused (false,
// nothing changed) when it is not a regular file (a link, a folder, a FIFO, a device), when
// another user owns it, or when another process holds a lock on it. A replaced file keeps its
// permission bits; a new one is made as the process's file-creation mask allows.
bool replaceFileWhole(const std::string& path,
                      std::span<const std::span<const std::uint8_t>> pieces);

}  // namespace kvplotax::output
