#include "replace_file.h"

#include "host/output_file.h"
#include "util/replace_file.h"

namespace host {

bool replaceFile(const std::filesystem::path& path, const std::function<bool(std::FILE*)>& body) {
  if (path.empty() || !path.has_filename()) return false;
  const std::filesystem::path target = linkTarget(path);
  if (target.empty()) return false;
  // An image whose folder could not be synced is reported as not written: it may not be there
  // after a crash.
  return util::replaceFile(target, body) == util::ReplaceResult::kReplaced;
}

}  // namespace host
