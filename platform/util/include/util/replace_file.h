// Replacing a file whole: the content goes into a scratch file beside the target, is synced, and
// is renamed over the target only when complete, and the folder is synced after, so a reader, or
// a crash, finds either the old file or the new one, never part of one; a failure leaves the old
// file as it was and no scratch file behind.
#pragma once

#include <sys/types.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

namespace util {

struct ReplaceOptions {
  // Permission bits a file that did not exist yet is created with, before the creation mask.
  mode_t newFileMode = 0666;
  // Refuse a file that another open holds any lock on, as an exclusive share would.
  bool refuseLocked = false;
};

enum class ReplaceResult {
  kReplaced,
  kReplacedFolderNotSynced,  // the rename stands, but may not survive a crash
  kNotRegularFile,           // a link, a folder, a FIFO, a device: left alone
  kOtherUsersFile,           // left alone, so it is neither taken over nor emptied
  kLocked,                   // only with refuseLocked
  kFailed,                   // no name, no folder, no space, or write returned false
};

// True for both outcomes in which the new content is in place.
inline bool replaced(ReplaceResult result) {
  return result == ReplaceResult::kReplaced || result == ReplaceResult::kReplacedFolderNotSynced;
}

// A replacement written piece by piece, for content too large to hold or produced over time: begin
// makes the scratch file and hands out its stream, commit puts it in place. Abandoned, or
// destroyed before commit, it leaves the target as it was and no scratch file behind.
class FileReplacement {
 public:
  FileReplacement() = default;
  ~FileReplacement() { abandon(); }
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  // kReplaced when the stream is ready; any other result refuses, as replaceFile would.
  ReplaceResult begin(const std::filesystem::path& target, const ReplaceOptions& options = {});
  std::FILE* stream() const { return stream_; }
  // Syncs the content and renames it over the target; kFailed when anything written failed.
  ReplaceResult commit();
  void abandon();

 private:
  int folder_ = -1;
  int locked_ = -1;
  std::FILE* stream_ = nullptr;
  bool replacing_ = false;
  std::string scratch_;
  std::string name_;
};

// write puts the whole content on the stream and returns false on failure. The target itself must
// not be a link (callers that follow links resolve them first). A replaced file keeps its mode,
// and its group where the writer may keep it; otherwise the group loses its access rather than
// passing to another group. Scratch files of this user's writers that died are removed first.
ReplaceResult replaceFile(const std::filesystem::path& target,
                          const std::function<bool(std::FILE*)>& write,
                          const ReplaceOptions& options = {});

}  // namespace util
