#include <dlfcn.h>

#include <algorithm>
#include <system_error>
#include <utility>

#include "automation/server.h"
#include "module_table.h"

namespace automation {
namespace {

namespace fs = std::filesystem;

// Owns one object together with a use of the module whose code it runs: the object goes first,
// then the module may be unloaded.
struct ObjectHolder {
  ObjectHolder(std::shared_ptr<Dispatch> o, void* m) : object(std::move(o)), module(m) {}
  ObjectHolder(const ObjectHolder&) = delete;
  ObjectHolder& operator=(const ObjectHolder&) = delete;
  ~ObjectHolder() {
    object.reset();
    detail::ModuleTable::instance().release(module);
  }
  std::shared_ptr<Dispatch> object;
  void* module;
};

// Releases the module use unless the object took it over.
class ModuleUse {
 public:
  explicit ModuleUse(void* module) : module_(module) {}
  ModuleUse(const ModuleUse&) = delete;
  ModuleUse& operator=(const ModuleUse&) = delete;
  ~ModuleUse() {
    if (module_ != nullptr) detail::ModuleTable::instance().release(module_);
  }
  void* get() const { return module_; }
  void* take() { return std::exchange(module_, nullptr); }

 private:
  void* module_;
};

std::shared_ptr<Dispatch> instantiate(ModuleUse& use, ClassFactory& factory) {
  std::shared_ptr<Dispatch> object = factory.createInstance();
  if (!object) return nullptr;
  Dispatch* raw = object.get();
  auto holder = std::make_shared<ObjectHolder>(std::move(object), use.get());
  use.take();  // only now: had the holder not been made, the use is still released
  return std::shared_ptr<Dispatch>(std::move(holder), raw);
}

std::shared_ptr<Dispatch> createFromModule(const fs::path& file, const Guid& clsid) {
  auto& table = detail::ModuleTable::instance();
  ModuleUse use(table.acquire(file));
  if (use.get() == nullptr) return nullptr;
  const detail::GetClassObjectFn entry = table.classObjectEntry(use.get());
  ClassFactory* factory = nullptr;
  if (entry == nullptr || entry(&clsid, &factory) != kSOk || factory == nullptr) return nullptr;
  return instantiate(use, *factory);
}

fs::path ownDirectory() {
  Dl_info info{};
  if (::dladdr(reinterpret_cast<void*>(&ownDirectory), &info) == 0 || info.dli_fname == nullptr) {
    return {};
  }
  std::error_code ec;
  const fs::path self = fs::weakly_canonical(fs::path(info.dli_fname), ec);
  return ec ? fs::path() : self.parent_path();
}

std::vector<fs::path> searchDirectories() {
  std::vector<fs::path> dirs;
  std::error_code ec;
  for (const fs::path& dir : {ownDirectory(), fs::path(ZELK_BUILD_LIBDIR)}) {
    if (dir.empty()) continue;
    const fs::path canonical = fs::weakly_canonical(dir, ec);
    if (ec) continue;
    if (std::find(dirs.begin(), dirs.end(), canonical) == dirs.end()) dirs.push_back(canonical);
  }
  return dirs;
}

// lib*.so files, in name order so that the first provider found does not depend on the file
// system's listing order.
std::vector<fs::path> candidateModules(const fs::path& dir) {
  std::vector<fs::path> modules;
  std::error_code ec;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.size() <= 6 || name.rfind("lib", 0) != 0 || !name.ends_with(".so")) continue;
    if (name == "libzelk_automation.so") continue;
    std::error_code typeEc;
    if (!it->is_regular_file(typeEc)) continue;
    modules.push_back(it->path());
  }
  std::sort(modules.begin(), modules.end());
  return modules;
}

}  // namespace

std::shared_ptr<Dispatch> createObject(const Guid& clsid) {
  // A registered module that has gone missing or no longer provides the class does not stop
  // the search: the modules beside the library are tried as if it were not registered.
  if (const auto entry = Registry::find(clsid)) {
    if (auto object = createFromModule(entry->module, clsid)) return object;
  }
  auto& table = detail::ModuleTable::instance();
  ClassFactory* factory = nullptr;
  if (void* loaded = table.acquireLoadedProvider(clsid, factory)) {
    ModuleUse use(loaded);
    if (auto object = instantiate(use, *factory)) return object;
  }
  for (const fs::path& dir : searchDirectories()) {
    for (const fs::path& file : candidateModules(dir)) {
      if (auto object = createFromModule(file, clsid)) return object;
    }
  }
  throw AutomationError::standard(kErrCannotCreateObject);
}

std::shared_ptr<Dispatch> createObject(std::string_view progId) {
  const auto entry = Registry::findProgId(progId);
  if (!entry) throw AutomationError::standard(kErrCannotCreateObject);
  return createObject(entry->clsid);
}

void freeUnusedModules() { detail::ModuleTable::instance().freeUnused(); }

}  // namespace automation
