#include "file_replace.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <string>
#include <system_error>

#include "file_text.h"
#include "util/replace_file.h"

namespace automation::detail {
namespace {

namespace fs = std::filesystem;

// The writer's process id in a scratch name "PREFIX<pid><end>...", or 0 when there is none.
pid_t pidAfter(std::string_view entry, std::string_view prefix, char end) {
  if (!entry.starts_with(prefix)) return 0;
  entry.remove_prefix(prefix.size());
  pid_t pid = 0;
  const auto [rest, ec] = std::from_chars(entry.data(), entry.data() + entry.size(), pid);
  if (ec != std::errc() || pid <= 0 || rest == entry.data() + entry.size() || *rest != end)
    return 0;
  return pid;
}

// Scratch files that writers of earlier versions left when they died, in the two namings used
// before the shared one (".NAME.tmp-PID-RANDOM" and "NAME.tmp.PID.N").
void removeOlderLeftovers(const fs::path& folder, const std::string& name) {
  const std::string prefix = "." + name + ".tmp-";
  const std::string oldPrefix = name + ".tmp.";
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string entry = it->path().filename().string();
    pid_t pid = pidAfter(entry, prefix, '-');
    if (pid == 0) pid = pidAfter(entry, oldPrefix, '.');
    if (pid == 0 || pid == ::getpid() || ::kill(pid, 0) == 0 || errno != ESRCH) continue;
    struct stat st {};
    if (::lstat(it->path().c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid()) {
      ::unlink(it->path().c_str());
    }
  }
}

}  // namespace

bool replaceFile(const fs::path& link, std::string_view text) {
  std::error_code ec;
  fs::path file = link;
  if (fs::is_symlink(link, ec)) {
    file = fs::weakly_canonical(link, ec);
    if (ec) return false;
  }
  const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
  removeOlderLeftovers(folder, file.filename().string());

  const util::ReplaceResult result =
      util::replaceFile(file,
                        [text](std::FILE* out) {
                          return std::fwrite(text.data(), 1, text.size(), out) == text.size();
                        },
                        {.newFileMode = 0644});
  switch (result) {
    case util::ReplaceResult::kReplaced:
      return true;
    case util::ReplaceResult::kReplacedFolderNotSynced:
      reportProblem("the folder " + folder.string() + " could not be synced after writing to it");
      return true;
    case util::ReplaceResult::kNotRegularFile:
      reportProblem("will not replace " + file.string() + ": it is not a regular file");
      return false;
    case util::ReplaceResult::kOtherUsersFile:
      reportProblem("will not replace " + file.string() + ": it belongs to another user");
      return false;
    case util::ReplaceResult::kLocked:
    case util::ReplaceResult::kFailed:
      break;
  }
  return false;
}

}  // namespace automation::detail
