#include <mutex>
#include <set>
#include <string>
#include <system_error>
#include <utility>

#include "automation/server.h"
#include "file_text.h"
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

constexpr std::string_view kNotProvided = "it does not provide the class";

// Null, with the reason, when the module cannot be loaded or does not provide the class.
std::shared_ptr<Dispatch> createFromModule(const fs::path& file, const Guid& clsid,
                                           std::string& reason) {
  std::error_code ec;
  if (!fs::exists(file, ec)) {
    reason = "there is no such file";
    return nullptr;
  }
  auto& table = detail::ModuleTable::instance();
  ModuleUse use(table.acquire(file, reason));
  if (use.get() == nullptr) return nullptr;
  const detail::GetClassObjectFn entry = table.classObjectEntry(use.get());
  ClassFactory* factory = nullptr;
  if (entry == nullptr || entry(&clsid, &factory) != kSOk || factory == nullptr) {
    reason = kNotProvided;
    return nullptr;
  }
  auto object = instantiate(use, *factory);
  if (!object) reason = "it made no object of the class";
  return object;
}

struct Failure {
  ModuleCandidate candidate;
  std::string reason;
};

// One line for each module that should have served the class and did not, once per process: a
// program that creates many objects says it once.
void reportFailures(const Guid& clsid, const std::vector<Failure>& failures, const fs::path& used) {
  static std::mutex mutex;
  static std::set<std::string> reported;
  const std::string classText = clsid.toString();
  const std::string outcome =
      used.empty() ? "no other module provides the class" : "using " + used.string();
  std::lock_guard<std::mutex> lock(mutex);
  for (const Failure& failure : failures) {
    const ModuleCandidate& c = failure.candidate;
    if (!reported.insert(c.module.string() + " " + classText).second) continue;
    const std::string what = c.source == ModuleSource::OwnModule
                                 ? "the module " + c.module.string() + " shipped with this program"
                                 : "the registered module " + c.module.string();
    const std::string where =
        c.source == ModuleSource::OwnModule ? "" : "; registered in " + c.registry.string();
    detail::reportProblem(what + " for class " + classText + " could not be loaded (" +
                          failure.reason + where + "); " + outcome);
  }
}

}  // namespace

std::shared_ptr<Dispatch> createObject(const Guid& clsid) {
  std::vector<Failure> failures;
  for (const ModuleCandidate& candidate : moduleCandidates(clsid)) {
    std::string reason;
    if (auto object = createFromModule(candidate.module, clsid, reason)) {
      reportFailures(clsid, failures, candidate.module);
      return object;
    }
    // An own module that simply lacks the class is asked as a matter of course: no news.
    if (candidate.source != ModuleSource::OwnModule || reason != kNotProvided) {
      failures.push_back({candidate, reason});
    }
  }
  reportFailures(clsid, failures, {});
  throw AutomationError::standard(kErrCannotCreateObject);
}

std::shared_ptr<Dispatch> createObject(std::string_view progId) {
  const auto entry = Registry::findProgId(progId);
  if (!entry) throw AutomationError::standard(kErrCannotCreateObject);
  return createObject(entry->clsid);
}

void freeUnusedModules() { detail::ModuleTable::instance().freeUnused(); }

}  // namespace automation
