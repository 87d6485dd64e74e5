#include "module_table.h"

#include <dlfcn.h>
#include <link.h>

#include <iterator>

namespace automation::detail {
namespace {

// True when `symbol` is defined by the module itself, not by a library it depends on (dlsym on
// a handle also searches the module's dependencies).
bool definedByModule(void* handle, void* symbol) {
  link_map* map = nullptr;
  if (::dlinfo(handle, RTLD_DI_LINKMAP, &map) != 0 || map == nullptr) return false;
  Dl_info info{};
  if (::dladdr(symbol, &info) == 0 || info.dli_fname == nullptr || map->l_name == nullptr) {
    return false;
  }
  return std::string(info.dli_fname) == map->l_name;
}

}  // namespace

ModuleTable& ModuleTable::instance() {
  static ModuleTable* const kTable = new ModuleTable();
  return *kTable;
}

void* ModuleTable::acquire(const std::filesystem::path& file, std::string& reason) {
  static constexpr const char* kNotAServer = "it does not export DllGetClassObject";
  const std::string name = file.string();
  std::lock_guard<std::mutex> lock(mutex_);
  if (notServers_.count(name) != 0) {
    reason = kNotAServer;
    return nullptr;
  }
  void* handle = ::dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* error = ::dlerror();
    reason = error != nullptr ? error : "it cannot be loaded";
    return nullptr;
  }
  if (auto it = modules_.find(handle); it != modules_.end()) {
    // Already loaded, perhaps under another name: keep the one reference the entry holds.
    ::dlclose(handle);
    ++it->second.users;
    return handle;
  }
  void* getClassObject = ::dlsym(handle, "DllGetClassObject");
  if (getClassObject == nullptr || !definedByModule(handle, getClassObject)) {
    ::dlclose(handle);
    notServers_.insert(name);
    reason = kNotAServer;
    return nullptr;
  }
  Module module;
  module.getClassObject = reinterpret_cast<GetClassObjectFn>(getClassObject);
  if (void* canUnload = ::dlsym(handle, "DllCanUnloadNow");
      canUnload != nullptr && definedByModule(handle, canUnload)) {
    module.canUnloadNow = reinterpret_cast<CanUnloadNowFn>(canUnload);
  }
  module.users = 1;
  modules_.emplace(handle, module);
  return handle;
}

void ModuleTable::release(void* module) {
  std::lock_guard<std::mutex> lock(mutex_);
  releaseLocked(module);
}

void ModuleTable::releaseLocked(void* module) {
  auto it = modules_.find(module);
  if (it == modules_.end() || it->second.users == 0) return;
  if (--it->second.users == 0) unloadIfAllowedLocked(it);
}

// A module without DllCanUnloadNow cannot say that it is unused, so it stays loaded.
bool ModuleTable::unloadIfAllowedLocked(std::map<void*, Module>::iterator it) {
  if (it->second.canUnloadNow == nullptr || it->second.canUnloadNow() != kSOk) return false;
  void* handle = it->first;
  modules_.erase(it);
  ::dlclose(handle);
  return true;
}

void ModuleTable::freeUnused() {
  std::lock_guard<std::mutex> lock(mutex_);
  for (auto it = modules_.begin(); it != modules_.end();) {
    auto next = std::next(it);
    if (it->second.users == 0) unloadIfAllowedLocked(it);
    it = next;
  }
}

GetClassObjectFn ModuleTable::classObjectEntry(void* module) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = modules_.find(module);
  return it != modules_.end() ? it->second.getClassObject : nullptr;
}

}  // namespace automation::detail
