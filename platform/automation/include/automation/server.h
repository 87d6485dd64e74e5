// In-process servers: modules that create automation objects by class identifier.
//
// A server module is a shared library exporting, with C linkage:
//   std::int32_t DllGetClassObject(const automation::Guid* clsid,
//                                  automation::ClassFactory** factory);
//       S_OK (0) and a factory owned by the module, or kClassNotAvailable.
//   std::int32_t DllCanUnloadNow();  S_OK (0) when no object of the module is alive, else 1.
// Optional: DllRegisterServer / DllUnregisterServer (std::int32_t(void)).
//
// Which module makes an object of a class. The sources are tried in this order, and the first
// module that loads and provides the class makes it:
//   1. the registry named by $ZELK_REGISTRY, when that is an absolute path: a registry chosen on
//      purpose (a test's scratch registry, a developer trying another build);
//   2. the control modules shipped with this library, opened by their exact paths in the folder
//      this library was loaded from (ownModules()): a program uses the control that was built or
//      installed with it, whatever another installation registered;
//   3. the user's registry, $XDG_CONFIG_HOME/zelk/registry, else $HOME/.config/zelk/registry;
//   4. the system-wide registries, zelk/registry under each entry of $XDG_CONFIG_DIRS (else
//      /etc/xdg), which packages write with "zelk-regsvr --system".
// Only absolute values of those variables count, and only absolute module paths in a registry:
// a relative one would name whatever lies in the current folder. No other file is ever loaded:
// folders are not searched, and nothing is loaded to find out what it is. A registered module
// that is missing, does not load or does not provide the class is reported in one line on
// standard error (once per process), naming the module used instead, and the next source is
// tried; that is never fatal.
#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "automation/automation.h"

namespace automation {

constexpr std::int32_t kSOk = 0;
constexpr std::int32_t kSFalse = 1;
constexpr std::int32_t kClassNotAvailable = static_cast<std::int32_t>(0x80040111);

class ClassFactory {
 public:
  virtual ~ClassFactory();
  virtual std::shared_ptr<Dispatch> createInstance() = 0;
};

// Creates an object of the class from the first source above that provides it. The module stays
// loaded while any object it made is alive and is unloaded when it says it can be. Raises error
// 429 when no module provides the class.
std::shared_ptr<Dispatch> createObject(const Guid& clsid);
// The same for the class registered under a program identifier in the first registry (in the
// order above) that has it; error 429 when none has.
std::shared_ptr<Dispatch> createObject(std::string_view progId);

// Asks every loaded server module that no longer has objects here whether it can be unloaded
// now, and unloads those that agree (a module may refuse while objects of its own are alive).
void freeUnusedModules();

enum class ModuleSource { ExplicitRegistry, OwnModule, UserRegistry, SystemRegistry };

struct ModuleCandidate {
  ModuleSource source;
  std::filesystem::path module;
  std::filesystem::path registry;  // the registry that names it; empty for an own module
};

// The modules createObject tries for the class, in order, without loading any: a registry's entry
// for the class, and each own module that exists.
std::vector<ModuleCandidate> moduleCandidates(const Guid& clsid);

// The control modules shipped with this library, in its own folder; found by name, whether or
// not they exist. Empty when the library's own path is not known.
std::vector<std::filesystem::path> ownModules();

// The folder this library was loaded from, where the suite's own modules are installed; empty
// when its path is not known. A program loads its own modules from here by exact path.
std::filesystem::path ownModuleFolder();

struct RegistryEntry {
  Guid clsid;
  std::string progId;
  std::filesystem::path module;
};

struct RegistryFile {
  ModuleSource source;
  std::filesystem::path file;
};

// A registry file: one line per class, "{CLSID} ProgID /absolute/path/to/module.so", and named
// values (below). A class line whose module path is relative is ignored.
class Registry {
 public:
  // The registry that is written: $ZELK_REGISTRY when that is an absolute path, else the user's.
  // Empty when there is none: ZELK_REGISTRY set to a relative path (a registry chosen on purpose
  // but not usable: writing the user's instead would surprise), or no absolute configuration
  // folder.
  static std::filesystem::path path();
  // The registries that classes and program identifiers are looked up in, in order.
  static std::vector<RegistryFile> lookupOrder();
  static std::vector<RegistryEntry> load();  // the entries of path()
  static std::vector<RegistryEntry> load(const std::filesystem::path& file);
  // The first entry for the class, or for the program identifier (compared without regard to
  // case), in lookup order.
  static std::optional<RegistryEntry> find(const Guid& clsid);
  static std::optional<RegistryEntry> findProgId(std::string_view progId);
  static bool add(const RegistryEntry& entry);  // replaces an entry with the same clsid
  static bool remove(const Guid& clsid);

  // Named string values under keys in path(), one line each: "[Key\\Path] Name=Value". Key paths
  // compare without regard to case, as do names.
  static std::optional<std::string> value(std::string_view key, std::string_view name);
};

// A batch of changes to the registry file, path(), that lands whole or not at all. The file is
// read once and written once, beside the old one and renamed over it, keeping its mode; a file
// that cannot be read, holds binary data, belongs to another user or cannot be written is left as
// it was and commit() fails. Writers take a lock on the registry's folder and give up, saying so,
// when another process holds it longer than the wait (10 s unless set).
class RegistryEdit {
 public:
  RegistryEdit& addClass(RegistryEntry entry);  // replaces an entry with the same clsid
  RegistryEdit& removeClass(const Guid& clsid);
  RegistryEdit& setValue(std::string key, std::string name, std::string value);
  RegistryEdit& removeKey(std::string key);  // its values and those of every key below it
  RegistryEdit& waitForLock(std::chrono::milliseconds wait);
  bool commit();

 private:
  struct Change {
    enum Kind { AddClass, RemoveClass, SetValue, RemoveKey } kind;
    RegistryEntry entry;
    std::string key, name, value;
  };
  std::vector<Change> changes_;
  std::chrono::milliseconds lockWait_{10000};
};

}  // namespace automation
