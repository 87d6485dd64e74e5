// The in-process server modules this process has loaded, one entry per module handle.
#pragma once

#include <cstddef>
#include <filesystem>
#include <map>
#include <mutex>
#include <set>
#include <string>

#include "automation/server.h"

namespace automation::detail {

using GetClassObjectFn = std::int32_t (*)(const Guid*, ClassFactory**);
using CanUnloadNowFn = std::int32_t (*)();

class ModuleTable {
 public:
  // Never destroyed: objects that outlive static destruction still release their module.
  static ModuleTable& instance();

  // Loads the module (or reuses the loaded one) and counts one user. Null, with the reason, when
  // the file cannot be loaded or does not export DllGetClassObject; such a module is closed again
  // at once.
  void* acquire(const std::filesystem::path& file, std::string& reason);
  // Drops one user; with none left the module is asked whether it can go, and closed if so.
  void release(void* module);
  // Asks every loaded module without users whether it can go now.
  void freeUnused();

  GetClassObjectFn classObjectEntry(void* module);

 private:
  struct Module {
    GetClassObjectFn getClassObject = nullptr;
    CanUnloadNowFn canUnloadNow = nullptr;
    std::size_t users = 0;
  };

  ModuleTable() = default;
  void releaseLocked(void* module);
  bool unloadIfAllowedLocked(std::map<void*, Module>::iterator it);

  std::mutex mutex_;
  std::map<void*, Module> modules_;
  std::set<std::string> notServers_;  // files known to lack the class-object export
};

}  // namespace automation::detail
