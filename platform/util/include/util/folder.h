// Whether files can be made in a folder, and making one with its parents, for every writer that
// wants to say why not before it starts.
#pragma once

#include <filesystem>

namespace util {

enum class FolderState {
  kWritable,     // an existing folder this process may create files in
  kMissing,      // nothing at the path
  kUnreachable,  // a part of the path cannot be searched or is not a folder
  kNotAFolder,   // something else is at the path
  kNotWritable,  // a folder this process may not create files in
};

// Follows links, as opening a file in the folder would.
FolderState folderState(const std::filesystem::path& folder);

// Creates the folder and any missing parents (as the creation mask allows), then says what it
// found: kWritable when files can now be made in it.
FolderState makeFolders(const std::filesystem::path& folder);

}  // namespace util
