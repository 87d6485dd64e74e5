// Files a program replaces as a whole (pictures, printed pages): what can stand at their names,
// and whether two names are one file. A run checks its outputs with these before it creates or
// empties anything, so a refused run leaves every file as it was.
#pragma once

#include <filesystem>
#include <string>

namespace host {

// The file a name stands for: symbolic links followed to their target, which need not exist.
// Empty when the links go round in a circle.
std::filesystem::path linkTarget(const std::filesystem::path& path);

// Why path cannot be replaced by a file this process writes, as the end of a sentence ("its
// folder does not exist"); empty when it can. A name through a link is written at the link's
// target. What stands there must be absent or a regular file of this process's user; its
// folder must exist and be writable, and the name must fit the folder's longest name.
std::string replaceProblem(const std::filesystem::path& path);

// Why a file named path cannot be created in its folder (no link is followed); empty when it
// can. Used for names a program makes from a given one.
std::string nameProblem(const std::filesystem::path& path);

// True when both names reach the same file, or would once written (links followed).
bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b);

}  // namespace host
