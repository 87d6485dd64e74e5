// Replacing one of our files whole.
#pragma once

#include <filesystem>
#include <string_view>

namespace automation::detail {

// Writes the text beside the file under an unpredictable name, syncs it, renames it over the file
// and syncs the folder, so that a reader, or a crash, finds either the old or the new file, never
// a half-written one; on failure the old file is left as it was. The new file keeps the old one's
// mode, and its group where the writer may keep it (otherwise the group loses its access). A file
// that another user owns is not replaced: that is reported, and false returned. A file that is a
// link stays a link: the file it names is replaced. Scratch files that writers which died left
// beside the file are removed first.
bool replaceFile(const std::filesystem::path& file, std::string_view text);

}  // namespace automation::detail
